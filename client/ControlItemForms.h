// Forms of tree items, toolbar buttons, list-box items and status-bar panes
// made from what a controller knows about an item, without a recording:
//
//   LocateItem(client, tree, kItemKindTree, 0, TreeItemForm({"Projects", "Alpha", "Notes"}),
//              SearchArgument(SearchStrategy::kPathFirst));
//   LocateItem(client, toolbar, kItemKindToolbar, 0, ToolbarButtonForm(40001), SearchArgument());
//   LocateItem(client, list, kItemKindListBox, 0, ListBoxItemForm("Apple"), SearchArgument());
//   LocateItem(client, status, kItemKindStatusBar, 0, StatusBarPaneForm(2), SearchArgument());
#pragma once
#include <string>
#include <vector>

#include "client/LocatorForm.h"

// A tree item by its path of texts, root first: the last text is the
// item's own, those before it its ancestors'. The image is the item's
// (ancestor images are not compared). An item whose image is not known is
// best located with the path first (SearchStrategy::kPathFirst): an item with the text and
// another image is then taken below the path's last ancestor.
LocatorForm TreeItemForm(const std::vector<std::string>& path, int image = 0);
// A toolbar button by its command identifier.
LocatorForm ToolbarButtonForm(int command);
// A list-box item by its text (exact, else prefix, case-insensitive); the
// index only breaks ties between items with the text. Without a text the
// item is found by its index alone.
LocatorForm ListBoxItemForm(const std::string& text, int index = -1);
// A status-bar pane by its number, counted from 0.
LocatorForm StatusBarPaneForm(int pane);
