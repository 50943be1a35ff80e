// Whether a window is a control of the kind a locator is made for. The
// toolbar, status-bar and tree-view messages lie in the range of messages
// that every window class defines for itself: sent to a window of another
// class, a message that carries a pointer to a record could be taken as one
// that writes something else there. So a locator sends them only to a
// window whose class name contains the name of a class its kind serves
// (forms/ItemKinds.h; superclasses that keep the name, such as
// "MyToolbarWindow32", pass).
#pragma once
#include <windows.h>

#include "forms/ItemKinds.h"

// Class names are compared without regard to case; false for a kind that
// names no class.
bool IsControlOfKind(HWND hwnd, int nKind);
