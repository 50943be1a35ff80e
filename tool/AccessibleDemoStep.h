// The demo's step for the accessibility window of the sample: records an
// accessible object, an object of the scrolling area and a popup-menu item,
// restarts the sample with the area scrolled so that the object lies out of
// view, finds all three again (the scrolled one brought into view by the
// proxy's clicks) and saves pictures of both runs.
#pragma once
#include <string>

// Prints one line per item; returns the number of items not found again,
// or -1 when the step could not run (the reason in *error).
int RunAccessibleDemoStep(const std::string& dir, std::string* error);
