// The frame's menu bar: File, Edit, View, (Tools), Help.
#pragma once
#include <windows.h>
#include <string>

class CSampleMenuBar {
public:
    static HMENU Build(bool withTools);
    // Inserts or removes the Tools menu before Help; redraws the bar.
    static void ToggleTools(HWND frame);
    // Renames the menu-bar item at the position; false when there is none.
    static bool Rename(HWND frame, int position, const std::string& text);
};
