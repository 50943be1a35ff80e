// The demo's tab step: points at and records a tab of the sample's watch
// window, has the sample reverse its tabs, finds the tab again and saves
// both pictures.
#pragma once
#include <string>

// Prints its own line; *pMissing grows by one when the tab is not found
// again. False (with *error) when the step could not run.
bool RunTabStep(const std::string& dir, int* pMissing, std::string* error);
