// The functions over IAccessible that the accessible kinds and the
// popup-menu item share: the object under the cursor, an object's screen
// rectangle, its texts, the full child object behind a child identifier,
// the window's own object. Each goes through the run-time binding and finds
// nothing when the function it needs is not bound.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include "accessibility/AccessibleInterface.h"
#include "common/ComOwned.h"

// The object under the mouse cursor (always the cursor's position at the
// call), with the child identifier of the hit in child. Empty when there is
// none; *phr receives the call's result (E_FAIL without the binding).
TComPtr<IAccessible> AccessibleAtCursor(COwnedVariant& child, HRESULT* phr);

// The screen rectangle of the object or element; all zero when the object
// cannot tell.
RECT* GetAccessibleRect(RECT* pRect, IAccessible* pAcc, long nChildId);
RECT AccessibleRect(IAccessible* pAcc, long nChildId);

// The full child object behind the identifier; empty for a simple element.
TComPtr<IAccessible> GetChildObject(IAccessible* pAcc, long nChildId);

// The window's own object (OBJID_WINDOW); empty without one.
TComPtr<IAccessible> AccessibleOfWindow(HWND hwnd);

// The object's child count; 0 when it cannot be read.
long AccessibleChildCount(IAccessible* pAcc);

// One text field (AccName, AccRoleText, AccDescription, AccValue) of the
// object or element into pszDest; empty when it cannot be read. A text is
// cut to nDestSize - 1 bytes, never inside a double-byte character. The
// role text of a numeric role is the role's name followed by " (class)"
// with the class of the window that holds the object, when there is one.
void GetAccessibleText(IAccessible* pAcc, long nChildId, int nField, char* pszDest, int nDestSize);

// Copies a UTF-16 text into an ANSI buffer of nDestSize bytes, cut as above.
void CopyWideText(const wchar_t* pszWide, char* pszDest, int nDestSize);
