// The run-time binding of OLEACC.DLL: bound once per process, on the first
// construction of an accessible item, and never freed. Every user tests the
// pointer it needs; a process without the library finds nothing.
#pragma once
#include <windows.h>
#include <oleacc.h>

struct AccessibilityLibrary {
    using ObjectFromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    using ChildrenFn = HRESULT(WINAPI*)(IAccessible*, LONG, LONG, VARIANT*, LONG*);
    using RoleTextFn = UINT(WINAPI*)(DWORD, LPSTR, UINT);
    using ObjectFromPointFn = HRESULT(WINAPI*)(POINT, IAccessible**, VARIANT*);
    using StateTextFn = UINT(WINAPI*)(DWORD, LPSTR, UINT);
    using WindowFromObjectFn = HRESULT(WINAPI*)(IAccessible*, HWND*);

    ObjectFromWindowFn pfnAccessibleObjectFromWindow;
    ChildrenFn pfnAccessibleChildren;
    RoleTextFn pfnGetRoleTextA;
    ObjectFromPointFn pfnAccessibleObjectFromPoint;
    StateTextFn pfnGetStateTextA;  // bound, never called
    WindowFromObjectFn pfnWindowFromAccessibleObject;
};

// 1 after the first binding attempt, whether it succeeded or not.
extern BYTE g_bAccLibraryTried;
// The bound functions; nullptr where the library or the export is missing.
extern AccessibilityLibrary g_accLibrary;

// Binds the library the first time it is called in the process.
void LoadAccessibilityLibrary();
