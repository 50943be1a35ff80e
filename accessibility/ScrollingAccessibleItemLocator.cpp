#include "accessibility/ScrollingAccessibleItemLocator.h"

#include <new>

#include "accessibility/AccessibilityLibrary.h"
#include "accessibility/AccessibleChildren.h"
#include "accessibility/AccessibleFunctions.h"
#include "accessibility/FaultGuard.h"
#include "agent/Diagnostics.h"
#include "channel/MessageTable.h"
#include "common/Owned.h"

namespace {
// The factors of the click points and of the visible share, as the
// single-precision values they have always been.
const float kNearFactor = 1.5f;
const float kFarFactor = 2.5f;
const float kVisibleShare = 0.7f;

int Overhang(LONG nWindowLow, LONG nWindowHigh, LONG nItemLow, LONG nItemHigh) {
    if (nItemLow < nWindowLow && nItemHigh > nWindowHigh) return 0;
    LONG need = 0;
    if (nItemHigh > nWindowHigh) {
        need = nItemHigh - nWindowHigh;
        if (nItemLow - nWindowLow < need) need = nItemLow - nWindowLow;
        // More than 70 % of the object is visible: leave it.
        if (static_cast<double>(nItemHigh - nItemLow) * static_cast<double>(kVisibleShare) <
            static_cast<double>(nWindowHigh - nItemLow)) {
            need = 0;
        }
    }
    if (nItemLow < nWindowLow) return static_cast<int>(nItemLow - nWindowLow);
    return static_cast<int>(need);
}
}  // namespace

CScrollingAccessibleItemLocator::CScrollingAccessibleItemLocator()
    : CAccessibleItemLocator(nullptr, 0),
      m_nMouseClickMsg(RegisterWindowMessageA(ProxyNames::kMouseClickMsg)),
      m_nPosWindowMsg(RegisterWindowMessageA(ProxyNames::kPosWindowMsg)),
      m_nWindowSignature(0) {}

CScrollingAccessibleItemLocator::Form CScrollingAccessibleItemLocator::MakeForm() const {
    Form form;
    form.base = GetBaseForm();
    FillFields(form.fields);
    form.fields.nWindowSignature = m_nWindowSignature;
    return form;
}

int CScrollingAccessibleItemLocator::GetDataSize() { return static_cast<int>(FormSize(MakeForm(), true)); }

void CScrollingAccessibleItemLocator::ReadData(BYTE*& pCursor) {
    Form form;
    if (!ReadFormAt(pCursor, form)) return;
    SetBaseForm(form.base);
    ApplyFields(form.fields);
    m_nWindowSignature = form.fields.nWindowSignature;
}

void CScrollingAccessibleItemLocator::WriteData(BYTE*& pCursor) { WriteFormAt(pCursor, MakeForm()); }

int CScrollingAccessibleItemLocator::GetItemCount(HWND hwndControl) {
    TComPtr<IAccessible> window = AccessibleOfWindow(hwndControl);
    return window ? static_cast<int>(AccessibleChildCount(window.Get())) : 0;
}

HWND CScrollingAccessibleItemLocator::LoadItem(HWND hwndControl, int nIndex) {
    CAccessibleItemLocator::LoadItem(hwndControl, nIndex);
    m_nWindowSignature = GetWindowSignature(hwndControl);
    return nullptr;
}

bool CScrollingAccessibleItemLocator::FindHostWindow(HWND* phwnd, const CWindowDescription*) {
    if (phwnd) *phwnd = nullptr;
    return false;
}

bool CScrollingAccessibleItemLocator::IsChildVisible(IAccessible*, long) { return true; }

int CScrollingAccessibleItemLocator::GetWindowSignature(HWND hwnd) {
    TComPtr<IAccessible> window = AccessibleOfWindow(hwnd);
    if (!window) return 0;
    COwnedVariant end;
    if (FAILED(window->accNavigate(NAVDIR_FIRSTCHILD, ChildVariant(CHILDID_SELF), end.Put()))) return 0;
    if (end.Type() != VT_DISPATCH || !end.Get().pdispVal) return 0;
    TComPtr<IAccessible> first;
    if (FAILED(end.Get().pdispVal->QueryInterface(kIidAccessible, first.PutVoid())) || !first) return 0;
    return static_cast<int>(AccessibleChildCount(first.Get()));
}

bool CScrollingAccessibleItemLocator::IsExactMatch(const CAccessibleItemLocator& c) const {
    if (c.m_nLevel != m_nLevel) return false;
    if (c.m_nChildCount != m_nChildCount) return false;
    if (lstrcmpiA(c.m_szName, m_szName) != 0) return false;
    if (m_bUseRoleCode + c.m_bUseRoleCode != 0) {
        if (c.m_nRoleCode != m_nRoleCode) return false;
    } else if (lstrcmpiA(c.m_szRole, m_szRole) != 0) {
        return false;
    }
    if (lstrcmpiA(c.m_szAccDescription, m_szAccDescription) != 0) return false;
    if (m_nVersion >= 1 && lstrcmpiA(c.m_szValue, m_szValue) != 0) return false;
    if (m_nVersion >= 2 && c.m_nRoleIndex != m_nRoleIndex) return false;
    return true;
}

