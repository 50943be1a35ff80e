// Forms of the popup-menu item (kind 6) and of the accessible kinds (12,
// 13) made from what a controller knows without a recording, and the
// display of a popup item's path.
//
//   LocatorForm save = PopupMenuItemForm(40003, true);   // in the menu bar
//   LocatorForm ok = AccessibleItemForm("OK", "push button (Button)", 2, 0);
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "client/LocatorForm.h"

// A popup-menu item by command identifier; with useMenuBar the agent
// searches the request window's menu bar instead of the given menu.
LocatorForm PopupMenuItemForm(uint32_t commandId, bool useMenuBar = false);

// An accessible object by role text, name, depth below the window's object,
// child count and description (version 2, role index not known).
LocatorForm AccessibleItemForm(const std::string& name, const std::string& role, int level, int childCount,
                               const std::string& description = std::string());
// The same for an object to be brought into view (kind 13).
LocatorForm ScrollingAccessibleItemForm(const std::string& name, const std::string& role, int level, int childCount,
                                        const std::string& description = std::string());

// "2@0x00020058 0@0x0001005C": position and menu of each step, root first.
std::string PopupPathText(const std::vector<PopupMenuStep>& path);
