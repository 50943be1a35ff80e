// The registry of item kinds: for each kind its code on the wire, the
// agent's locator class, the fields of its form, the name of those fields in
// the controller's LocatorForm, the name a person types, and the noun that
// describes one item. Adding a kind is one row here, one form header and one
// locator source pair.
//
// Row: X(code, Id, LocatorClass, Fields, member, "name", "noun")
// The agent's factory is the only place that expands LocatorClass.
#pragma once
#include <string>

#include "forms/ItemFormBase.h"
#include "forms/AccessibleItemForm.h"
#include "forms/ListBoxItemForm.h"
#include "forms/ListViewItemForm.h"
#include "forms/MenuBarItemForm.h"
#include "forms/PopupMenuItemForm.h"
#include "forms/ScrollingAccessibleItemForm.h"
#include "forms/TabItemForm.h"
#include "forms/ToolbarItemForm.h"
#include "forms/TreeItemForm.h"

#define VINTREL_ITEM_KINDS(X)                                                                                    \
    X(3, MenuBar, CMenuBarItemLocator, MenuBarItemFields, menuBar, "menubar", "menu-bar item")                  \
    X(4, Toolbar, CToolbarItemLocator, ToolbarItemFields, toolbar, "toolbar", "toolbar button")                 \
    X(6, PopupMenu, CPopupMenuItemLocator, PopupMenuItemFields, popupMenu, "popup", "popup-menu item")          \
    X(7, ListView, CListViewItemLocator, ListViewItemFields, listView, "listview", "list-view item")             \
    X(8, Tree, CTreeItemLocator, TreeItemFields, tree, "tree", "tree item")                                     \
    X(9, ListBox, CListBoxItemLocator, ListBoxItemFields, listBox, "listbox", "list-box item")                  \
    X(10, Tab, CTabItemLocator, TabItemFields, tab, "tab", "tab")                                                \
    X(11, StatusBar, CStatusBarItemLocator, StatusBarItemFields, statusBar, "statusbar", "status-bar pane")     \
    X(12, Accessible, CAccessibleItemLocator, AccessibleItemFields, accessible, "accessible", "accessible object") \
    X(13, ScrollingAccessible, CScrollingAccessibleItemLocator, ScrollingAccessibleItemFields, scrollingAccessible, \
      "scrolling-accessible",                                                                                     \
      "accessible object brought into view")

// Kind codes (5 has no kind).
enum ItemKind {
#define VINTREL_KIND_ENUM(code, Id, Locator, Fields, member, name, noun) kItemKind##Id = code,
    VINTREL_ITEM_KINDS(VINTREL_KIND_ENUM)
#undef VINTREL_KIND_ENUM
};

struct ItemKindInfo {
    int nCode;
    const char* pszName;  // as a person types it
    const char* pszNoun;  // "list-view item"
};

// nullptr for a code that is no kind.
const ItemKindInfo* FindItemKind(int nCode);
// Takes a kind's name (case-insensitive) or its code as a number; nullptr for
// neither.
const ItemKindInfo* ParseItemKind(const std::string& text);
// Every kind, in code order; *pnCount receives their number.
const ItemKindInfo* AllItemKinds(size_t* pnCount);
// The kind's name, or its code as digits for a code that is no kind.
std::string ItemKindName(int nCode);
// The description of an item of a kind whose form describes nothing itself
// ("a toolbar item"); nullptr for kinds without one.
const char* BaseItemDescription(int nCode);