bool CScrollingAccessibleItemLocator::SearchDescendants(IAccessible* pAcc, CandidateStore& store, int& nLevel,
                                                        int& nRoleCount) {
    ++nLevel;
    bool bContinue = true;
    CAccessibleChildren children(pAcc);
    for (size_t i = 0; i < children.Count() && bContinue; ++i) {
        TComPtr<IAccessible> child;
        long nChildId = 0;
        const CAccessibleChildren::Entry entry = children.Take(i, child, nChildId);
        if (entry == CAccessibleChildren::kOther) continue;
        // A candidate holds the object it was filled from: the child
        // itself, or for an element the parent with the element's id.
        IAccessible* pHolder = entry == CAccessibleChildren::kObject ? child.Get() : pAcc;
        const long nHeldId = entry == CAccessibleChildren::kObject ? CHILDID_SELF : nChildId;
        std::unique_ptr<CAccessibleItemLocator> candidate(new (std::nothrow) CAccessibleItemLocator(pHolder, nHeldId));
        if (!candidate) continue;
        candidate->FillFromObject(pHolder, nHeldId, true);
        candidate->m_nLevel = nLevel;
        if (lstrcmpA(candidate->m_szRole, m_szRole) == 0) candidate->m_nRoleIndex = ++nRoleCount;
        const bool bExact = IsExactMatch(*candidate);
        const bool bHasChildren = candidate->m_nChildCount > 0;
        store.push_back(std::move(candidate));
        if (bExact) {
            bContinue = false;
        } else if (entry == CAccessibleChildren::kObject && bHasChildren) {
            bContinue = SearchDescendants(child.Get(), store, nLevel, nRoleCount);
        }
    }
    --nLevel;
    return bContinue;
}

bool CScrollingAccessibleItemLocator::FindItem(HWND hwndControl, DWORD) {
    CFaultGuardScope guard;
    CandidateStore store;
    {
        TComPtr<IAccessible> window = AccessibleOfWindow(hwndControl);
        if (!window) return false;
        std::unique_ptr<CAccessibleItemLocator> top(new (std::nothrow) CAccessibleItemLocator(window.Get(), 0));
        if (!top) return false;
        top->FillFromObject(window.Get(), CHILDID_SELF, true);
        top->m_nLevel = 0;
        store.push_back(std::move(top));
        int nLevel = 0, nRoleCount = 0;
        SearchDescendants(window.Get(), store, nLevel, nRoleCount);
    }
    CandidateList all;
    for (const std::unique_ptr<CAccessibleItemLocator>& candidate : store) all.push_back(candidate.get());
    CandidateList current, next;
    FilterByRole(all, next);

    bool bOne = false;
    if (m_nVersion >= 1) {
        bOne = FilterByField(next, current, AccValue);
        // Nobody with the recorded value: the later steps work on the role
        // step's candidates.
        if (current.empty()) current = next;
        next.swap(current);
    }
    const int kFields[] = {AccName, AccRoleIndex, AccLevel, AccDescription, AccChildId, AccChildCount};
    for (size_t i = 0; i < sizeof(kFields) / sizeof(kFields[0]) && !bOne; ++i) {
        current.swap(next);
        bOne = FilterByField(current, next, kFields[i]);
    }
    if (!bOne) {
        current.swap(next);
        bOne = FilterDistinctRects(current, next);
    }
    if (!bOne || next.size() != 1) return false;
    CAccessibleItemLocator* pFound = next.front();
    ScrollIntoView(pFound->m_pAcc.Get(), pFound->m_nObjectChildId, hwndControl);
    MapWindowPoints(nullptr, hwndControl, reinterpret_cast<POINT*>(&m_rect), 2);
    return true;
}

int CScrollingAccessibleItemLocator::HorizontalOverhang(const RECT& w, const RECT& r) {
    return Overhang(w.left, w.right, r.left, r.right);
}

int CScrollingAccessibleItemLocator::VerticalOverhang(const RECT& w, const RECT& r) {
    return Overhang(w.top, w.bottom, r.top, r.bottom);
}

void CScrollingAccessibleItemLocator::ScrollIntoView(IAccessible* pAcc, long nChildId, HWND hwnd) {
    RECT window = {0, 0, 0, 0};
    GetAccessibleRect(&m_rect, pAcc, nChildId);
    GetWindowRect(hwnd, &window);
    const int dx = HorizontalOverhang(window, m_rect);
    if (dx != 0) ScrollLoop(dx < 0 ? kLeft : kRight, dx, pAcc, nChildId, hwnd);
    GetAccessibleRect(&m_rect, pAcc, nChildId);
    GetWindowRect(hwnd, &window);
    const int dy = VerticalOverhang(window, m_rect);
    if (dy != 0) ScrollLoop(dy < 0 ? kUp : kDown, dy, pAcc, nChildId, hwnd);
}

