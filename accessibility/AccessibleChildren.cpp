// The children of one accessible object (see AccessibleChildren.h).
#include "accessibility/AccessibleChildren.h"

#include <new>
#include <utility>

#include "accessibility/AccessibilityLibrary.h"
#include "accessibility/AccessibleFunctions.h"

CAccessibleChildren::CAccessibleChildren(IAccessible* pAcc, bool bRequireSuccess) : m_nCount(0) {
    const long nCount = AccessibleChildCount(pAcc);
    if (nCount <= 0 || nCount > kMaxChildren || !g_accLibrary.pfnAccessibleChildren) return;
    m_entries.reset(new (std::nothrow) COwnedVariant[static_cast<size_t>(nCount)]);
    if (!m_entries) return;
    // The owners lie in one array, each holding nothing but its VARIANT, so
    // that the call fills them in place.
    static_assert(sizeof(COwnedVariant) == sizeof(VARIANT), "an owned VARIANT is the VARIANT alone");
    long nObtained = 0;
    const HRESULT hr = g_accLibrary.pfnAccessibleChildren(pAcc, 0, nCount, &m_entries[0].Get(), &nObtained);
    if (nObtained != nCount || (bRequireSuccess && FAILED(hr))) {
        // Whatever came goes with the owners; the object has no children
        // for the walks.
        m_entries.reset();
        return;
    }
    m_nCount = static_cast<size_t>(nCount);
}

CAccessibleChildren::Entry CAccessibleChildren::Take(size_t i, TComPtr<IAccessible>& object, long& nChildId) {
    object.Reset();
    nChildId = 0;
    if (i >= m_nCount) return kOther;
    COwnedVariant entry(std::move(m_entries[i]));
    const VARIANT& v = entry.Get();
    if (v.vt == VT_DISPATCH && v.pdispVal) {
        if (SUCCEEDED(v.pdispVal->QueryInterface(kIidAccessible, object.PutVoid())) && object) return kObject;
    } else if (v.vt == VT_I4) {
        nChildId = v.lVal;
        return kElement;
    }
    return kOther;
}
