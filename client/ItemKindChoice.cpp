#include "client/ItemKindChoice.h"

#include "forms/ItemKinds.h"
#include "windows/WindowFunctions.h"

namespace {

struct ClassKind {
    const char* pszClass;
    int nKind;
    const char* pszControl;
};

// The standard controls and the kinds that search them.
const ClassKind kClassKinds[] = {
    {"SysListView32", kItemKindListView, "list view"},
    {"SysTreeView32", kItemKindTree, "tree view"},
    {"SysTabControl32", kItemKindTab, "tab control"},
    {"ToolbarWindow32", kItemKindToolbar, "toolbar"},
    {"ListBox", kItemKindListBox, "list box"},
    {"ComboLBox", kItemKindListBox, "list box"},
    {"msctls_statusbar32", kItemKindStatusBar, "status bar"},
    {"#32768", kItemKindPopupMenu, "popup menu"},
};

const char* ControlOfKind(int kind) {
    for (const ClassKind& entry : kClassKinds) {
        if (entry.nKind == kind) return entry.pszControl;
    }
    return "window of that kind";
}

std::string ClassOf(HWND hwnd) {
    char szName[257] = {0};
    GetWindowClassName(hwnd, szName, 256);
    return szName;
}

int KindOfClass(const std::string& className) {
    for (const ClassKind& entry : kClassKinds) {
        if (lstrcmpiA(entry.pszClass, className.c_str()) == 0) return entry.nKind;
    }
    return 0;
}

// The window whose menu bar lies under the point, if any.
HWND MenuBarOwnerAt(HWND hwnd, POINT screen) {
    HWND top = GetAncestor(hwnd, GA_ROOT);
    if (!top) return nullptr;
    DWORD_PTR hit = 0;
    if (!SendMessageTimeoutA(top, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y), SMTO_ABORTIFHUNG, 1000, &hit)) {
        return nullptr;
    }
    return hit == HTMENU ? top : nullptr;
}

// A window that lets the mouse through to what lies beneath it at the
// point: it answers HTTRANSPARENT to the hit test (group boxes, static
// texts) or has WS_EX_TRANSPARENT. A window that does not answer in time
// counts as solid.
bool IsTransparentAt(HWND hwnd, POINT screen) {
    if (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT) return true;
    DWORD_PTR hit = 0;
    if (!SendMessageTimeoutA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y), SMTO_ABORTIFHUNG, 1000, &hit)) {
        return false;
    }
    return static_cast<LONG_PTR>(hit) == HTTRANSPARENT;
}

// The child of parent under the point, as the platform finds it for the
// mouse: the topmost visible child there that does not let the mouse
// through. When every child there does, the topmost of them: a static text
// or a group box with nothing beneath is what a person points at. nullptr
// when no child is there (or the point lies outside the client area, where
// children are clipped).
HWND ChildAtPoint(HWND parent, POINT screen) {
    POINT client = screen;
    RECT area;
    if (!ScreenToClient(parent, &client) || !GetClientRect(parent, &area) || !PtInRect(&area, client)) return nullptr;
    HWND firstTransparent = nullptr;
    HWND child = GetWindow(parent, GW_CHILD);
    for (int n = 0; child && n < 100000; ++n, child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        if (!IsWindowVisible(child) || !GetWindowRect(child, &rect) || !PtInRect(&rect, screen)) continue;
        if (!IsTransparentAt(child, screen)) return child;
        if (!firstTransparent) firstTransparent = child;
    }
    return firstTransparent;
}

}  // namespace

HWND WindowAtPoint(POINT screen) {
    HWND hwnd = WindowFromPoint(screen);
    if (!hwnd) return nullptr;
    // WindowFromPoint of another process's windows may stop at a window
    // that lets the mouse through (a group box over a list view), or above
    // a disabled child or a static text: start again from the top-level
    // window and go down the way the mouse does.
    HWND top = GetAncestor(hwnd, GA_ROOT);
    if (top) hwnd = top;
    for (int depth = 0; depth < 64; ++depth) {
        HWND child = ChildAtPoint(hwnd, screen);
        if (!child || child == hwnd) break;
        hwnd = child;
    }
    return hwnd;
}

int ChooseItemKind(HWND hwnd, const POINT* pScreen, HWND* pTarget) {
    if (pTarget) *pTarget = hwnd;
    const int nKind = KindOfClass(ClassOf(hwnd));
    if (nKind) return nKind;
    if (pScreen) {
        HWND owner = MenuBarOwnerAt(hwnd, *pScreen);
        if (owner) {
            if (pTarget) *pTarget = owner;
            return kItemKindMenuBar;
        }
    } else if (!(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) && GetMenu(hwnd)) {
        return kItemKindMenuBar;
    }
    return kItemKindAccessible;
}

bool KindFitsWindow(int kind, HWND hwnd, std::string* pWhy) {
    const ItemKindInfo* pKind = FindItemKind(kind);
    std::string why;
    if (!pKind) {
        why = std::to_string(kind) + " is no item kind";
    } else if (!IsWindow(hwnd)) {
        why = "there is no such window";
    } else if (kind == kItemKindMenuBar) {
        if ((GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) || !GetMenu(hwnd)) {
            why = "the window has no menu bar (class " + ClassOf(hwnd) + ")";
        }
    } else if (kind != kItemKindAccessible && kind != kItemKindScrollingAccessible) {
        const std::string className = ClassOf(hwnd);
        if (KindOfClass(className) != kind) {
            why = "the window is no " + std::string(ControlOfKind(kind)) + " (class " + className + ")";
        }
    }
    if (pWhy) *pWhy = why;
    return why.empty();
}
