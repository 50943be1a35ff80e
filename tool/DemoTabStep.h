// The demo's tab step: records a tab of the sample's watch window, has the
// sample reverse its tabs, finds the tab again and saves both pictures.
#pragma once
#include <string>

// Prints its own lines; false (with *error) when a step failed.
bool RunDemoTabStep(const std::string& dir, std::string* error);
