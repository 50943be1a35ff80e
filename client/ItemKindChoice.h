// Which window a person means by a point on the screen, which item kind the
// agent uses for a window, and whether a kind makes sense for a window at
// all -- so that a controller never sends a list-view request to a window
// that is no list view and takes the "no item" answer for a hit.
#pragma once
#include <windows.h>

#include <string>

// The deepest visible window under the screen point, as a person sees it
// (child windows included): at each level the topmost child there that
// does not let the mouse through (group boxes and static texts answer
// HTTRANSPARENT and yield to a sibling beneath them; with none beneath,
// they are taken); nullptr when there is none.
HWND WindowAtPoint(POINT screen);

// The kind for items of the window: by its class (list view, tree, tab,
// toolbar, list box, status bar, an open popup menu), the menu bar when the
// point (if given) lies on a window's menu bar, otherwise the accessible
// kind. *pTarget receives the window the request goes to (the window that
// owns the menu bar for menu-bar items, else hwnd).
int ChooseItemKind(HWND hwnd, const POINT* pScreen, HWND* pTarget);

// True when a request of kind makes sense for the window; otherwise *pWhy
// says why not ("the window is no list view (class Edit)").
bool KindFitsWindow(int kind, HWND hwnd, std::string* pWhy);
