// The demo's step for the accessibility window of the sample: points at
// and records an accessible object, an object of the scrolling area and an
// item of the open popup menu, restarts the sample with the area scrolled
// so that the object lies out of view, finds all three again (the scrolled
// one brought into view by the proxy's clicks) and saves pictures of both
// runs.
#pragma once
#include <string>

// Prints one line per item; *pMissing grows by the number of items not
// found again. False (with *error) when the step could not run.
bool RunAccessibleStep(const std::string& dir, int* pMissing, std::string* error);
