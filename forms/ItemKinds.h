// The registry of item kinds: everything said about a kind is its row.
//
// Row: X(code, Id, LocatorClass, Fields, member, "name", "noun", "classes", "control", base description)
//   code          the kind's code on the wire (ItemKind kItemKind<Id>)
//   LocatorClass  the agent's locator; only the agent's factory expands it
//   Fields        the kind's own fields of the form (forms/<Id>ItemForm.h),
//                 which also say how a form is made from what a person knows
//                 (Fields::FromKnown, forms/KnownItem.h)
//   member        the member of the controller's LocatorForm holding them
//   "name"        the name a person types
//   "noun"        what one item is called ("list-view item")
//   "classes"     the window classes of the controls the kind serves, each
//                 ended by "\0" ("ListBox\0ComboLBox\0"; a class that begins
//                 with a digit starts a literal of its own: "\0" "1Class");
//                 "" for a kind that serves windows of any class (menu bar,
//                 accessible objects).
//                 The agent's class checks, the controller's choice of kind
//                 by class and the tool read them from here.
//   "control"     what such a control is called ("list view"); "" with no classes
//   base description  how an item of a kind whose form describes nothing
//                 itself is described ("a toolbar item"); nullptr for none
//
// Adding a kind: its row here, its form header in forms/, its locator pair
// in locators/ and its test file (README.md, "Adding an item kind").
#pragma once
#include <cstddef>
#include <cstring>
#include <string>

#include "forms/ItemFormBase.h"
#include "forms/AccessibleItemForm.h"
#include "forms/ListBoxItemForm.h"
#include "forms/ListViewItemForm.h"
#include "forms/MenuBarItemForm.h"
#include "forms/PopupMenuItemForm.h"
#include "forms/ScrollingAccessibleItemForm.h"
#include "forms/SearchArgument.h"
#include "forms/TabItemForm.h"
#include "forms/ToolbarItemForm.h"
#include "forms/TreeItemForm.h"

// clang-format off
#define VINTREL_ITEM_KINDS(X)                                                                                          \
    X(3, MenuBar, CMenuBarItemLocator, MenuBarItemFields, menuBar, "menubar", "menu-bar item",                         \
      "", "", "a caption window item")                                                                                 \
    X(4, Toolbar, CToolbarItemLocator, ToolbarItemFields, toolbar, "toolbar", "toolbar button",                        \
      "ToolbarWindow32\0", "toolbar", "a toolbar item")                                                                \
    X(6, PopupMenu, CPopupMenuItemLocator, PopupMenuItemFields, popupMenu, "popup", "popup-menu item",                 \
      "#32768\0", "popup menu", "a popup menu item")                                                                   \
    X(7, ListView, CListViewItemLocator, ListViewItemFields, listView, "listview", "list-view item",                   \
      "SysListView32\0", "list view", nullptr)                                                                         \
    X(8, Tree, CTreeItemLocator, TreeItemFields, tree, "tree", "tree item",                                            \
      "SysTreeView32\0", "tree view", nullptr)                                                                         \
    X(9, ListBox, CListBoxItemLocator, ListBoxItemFields, listBox, "listbox", "list-box item",                         \
      "ListBox\0ComboLBox\0", "list box", nullptr)                                                                     \
    X(10, Tab, CTabItemLocator, TabItemFields, tab, "tab", "tab",                                                      \
      "SysTabControl32\0", "tab control", nullptr)                                                                     \
    X(11, StatusBar, CStatusBarItemLocator, StatusBarItemFields, statusBar, "statusbar", "status-bar pane",            \
      "msctls_statusbar32\0", "status bar", "a status bar item")                                                       \
    X(12, Accessible, CAccessibleItemLocator, AccessibleItemFields, accessible, "accessible", "accessible object",     \
      "", "", nullptr)                                                                                                 \
    X(13, ScrollingAccessible, CScrollingAccessibleItemLocator, ScrollingAccessibleItemFields, scrollingAccessible,    \
      "scrolling-accessible", "accessible object brought into view", "", "", nullptr)
// clang-format on

// Kind codes (5 has no kind).
enum ItemKind {
#define VINTREL_KIND_ENUM(code, Id, ...) kItemKind##Id = code,
    VINTREL_ITEM_KINDS(VINTREL_KIND_ENUM)
#undef VINTREL_KIND_ENUM
};

struct ItemKindInfo {
    int nCode;
    const char* pszName;     // as a person types it
    const char* pszNoun;     // "list-view item"
    const char* pszClasses;  // each class ended by '\0'; empty: any window
    const char* pszControl;  // "list view"
    const char* pszBaseDescription;

    // The classes one by one:
    //   for (const char* p = kind.pszClasses; *p; p = kind.NextClass(p))
    static const char* NextClass(const char* pszClass) { return pszClass + std::strlen(pszClass) + 1; }
    bool ServesAnyWindow() const { return *pszClasses == '\0'; }
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
// The kind that serves controls of the class (the whole name, compared
// without regard to case); nullptr when none does.
const ItemKindInfo* FindItemKindOfClass(const char* pszClassName);
