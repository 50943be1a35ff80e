// The cost of reading every item of one of the sample's own controls from
// inside its process, with the same messages the agent's item listing
// sends for each item: the floor against which a listing through the agent
// is measured.
#pragma once
#include <windows.h>

// Reads every item of control (a list view, a tree view -- every node --
// or a list box of this process) and returns the microseconds it took; 0
// for another window.
LRESULT TimeOwnItemReads(HWND control);
