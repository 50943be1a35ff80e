// Window functions shared by the window description, the popup-menu item
// and the accessibility code: class names that compare equal between runs,
// the walk to a window's frame ancestor, and the desktop-wide search by class.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

// The window's class name, cut to nMax characters; pszBuffer holds nMax + 1
// bytes. A name that begins with "Afx" and has exactly five colons is cut
// right after its third colon: such names carry handles after it that change
// from run to run. An empty string when the class cannot be read.
void GetWindowClassName(HWND hwnd, char* pszBuffer, uint32_t nMax);

// The first window up the parent chain that has a caption or is not a child
// window, or the last window of the chain. nullptr (and *pDepth untouched) for
// a window that has a caption itself; nullptr with depth 0 for one without a
// parent. *pDepth receives the number of parent steps.
HWND FindFrameAncestor(HWND hwnd, uint16_t* pDepth);

// A window whose style has both caption bits (WS_CAPTION).
bool HasCaption(HWND hwnd);

// Number of descendant windows at any depth.
uint32_t CountDescendants(HWND hwnd);

// Sum of the title characters, as signed bytes, of the window's frame
// ancestor (or of the window itself when it has none); 0 for an empty title.
int32_t GetTitleChecksum(HWND hwnd);

// Appends every window of the desktop whose class name (as
// GetWindowClassName gives it) equals className, case-insensitively: first
// the matching top-level windows in enumeration order, then the matching
// descendants, grouped by their top-level window. Returns found's size.
int FindWindowsByClass(std::string className, std::vector<HWND>& found);
