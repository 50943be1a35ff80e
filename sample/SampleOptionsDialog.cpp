#include "sample/SampleOptionsDialog.h"

#include <cstring>
#include <vector>

#include "sample/SampleProtocol.h"

namespace {

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

HWND CSampleOptionsDialog::Create(HWND owner, int x, int y) {
    // DLGTEMPLATE, then the menu (none), the class (default) and the title
    // as UTF-16; no items: the controls are made in WM_INITDIALOG.
    std::vector<WORD> buffer(sizeof(DLGTEMPLATE) / sizeof(WORD) + 64, 0);
    DLGTEMPLATE* t = reinterpret_cast<DLGTEMPLATE*>(buffer.data());
    t->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    t->cdit = 0;
    t->x = 0;
    t->y = 0;
    t->cx = 180;
    t->cy = 120;
    WORD* p = reinterpret_cast<WORD*>(t + 1);
    *p++ = 0;  // menu
    *p++ = 0;  // class
    for (const char* c = sample::kDialogTitle; *c; ++c) *p++ = static_cast<WORD>(*c);
    *p++ = 0;
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), t, owner, DialogProc, 0);
    if (dialog) SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return dialog;
}

INT_PTR CALLBACK CSampleOptionsDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        Child(hwnd, "BUTTON", "&Apply", BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 90, 26, sample::kDialogButtonId);
        Child(hwnd, "EDIT", "Name", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 10, 46, 200, 24,
              sample::kDialogEditId);
        HWND list = Child(hwnd, "LISTBOX", "", WS_BORDER | WS_VSCROLL | LBS_NOTIFY | WS_TABSTOP, 10, 80, 200, 90,
                          sample::kDialogListId);
        for (const char* s : {"Alpha", "Beta", "Gamma", "Delta"}) {
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        }
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            ShowWindow(hwnd, SW_HIDE);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
