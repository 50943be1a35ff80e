// The run-time binding of OLEACC.DLL: bound once per process, on the first
// construction of an accessible item, and never freed. Every user tests the
// pointer it needs; a process without the library finds nothing.
#pragma once
#include <windows.h>
#include <oleacc.h>

struct AccessibilityLibrary {
    typedef HRESULT(WINAPI* ObjectFromWindowFn)(HWND, DWORD, REFIID, void**);
    typedef HRESULT(WINAPI* ChildrenFn)(IAccessible*, LONG, LONG, VARIANT*, LONG*);
    typedef UINT(WINAPI* RoleTextFn)(DWORD, LPSTR, UINT);
    typedef HRESULT(WINAPI* ObjectFromPointFn)(POINT, IAccessible**, VARIANT*);
    typedef UINT(WINAPI* StateTextFn)(DWORD, LPSTR, UINT);
    typedef HRESULT(WINAPI* WindowFromObjectFn)(IAccessible*, HWND*);

    ObjectFromWindowFn pfnAccessibleObjectFromWindow;
    ChildrenFn pfnAccessibleChildren;
    RoleTextFn pfnGetRoleTextA;
    ObjectFromPointFn pfnAccessibleObjectFromPoint;
    StateTextFn pfnGetStateTextA;  // bound, never called
    WindowFromObjectFn pfnWindowFromAccessibleObject;
};

// 1 after the first binding attempt, whether it succeeded or not.
extern BYTE g_bAccLibraryTried;
// The bound functions; NULL where the library or the export is missing.
extern AccessibilityLibrary g_accLibrary;

// Binds the library the first time it is called in the process.
void LoadAccessibilityLibrary();
