// The demo's steps for tree items, toolbar buttons, list-box items and
// status-bar panes (tool/DemoControls.cpp).
#pragma once
#include <string>

// Records an item of each of the four kinds in the sample's items window,
// restarts the sample changed (tree reordered and collapsed, buttons
// reordered, list scrolled, pane texts changed), finds each again, prints a
// table and saves pictures of both runs into dir. *pMissing receives the
// number of items not found again. False (with *error) when the demo could
// not run at all.
bool RunControlItemsDemo(const std::string& dir, int* pMissing, std::string* error);
