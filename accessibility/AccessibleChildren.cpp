// The children of one accessible object (see AccessibleChildren.h).
#include "accessibility/AccessibleChildren.h"

#include <new>

#include "accessibility/AccessibilityLibrary.h"
#include "accessibility/AccessibleFunctions.h"

CAccessibleChildren::CAccessibleChildren(IAccessible* pAcc, bool bRequireSuccess) : m_nCount(0) {
    const long nCount = AccessibleChildCount(pAcc);
    if (nCount <= 0 || nCount > kMaxChildren || !g_accLibrary.pfnAccessibleChildren) return;
    m_entries.reset(new (std::nothrow) VARIANT[static_cast<size_t>(nCount)]);
    if (!m_entries) return;
    for (long i = 0; i < nCount; ++i) VariantInit(&m_entries[static_cast<size_t>(i)]);
    long nObtained = 0;
    const HRESULT hr = g_accLibrary.pfnAccessibleChildren(pAcc, 0, nCount, m_entries.get(), &nObtained);
    m_nCount = static_cast<size_t>(nCount);
    if (nObtained != nCount || (bRequireSuccess && FAILED(hr))) {
        // Whatever came is cleared by the destructor; the object has no
        // children for the walks.
        for (size_t i = 0; i < m_nCount; ++i) VariantClear(&m_entries[i]);
        m_nCount = 0;
    }
}

CAccessibleChildren::~CAccessibleChildren() {
    for (size_t i = 0; i < m_nCount; ++i) VariantClear(&m_entries[i]);
}

CAccessibleChildren::Entry CAccessibleChildren::Take(size_t i, TComPtr<IAccessible>& object, long& nChildId) {
    object.Reset();
    nChildId = 0;
    if (i >= m_nCount) return kOther;
    VARIANT& entry = m_entries[i];
    Entry kind = kOther;
    if (entry.vt == VT_DISPATCH && entry.pdispVal) {
        if (SUCCEEDED(entry.pdispVal->QueryInterface(kIidAccessible, object.PutVoid())) && object) kind = kObject;
    } else if (entry.vt == VT_I4) {
        nChildId = entry.lVal;
        kind = kElement;
    }
    VariantClear(&entry);
    return kind;
}
