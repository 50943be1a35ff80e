// The functions over IAccessible (see AccessibleFunctions.h).
#include "accessibility/AccessibleFunctions.h"

#include <string>

#include "accessibility/AccessibilityLibrary.h"
#include "forms/WireCursor.h"
#include "windows/WindowFunctions.h"

namespace {

void CopyCut(std::string text, char* pszDest, int nDestSize) {
    if (!pszDest || nDestSize < 1) return;
    CutAnsiText(text, static_cast<size_t>(nDestSize - 1));
    lstrcpynA(pszDest, text.c_str(), nDestSize);
}

std::string WideToAnsi(const wchar_t* pszWide) {
    if (!pszWide || !*pszWide) return std::string();
    const int nSize = WideCharToMultiByte(CP_ACP, 0, pszWide, -1, nullptr, 0, nullptr, nullptr);
    if (nSize <= 1) return std::string();
    std::string ansi(static_cast<size_t>(nSize), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, pszWide, -1, &ansi[0], nSize, nullptr, nullptr) <= 0) return std::string();
    ansi.resize(static_cast<size_t>(nSize - 1));
    return ansi;
}

// Role name, blank, the holding window's class in parentheses.
std::string NumericRoleText(IAccessible* pAcc, long nChildId, DWORD dwRole) {
    std::string text;
    if (g_accLibrary.pfnGetRoleTextA) {
        char szRole[kAccTextSize] = {0};
        g_accLibrary.pfnGetRoleTextA(dwRole, szRole, kAccTextSize);
        szRole[kAccTextSize - 1] = '\0';
        text = szRole;
    }
    TComPtr<IAccessible> child = GetChildObject(pAcc, nChildId);
    IAccessible* pHolder = child ? child.Get() : pAcc;
    HWND hwnd = nullptr;
    HRESULT hr = E_FAIL;
    if (g_accLibrary.pfnWindowFromAccessibleObject) hr = g_accLibrary.pfnWindowFromAccessibleObject(pHolder, &hwnd);
    if (SUCCEEDED(hr) && hwnd) {
        char szClass[kAccClassNameMax + 1] = {0};
        GetWindowClassName(hwnd, szClass, kAccClassNameMax);
        text += " (";
        text += szClass;
        text += ")";
    }
    return text;
}

}  // namespace

void CopyWideText(const wchar_t* pszWide, char* pszDest, int nDestSize) { CopyCut(WideToAnsi(pszWide), pszDest, nDestSize); }

TComPtr<IAccessible> AccessibleAtCursor(COwnedVariant& child, HRESULT* phr) {
    POINT point = {0, 0};
    GetCursorPos(&point);
    VARIANT* pChild = child.Put();
    TComPtr<IAccessible> object;
    HRESULT hr = E_FAIL;
    if (g_accLibrary.pfnAccessibleObjectFromPoint) hr = g_accLibrary.pfnAccessibleObjectFromPoint(point, object.Put(), pChild);
    if (phr) *phr = hr;
    if (FAILED(hr)) object.Reset();
    return object;
}

RECT* GetAccessibleRect(RECT* pRect, IAccessible* pAcc, long nChildId) {
    SetRectEmpty(pRect);
    if (!pAcc) return pRect;
    long left = 0, top = 0, width = 0, height = 0;
    if (SUCCEEDED(pAcc->accLocation(&left, &top, &width, &height, ChildVariant(nChildId)))) {
        pRect->left = left;
        pRect->top = top;
        pRect->right = left + width;
        pRect->bottom = top + height;
    }
    return pRect;
}

RECT AccessibleRect(IAccessible* pAcc, long nChildId) {
    RECT rect;
    GetAccessibleRect(&rect, pAcc, nChildId);
    return rect;
}

TComPtr<IAccessible> GetChildObject(IAccessible* pAcc, long nChildId) {
    TComPtr<IAccessible> child;
    if (!pAcc) return child;
    TComPtr<IDispatch> dispatch;
    if (SUCCEEDED(pAcc->get_accChild(ChildVariant(nChildId), dispatch.Put())) && dispatch) {
        dispatch->QueryInterface(kIidAccessible, child.PutVoid());
    }
    return child;
}

TComPtr<IAccessible> AccessibleOfWindow(HWND hwnd) {
    TComPtr<IAccessible> object;
    if (!g_accLibrary.pfnAccessibleObjectFromWindow || !IsWindow(hwnd)) return object;
    if (FAILED(g_accLibrary.pfnAccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_WINDOW), kIidAccessible,
                                                          object.PutVoid()))) {
        object.Reset();
    }
    return object;
}

long AccessibleChildCount(IAccessible* pAcc) {
    long nCount = 0;
    if (!pAcc || FAILED(pAcc->get_accChildCount(&nCount)) || nCount < 0) return 0;
    return nCount;
}

void GetAccessibleText(IAccessible* pAcc, long nChildId, int nField, char* pszDest, int nDestSize) {
    if (!pszDest || nDestSize < 1) return;
    pszDest[0] = '\0';
    if (!pAcc) return;
    const VARIANT child = ChildVariant(nChildId);
    if (nField == AccRoleText) {
        COwnedVariant role;
        if (FAILED(pAcc->get_accRole(child, role.Put()))) return;
        if (role.Type() == VT_I4) {
            CopyCut(NumericRoleText(pAcc, nChildId, static_cast<DWORD>(role.Get().lVal)), pszDest, nDestSize);
        } else if (role.Type() == VT_BSTR) {
            CopyWideText(role.Get().bstrVal, pszDest, nDestSize);
        }
        return;
    }
    COwnedBstr text;
    HRESULT hr = E_INVALIDARG;
    switch (nField) {
    case AccName: hr = pAcc->get_accName(child, text.Put()); break;
    case AccDescription: hr = pAcc->get_accDescription(child, text.Put()); break;
    case AccValue: hr = pAcc->get_accValue(child, text.Put()); break;
    default: return;
    }
    if (FAILED(hr)) return;
    CopyWideText(text.Get(), pszDest, nDestSize);
}
