// The demo's step for the sample's frame: list-view items (one of them one
// of two "Twin"s) and menu-bar items, recorded by pointing at them, found
// again in the sample restarted with its items shuffled, its frame moved
// and its list scrolled (demo/ListAndMenuBarStep.cpp).
#pragma once
#include <string>

// Prints a table of the items; *pMissing grows by the number of items not
// found again. False (with *error) when the step could not run.
bool RunListAndMenuBarStep(const std::string& dir, int* pMissing, std::string* error);
