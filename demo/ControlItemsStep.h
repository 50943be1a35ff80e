// The demo's step for tree items, toolbar buttons, list-box items and
// status-bar panes (demo/ControlItemsStep.cpp).
#pragma once
#include <string>

// Records an item of each of the four kinds in the sample's items window,
// restarts the sample changed (tree reordered and collapsed, buttons
// reordered, list scrolled, pane texts changed), finds each again, prints a
// table and saves pictures of both runs into dir. *pMissing grows by the
// number of items not found again. False (with *error) when the step could
// not run at all.
bool RunControlItemsStep(const std::string& dir, int* pMissing, std::string* error);
