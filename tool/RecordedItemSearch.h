// Finds what a record file holds again: the window among the windows of
// the desktop, then the item in it through the agent. Used by `find` and
// `click`.
#pragma once
#include <windows.h>

#include <string>

#include "client/ItemRequests.h"
#include "client/WindowMatcher.h"
#include "tool/ItemReport.h"

struct RecordedItemSearch {
    WindowDescriptionForm description;
    MatchResult match;
    LocateResult located;  // only when the record holds an item
    ItemReport item;       // the item where it is now (when found)

    // Exit code of the search: 0 found (the window, and the item when the
    // record holds one), 2 not found, 3 the window is ambiguous; 1 with
    // *pError on a failure.
    int Run(const std::string& path, unsigned nParam, std::string* pError);
    // The window's and the item's fields, and a person's lines.
    nlohmann::json Json(bool bWithForm) const;
    std::string Text(bool bWithForm) const;
};
