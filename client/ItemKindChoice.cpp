#include "client/ItemKindChoice.h"

#include "forms/ItemKinds.h"
#include "windows/WindowFunctions.h"

namespace {

std::string ClassOf(HWND hwnd) {
    char szName[257] = {0};
    GetWindowClassName(hwnd, szName, 256);
    return szName;
}

int KindOfClass(const std::string& className) {
    const ItemKindInfo* pKind = FindItemKindOfClass(className.c_str());
    return pKind ? pKind->nCode : 0;
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

}  // namespace

HWND WindowAtPoint(POINT screen) {
    HWND hwnd = WindowFromPoint(screen);
    // WindowFromPoint stops at disabled children and static controls'
    // parents; walk down to the deepest visible child under the point.
    for (int depth = 0; hwnd && depth < 64; ++depth) {
        POINT client = screen;
        ScreenToClient(hwnd, &client);
        HWND child = ChildWindowFromPointEx(hwnd, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
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
    } else if (!pKind->ServesAnyWindow()) {
        const std::string className = ClassOf(hwnd);
        if (KindOfClass(className) != kind) {
            why = "the window is no " + std::string(pKind->pszControl) + " (class " + className + ")";
        }
    }
    if (pWhy) *pWhy = why;
    return why.empty();
}
