#include "accessibility/AccessibleItemLocator.h"

#include <climits>
#include <map>
#include <new>
#include <string>

#include "accessibility/AccessibilityLibrary.h"
#include "accessibility/AccessibleChildren.h"
#include "accessibility/AccessibleFunctions.h"
#include "accessibility/FaultGuard.h"
#include "agent/Diagnostics.h"
#include "locators/ItemListPage.h"

namespace {

void CopyFormText(std::string text, char* pszDest) {
    CutAnsiText(text, kAccTextSize - 1);
    lstrcpynA(pszDest, text.c_str(), kAccTextSize);
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

CAccessibleItemLocator::CAccessibleItemLocator(IAccessible* pAcc, long nChildId)
    : m_nRoleCode(0),
      m_nVersion(AccessibleItemFields::kCurrentVersion),
      m_bUseRoleCode(0),
      m_nChildCount(0),
      m_nLevel(0),
      m_nChildId(0),
      m_nRoleIndex(-1),
      m_nObjectChildId(nChildId),
      m_pAcc(TComPtr<IAccessible>::AddRefed(pAcc)) {
    m_szName[0] = m_szRole[0] = m_szValue[0] = m_szAccDescription[0] = m_szPointRole[0] = '\0';
    LoadAccessibilityLibrary();
}

CAccessibleItemLocator::~CAccessibleItemLocator() {}

void CAccessibleItemLocator::FillFields(AccessibleItemFields& f) const {
    f.name = m_szName;
    f.role = m_szRole;
    f.description = m_szAccDescription;
    f.nRoleCode = m_nRoleCode;
    f.nVersion = m_nVersion;
    f.bUseRoleCode = m_bUseRoleCode;
    f.nChildCount = m_nChildCount;
    f.nLevel = m_nLevel;
    f.nChildId = m_nChildId;
    f.value = m_szValue;
    f.nRoleIndex = m_nRoleIndex;
    f.bAllFields = true;
}

void CAccessibleItemLocator::ApplyFields(const AccessibleItemFields& f) {
    CopyFormText(f.name, m_szName);
    CopyFormText(f.role, m_szRole);
    CopyFormText(f.description, m_szAccDescription);
    m_nRoleCode = f.nRoleCode;
    m_nVersion = f.nVersion;
    m_bUseRoleCode = f.bUseRoleCode;
    m_nChildCount = f.nChildCount;
    m_nLevel = f.nLevel;
    m_nChildId = f.nChildId;
    // An older form leaves what it does not carry as it was.
    if (f.nVersion >= 1) CopyFormText(f.value, m_szValue);
    if (f.nVersion >= 2) m_nRoleIndex = f.nRoleIndex;
}

CAccessibleItemLocator::Form CAccessibleItemLocator::MakeForm() const {
    Form form;
    form.base = GetBaseForm();
    FillFields(form.fields);
    return form;
}

int CAccessibleItemLocator::GetDataSize() { return static_cast<int>(FormSize(MakeForm(), true)); }

void CAccessibleItemLocator::ReadData(BYTE*& pCursor) {
    Form form;
    if (!ReadFormAt(pCursor, form)) return;
    SetBaseForm(form.base);
    ApplyFields(form.fields);
}

void CAccessibleItemLocator::WriteData(BYTE*& pCursor) { WriteFormAt(pCursor, MakeForm()); }

bool CAccessibleItemLocator::IsIndirectItem() { return true; }

void CAccessibleItemLocator::DebugLevel(const char* pszName, int nLevel) {
    AgentDebugFormat("\t%s - Parent Level: %d\n", pszName, nLevel);
}

void CAccessibleItemLocator::FillFromObject(IAccessible* pAcc, long nChildId, bool bWithRect) {
    if (!pAcc) return;
    RunGuarded([&] {
        GetAccessibleText(pAcc, nChildId, AccRoleText, m_szRole, kAccTextSize);
        m_bUseRoleCode = 0;
        GetAccessibleText(pAcc, nChildId, AccName, m_szName, kAccTextSize);
        GetAccessibleText(pAcc, nChildId, AccDescription, m_szAccDescription, kAccTextSize);
        GetAccessibleText(pAcc, nChildId, AccValue, m_szValue, kAccTextSize);
        // For an element, the count of its parent object.
        m_nChildCount = static_cast<int>(AccessibleChildCount(pAcc));
        if (bWithRect) GetAccessibleRect(&m_rect, pAcc, nChildId);
        m_nChildId = static_cast<int>(nChildId);
    });
}

bool CAccessibleItemLocator::IsChildVisible(IAccessible* pAcc, long nChildId) {
    if (!pAcc) return true;
    COwnedVariant state;
    if (FAILED(pAcc->get_accState(ChildVariant(nChildId), state.Put()))) return true;
    return !(state.Type() == VT_I4 && (state.Get().lVal & STATE_SYSTEM_OFFSCREEN));
}

bool CAccessibleItemLocator::FindByRectangle(const RECT& rc, IAccessible* pAcc, TComPtr<IAccessible>& found,
                                             long& nFoundChild, int& nLevel, int& nRoleCount, bool bCheckSelf) {
    if (!pAcc) return false;
    if (bCheckSelf && IsChildVisible(pAcc, CHILDID_SELF) && SameRect(AccessibleRect(pAcc, CHILDID_SELF), rc)) {
        found = TComPtr<IAccessible>::AddRefed(pAcc);
        nFoundChild = CHILDID_SELF;
        m_nLevel = nLevel;
        m_nRoleIndex = nRoleCount;
        return true;
    }
    ++nLevel;
    bool bFound = false;
    CAccessibleChildren children(pAcc, true);
    char szRole[kAccTextSize];
    for (size_t i = 0; i < children.Count() && !bFound; ++i) {
        TComPtr<IAccessible> child;
        long nChildId = 0;
        switch (children.Take(i, child, nChildId)) {
        case CAccessibleChildren::kObject:
            if (!IsChildVisible(child.Get(), CHILDID_SELF)) break;
            GetAccessibleText(child.Get(), CHILDID_SELF, AccRoleText, szRole, kAccTextSize);
            if (lstrcmpA(szRole, m_szPointRole) == 0) ++nRoleCount;
            if (SameRect(AccessibleRect(child.Get(), CHILDID_SELF), rc)) {
                found = std::move(child);
                nFoundChild = CHILDID_SELF;
                m_nLevel = nLevel;
                m_nRoleIndex = nRoleCount;
                bFound = true;
            } else if (AccessibleChildCount(child.Get()) > 0) {
                bFound = FindByRectangle(rc, child.Get(), found, nFoundChild, nLevel, nRoleCount, true);
            }
            break;
        case CAccessibleChildren::kElement:
            if (!IsChildVisible(pAcc, nChildId)) break;
            GetAccessibleText(pAcc, nChildId, AccRoleText, szRole, kAccTextSize);
            if (lstrcmpA(szRole, m_szPointRole) == 0) ++nRoleCount;
            if (SameRect(AccessibleRect(pAcc, nChildId), rc)) {
                found = TComPtr<IAccessible>::AddRefed(pAcc);
                nFoundChild = nChildId;
                m_nLevel = nLevel;
                m_nRoleIndex = nRoleCount;
                bFound = true;
            }
            break;
        default: break;
        }
    }
    --nLevel;
    return bFound;
}

HWND CAccessibleItemLocator::LoadItem(HWND hwndControl, int) {
    CFaultGuardScope guard;
    COwnedVariant hit;
    HRESULT hr = S_OK;
    TComPtr<IAccessible> atCursor = AccessibleAtCursor(hit, &hr);
    if (!atCursor) return nullptr;
    const long nHitChild = hit.Type() == VT_I4 ? hit.Get().lVal : CHILDID_SELF;
    const RECT rc = AccessibleRect(atCursor.Get(), nHitChild);
    GetAccessibleText(atCursor.Get(), nHitChild, AccRoleText, m_szPointRole, kAccTextSize);
    atCursor.Reset();

    TComPtr<IAccessible> window = AccessibleOfWindow(hwndControl);
    if (!window) return nullptr;
    TComPtr<IAccessible> found;
    long nFoundChild = 0;
    int nLevel = 0, nRoleCount = 0;
    // Nothing with the cursor object's rectangle: every field stays as it was.
    if (!FindByRectangle(rc, window.Get(), found, nFoundChild, nLevel, nRoleCount, true) || !found) return nullptr;
    FillFromObject(found.Get(), nFoundChild, true);
    if (m_szName[0] == '\0') {
        // A nameless object: a descendant with the same rectangle may carry
        // the name.
        const int nFirstLevel = m_nLevel;
        nLevel = 0;
        nRoleCount = 0;
        TComPtr<IAccessible> inner;
        long nInnerChild = 0;
        if (FindByRectangle(rc, found.Get(), inner, nInnerChild, nLevel, nRoleCount, false) && inner) {
            FillFromObject(inner.Get(), nInnerChild, true);
            m_nLevel = nFirstLevel + m_nLevel;
        }
    }
    return nullptr;
}

RECT CAccessibleItemLocator::ItemFromPoint(HWND hwndControl, int, int, int* pnIndex) {
    RECT result = {0, 0, 0, 0};
    if (pnIndex) *pnIndex = -1;
    COwnedVariant hit;
    HRESULT hr = S_OK;
    TComPtr<IAccessible> atCursor = AccessibleAtCursor(hit, &hr);
    if (!atCursor) return result;
    const long nHitChild = hit.Type() == VT_I4 ? hit.Get().lVal : CHILDID_SELF;
    {
        CFaultGuardScope guard;
        RunGuarded([&] { GetAccessibleRect(&result, atCursor.Get(), nHitChild); });
    }
    MapWindowPoints(nullptr, hwndControl, reinterpret_cast<POINT*>(&result), 2);
    if (pnIndex) *pnIndex = 0;
    return result;
}

void CAccessibleItemLocator::CollectCandidates(HWND hwnd, CandidateStore& store) {
    TComPtr<IAccessible> window = AccessibleOfWindow(hwnd);
    if (!window) return;
    std::unique_ptr<CAccessibleItemLocator> top(new (std::nothrow) CAccessibleItemLocator(nullptr, 0));
    if (!top) return;
    top->FillFromObject(window.Get(), CHILDID_SELF, true);
    top->m_nLevel = 0;
    store.push_back(std::move(top));
    int nLevel = 0;
    CollectDescendants(window.Get(), store, nLevel);
}

bool CAccessibleItemLocator::CollectDescendants(IAccessible* pAcc, CandidateStore& store, int& nLevel) {
    if (m_nLevel == nLevel) return true;
    if (!IsChildVisible(pAcc, CHILDID_SELF)) return true;
    ++nLevel;
    char szName[kAccTextSize];
    RunGuarded([&] { GetAccessibleText(pAcc, CHILDID_SELF, AccName, szName, kAccTextSize); });
    DebugLevel(szName, nLevel);
    CAccessibleChildren children(pAcc);
    for (size_t i = 0; i < children.Count(); ++i) {
        TComPtr<IAccessible> child;
        long nChildId = 0;
        const CAccessibleChildren::Entry entry = children.Take(i, child, nChildId);
        if (entry == CAccessibleChildren::kObject && IsChildVisible(child.Get(), CHILDID_SELF)) {
            std::unique_ptr<CAccessibleItemLocator> candidate(new (std::nothrow) CAccessibleItemLocator(nullptr, 0));
            if (!candidate) continue;
            candidate->FillFromObject(child.Get(), CHILDID_SELF, true);
            candidate->m_nLevel = nLevel;
            DebugLevel(candidate->m_szName, nLevel);
            const bool bHasChildren = candidate->m_nChildCount > 0;
            store.push_back(std::move(candidate));
            if (bHasChildren) CollectDescendants(child.Get(), store, nLevel);
        } else if (entry == CAccessibleChildren::kElement && IsChildVisible(pAcc, nChildId)) {
            std::unique_ptr<CAccessibleItemLocator> candidate(new (std::nothrow) CAccessibleItemLocator(nullptr, 0));
            if (!candidate) continue;
            candidate->FillFromObject(pAcc, nChildId, true);
            candidate->m_nLevel = nLevel;
            DebugLevel(candidate->m_szName, nLevel);
            store.push_back(std::move(candidate));
        }
    }
    --nLevel;
    return true;
}

void CAccessibleItemLocator::FilterByRole(const CandidateList& in, CandidateList& out) const {
    out.clear();
    for (CAccessibleItemLocator* pCandidate : in) {
        const bool bPass = (m_bUseRoleCode + pCandidate->m_bUseRoleCode) != 0
                               ? m_nRoleCode == pCandidate->m_nRoleCode
                               : lstrcmpiA(m_szRole, pCandidate->m_szRole) == 0;
        if (bPass) out.push_back(pCandidate);
    }
}

bool CAccessibleItemLocator::FilterByField(const CandidateList& in, CandidateList& out, int nField) const {
    out.clear();
    for (CAccessibleItemLocator* pCandidate : in) {
        bool bEqual = false;
        switch (nField) {
        case AccName: bEqual = lstrcmpiA(pCandidate->m_szName, m_szName) == 0; break;
        case AccDescription: bEqual = lstrcmpiA(pCandidate->m_szAccDescription, m_szAccDescription) == 0; break;
        case AccValue: bEqual = lstrcmpiA(pCandidate->m_szValue, m_szValue) == 0; break;
        case AccLevel: bEqual = pCandidate->m_nLevel == m_nLevel; break;
        case AccChildCount: bEqual = pCandidate->m_nChildCount == m_nChildCount; break;
        case AccChildId: bEqual = pCandidate->m_nChildId == m_nChildId; break;
        case AccRoleIndex: bEqual = pCandidate->m_nRoleIndex == m_nRoleIndex; break;
        default: break;
        }
        if (bEqual) out.push_back(pCandidate);
    }
    return out.size() == 1;
}

bool CAccessibleItemLocator::FilterDistinctRects(const CandidateList& in, CandidateList& out) {
    out.clear();
    if (in.empty()) return false;
    const RECT first = in.front()->m_rect;
    out.push_back(in.front());
    for (size_t i = 1; i < in.size(); ++i) {
        if (!SameRect(in[i]->m_rect, first)) out.push_back(in[i]);
    }
    return out.size() == 1;
}

bool CAccessibleItemLocator::FindItem(HWND hwndControl, DWORD) {
    CFaultGuardScope guard;
    CandidateStore store;
    CollectCandidates(hwndControl, store);
    CandidateList current;
    for (const std::unique_ptr<CAccessibleItemLocator>& candidate : store) current.push_back(candidate.get());
    CandidateList next;
    FilterByRole(current, next);

    bool bOne = false;
    const int kFields[] = {AccName, AccDescription, AccLevel, AccChildId};
    for (int nField : kFields) {
        current.swap(next);
        if ((bOne = FilterByField(current, next, nField))) break;
    }
    if (!bOne) {
        current.swap(next);
        bOne = FilterByField(current, next, AccChildCount);
        // Nobody with the recorded child count: the rectangle step decides
        // among the candidates before.
        if (next.empty()) next = current;
    }
    if (!bOne) {
        current.swap(next);
        bOne = FilterDistinctRects(current, next);
    }
    if (!bOne || next.size() != 1) return false;
    m_rect = next.front()->m_rect;
    MapWindowPoints(nullptr, hwndControl, reinterpret_cast<POINT*>(&m_rect), 2);
    return true;
}

const char* CAccessibleItemLocator::GetDescription() {
    if (m_szName[0] && m_szRole[0]) {
        // Name, blank, role and the terminator must fit.
        if (lstrlenA(m_szName) + lstrlenA(m_szRole) + 2 <= kDescriptionSize) {
            wsprintfA(m_szDescription, "%s %s", m_szName, m_szRole);
        }
        return m_szDescription;
    }
    const char* pszText = m_szName[0] ? m_szName : (m_szRole[0] ? m_szRole : m_szAccDescription);
    if (pszText[0]) lstrcpynA(m_szDescription, pszText, kDescriptionSize);
    return m_szDescription;
}

struct CAccessibleItemLocator::Listing {
    HWND hwnd;
    CItemListPage& page;
    int nSignature;
    int nDepth;
    int nIndex;
    // Objects met so far per role text: an object's role index.
    std::map<std::string, int> roleCounts;
};

std::unique_ptr<CAccessibleItemLocator> CAccessibleItemLocator::NewListedItem(int) const {
    return std::unique_ptr<CAccessibleItemLocator>(new (std::nothrow) CAccessibleItemLocator(nullptr, 0));
}

int CAccessibleItemLocator::ListingSignature(HWND) const { return 0; }

int CAccessibleItemLocator::ListItems(HWND hwndControl, CItemListPage& page) {
    CFaultGuardScope guard;
    TComPtr<IAccessible> window;
    RunGuarded([&] { window = AccessibleOfWindow(hwndControl); });
    if (!window) return -1;
    Listing listing = {hwndControl, page, ListingSignature(hwndControl), page.Depth(), 0, {}};
    const int nRoot = ListObject(window.Get(), CHILDID_SELF, 0, -1, listing);
    if (listing.nDepth > 0) ListChildren(window.Get(), 1, nRoot, listing);
    return listing.nIndex;
}

int CAccessibleItemLocator::ListObject(IAccessible* pHolder, long nChildId, int nLevel, int nParent,
                                       Listing& listing) {
    const int nThis = listing.nIndex;
    if (listing.nIndex < INT_MAX) ++listing.nIndex;
    char szRole[kAccTextSize] = {0};
    RunGuarded([&] { GetAccessibleText(pHolder, nChildId, AccRoleText, szRole, kAccTextSize); });
    // The window's object counts for no role; every other object counts
    // for its own, in the order the kind's searches meet them.
    const int nRoleIndex = nLevel == 0 ? 0 : ++listing.roleCounts[szRole];
    if (!listing.page.Wants(nThis)) return nThis;

    std::unique_ptr<CAccessibleItemLocator> item = NewListedItem(listing.nSignature);
    if (!item) return nThis;
    item->m_nKind = m_nKind;
    item->FillFromObject(pHolder, nChildId, true);
    item->m_nLevel = nLevel;
    item->m_nRoleIndex = nRoleIndex;

    ItemListEntry entry;
    entry.nIndex = nThis;
    entry.nLevel = nLevel;
    entry.nParent = nParent;
    RECT rect = item->m_rect;
    MapWindowPoints(nullptr, listing.hwnd, reinterpret_cast<POINT*>(&rect), 2);
    entry.SetRect(rect);
    long nState = 0;
    RunGuarded([&] {
        COwnedVariant state;
        if (SUCCEEDED(pHolder->get_accState(ChildVariant(nChildId), state.Put())) && state.Type() == VT_I4) {
            nState = state.Get().lVal;
        }
        if (nChildId == CHILDID_SELF) entry.nChildCount = static_cast<int32_t>(AccessibleChildCount(pHolder));
    });
    entry.dwState = static_cast<uint32_t>(nState);
    if (!(nState & (STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_INVISIBLE))) entry.dwFlags |= ItemListEntry::kVisible;
    if (nState & STATE_SYSTEM_SELECTED) entry.dwFlags |= ItemListEntry::kSelected;
    if (nState & STATE_SYSTEM_EXPANDED) entry.dwFlags |= ItemListEntry::kExpanded;
    if (!(nState & STATE_SYSTEM_UNAVAILABLE)) entry.dwFlags |= ItemListEntry::kEnabled;
    if (entry.nChildCount > 0) entry.dwFlags |= ItemListEntry::kHasChildren;
    entry.text = item->m_szName;
    entry.extraTexts.push_back(item->m_szRole);
    entry.extraTexts.push_back(item->m_szValue);
    listing.page.Add(entry, *item);
    return nThis;
}

void CAccessibleItemLocator::ListChildren(IAccessible* pAcc, int nLevel, int nParent, Listing& listing) {
    std::unique_ptr<CAccessibleChildren> children;
    RunGuarded([&] { children.reset(new (std::nothrow) CAccessibleChildren(pAcc)); });
    if (!children) return;
    for (size_t i = 0; i < children->Count(); ++i) {
        TComPtr<IAccessible> child;
        long nChildId = 0;
        CAccessibleChildren::Entry kind = CAccessibleChildren::kOther;
        bool bVisible = false;
        long nGrandChildren = 0;
        RunGuarded([&] {
            kind = children->Take(i, child, nChildId);
            if (kind == CAccessibleChildren::kObject) {
                bVisible = IsChildVisible(child.Get(), CHILDID_SELF);
                if (bVisible) nGrandChildren = AccessibleChildCount(child.Get());
            } else if (kind == CAccessibleChildren::kElement) {
                bVisible = IsChildVisible(pAcc, nChildId);
            }
        });
        if (!bVisible) continue;
        if (kind == CAccessibleChildren::kObject) {
            const int nIndex = ListObject(child.Get(), CHILDID_SELF, nLevel, nParent, listing);
            if (nLevel < listing.nDepth && nGrandChildren > 0) ListChildren(child.Get(), nLevel + 1, nIndex, listing);
        } else if (kind == CAccessibleChildren::kElement) {
            ListObject(pAcc, nChildId, nLevel, nParent, listing);
        }
    }
}