void CScrollingAccessibleItemLocator::ScrollLoop(Direction direction, int nOverhang, IAccessible* pAcc,
                                                 long nChildId, HWND hwnd) {
    const int cx = GetSystemMetrics(SM_CXVSCROLL);
    const int cy = GetSystemMetrics(SM_CYHSCROLL);
    RECT w = {0, 0, 0, 0};
    GetWindowRect(hwnd, &w);
    const bool bHorizontal = direction == kLeft || direction == kRight;
    int x = 0, y = 0;
    switch (direction) {
    case kLeft:
        x = w.left + static_cast<int>(kNearFactor * cx);
        y = w.bottom - cy / 2;
        break;
    case kRight:
        x = w.right - static_cast<int>(kFarFactor * cx);
        y = w.bottom - cy / 2;
        break;
    case kUp:
        x = w.right - cx / 2;
        y = w.top + static_cast<int>(kNearFactor * cy);
        break;
    case kDown:
        x = w.right - cx / 2;
        y = w.bottom - static_cast<int>(kFarFactor * cy);
        break;
    }
    int d = nOverhang;
    if (direction == kLeft || direction == kUp) {
        for (;;) {
            RequestProxyClick(m_nMouseClickMsg, x, y);
            GetAccessibleRect(&m_rect, pAcc, nChildId);
            const int dNext = bHorizontal ? HorizontalOverhang(w, m_rect) : VerticalOverhang(w, m_rect);
            if (dNext == d || dNext >= 0) return;
            d = dNext;
        }
    }
    int nStalls = 0;
    for (;;) {
        RequestProxyClick(m_nMouseClickMsg, x, y);
        GetAccessibleRect(&m_rect, pAcc, nChildId);
        const int dNext = bHorizontal ? HorizontalOverhang(w, m_rect) : VerticalOverhang(w, m_rect);
        if (dNext >= d) {
            if (++nStalls >= 2) return;
            // The point may have missed the arrow: one arrow further out.
            if (bHorizontal) {
                x += GetSystemMetrics(SM_CXVSCROLL);
            } else {
                y += GetSystemMetrics(SM_CYHSCROLL);
            }
            RequestProxyClick(m_nMouseClickMsg, x, y);
        }
        if (dNext <= 0) return;
        d = dNext;
    }
}

bool CScrollingAccessibleItemLocator::RequestProxyClick(UINT nMsg, int x, int y) {
    HWND hwndProxy = FindWindowA(ProxyNames::kClassName, nullptr);
    if (!hwndProxy || !IsWindow(hwndProxy)) return false;
    // Both events are had before anything is posted: a click nobody waits
    // for would signal the next request's wait.
    COwnedHandle taskDone(CreateEventA(nullptr, FALSE, FALSE, ProxyNames::kTaskDoneEvent));
    COwnedHandle cancel(CreateEventA(nullptr, TRUE, FALSE, ProxyNames::kCancelEvent));
    if (!taskDone || !cancel) {
        AgentDebug("*** Proxy Events Unavailable ***\n");
        return false;
    }
    if (!PostMessageA(hwndProxy, nMsg, static_cast<WPARAM>(static_cast<LONG_PTR>(x)), static_cast<LPARAM>(y))) {
        return false;
    }
    WaitForProxyTask(taskDone.Get(), cancel.Get());
    return true;
}

bool CScrollingAccessibleItemLocator::WaitForProxyTask(HANDLE hTaskDone, HANDLE hCancel) {
    HANDLE handles[2] = {hTaskDone, hCancel};
    bool bQuit = false;
    WPARAM nQuitCode = 0;
    bool bDone = false;
    for (;;) {
        const DWORD dwResult = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_ALLINPUT);
        if (dwResult == WAIT_OBJECT_0 || dwResult == WAIT_OBJECT_0 + 1) {
            bDone = true;
            break;
        }
        if (dwResult != WAIT_OBJECT_0 + 2) {
            // The wait itself failed: waiting again would only fail again.
            AgentDebug("*** Proxy Wait Failed ***\n");
            break;
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The thread's loop must still see it; the wait ends.
                bQuit = true;
                nQuitCode = msg.wParam;
                break;
            }
            DispatchMessageA(&msg);
        }
        if (bQuit) break;
    }
    if (bQuit) PostQuitMessage(static_cast<int>(nQuitCode));
    return bDone;
}

std::unique_ptr<CAccessibleItemLocator> CScrollingAccessibleItemLocator::NewListedItem(int nSignature) const {
    std::unique_ptr<CScrollingAccessibleItemLocator> item(new (std::nothrow) CScrollingAccessibleItemLocator());
    if (item) item->m_nWindowSignature = nSignature;
    return std::unique_ptr<CAccessibleItemLocator>(item.release());
}

int CScrollingAccessibleItemLocator::ListingSignature(HWND hwndControl) const {
    int nSignature = 0;
    RunGuarded([&] { nSignature = GetWindowSignature(hwndControl); });
    return nSignature;
}
