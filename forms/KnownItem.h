// What a person can say about an item without a recording of it, as the
// tool's options give it. Each kind's fields take what they need from it
// (Fields::FromKnown in the kind's form header); a kind that can only be
// found from a recording takes nothing and says so.
#pragma once
#include <string>
#include <vector>

struct KnownItem {
    std::string text;               // list-view and list-box items; a menu-bar item's, for display
    int index = 0;                  // list-view and list-box items
    int image = 0;                  // list-view and tree items
    int position = 0;               // menu-bar items
    std::vector<std::string> path;  // tree items: texts root first, the item's own last
    int command = 0;                // toolbar buttons
    int pane = 0;                   // status-bar panes, from 0
};
