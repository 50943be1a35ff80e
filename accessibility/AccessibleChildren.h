// The children of one accessible object, fetched at once with
// AccessibleChildren: each entry is a full child object, a simple element
// of the object (by its child identifier), or something else. Each entry
// is owned by the list until it is taken; what is not taken goes with it.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <cstddef>
#include <memory>

#include "common/ComOwned.h"

class CAccessibleChildren {
public:
    enum Entry { kObject, kElement, kOther };

    // An object that cannot give its children, or gives fewer than its
    // child count, has none. bRequireSuccess: the call's result must be a
    // success code as well.
    CAccessibleChildren(IAccessible* pAcc, bool bRequireSuccess = false);
    CAccessibleChildren(const CAccessibleChildren&) = delete;
    CAccessibleChildren& operator=(const CAccessibleChildren&) = delete;

    size_t Count() const { return m_nCount; }
    // Takes entry i: a full object comes as its IAccessible (the IDispatch
    // is released at once), an element as its child identifier; anything
    // else is cleared.
    Entry Take(size_t i, TComPtr<IAccessible>& object, long& nChildId);

    // Children beyond this many are not fetched: the object has none.
    static const long kMaxChildren = 1 << 20;

private:
    std::unique_ptr<COwnedVariant[]> m_entries;
    size_t m_nCount;
};
