// The text a toolbar of another process reports for a button: its own text
// or one of the toolbar's string pool (TB_GETBUTTONTEXT knows which; the
// button record's iString alone does not). A toolbar item's recorded form
// carries no text, so a controller that shows one asks the toolbar.
#pragma once
#include <windows.h>

#include <string>

// "" when the button has no text, there is no such button or the toolbar
// does not answer within timeoutMs.
std::string ReadToolbarButtonText(HWND toolbar, int command, DWORD timeoutMs = 2000);
