// "Sample Options": a modeless dialog with a caption, owned by the frame,
// built from an in-memory template.
#pragma once
#include <windows.h>

class CSampleOptionsDialog {
public:
    static HWND Create(HWND owner, int x, int y);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
