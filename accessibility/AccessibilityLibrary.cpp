// The run-time binding of OLEACC.DLL (see AccessibilityLibrary.h).
#include "accessibility/AccessibilityLibrary.h"

BYTE g_bAccLibraryTried = 0;
AccessibilityLibrary g_accLibrary = {};

namespace {
template <class TFunction>
void Bind(HMODULE hLibrary, const char* pszName, TFunction& pfn) {
    pfn = reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(hLibrary, pszName)));
}
}  // namespace

void LoadAccessibilityLibrary() {
    if (g_bAccLibraryTried) return;
    // The library stays loaded for the life of the process: its handle is
    // not kept.
    HMODULE hLibrary = LoadLibraryA("OLEACC.DLL");
    if (hLibrary) {
        Bind(hLibrary, "AccessibleObjectFromWindow", g_accLibrary.pfnAccessibleObjectFromWindow);
        Bind(hLibrary, "AccessibleChildren", g_accLibrary.pfnAccessibleChildren);
        Bind(hLibrary, "GetRoleTextA", g_accLibrary.pfnGetRoleTextA);
        Bind(hLibrary, "AccessibleObjectFromPoint", g_accLibrary.pfnAccessibleObjectFromPoint);
        Bind(hLibrary, "GetStateTextA", g_accLibrary.pfnGetStateTextA);
        Bind(hLibrary, "WindowFromAccessibleObject", g_accLibrary.pfnWindowFromAccessibleObject);
    }
    g_bAccLibraryTried = 1;
}
