#include "sample/SampleAccessible.h"

#include <cstdint>
#include <new>

#include "accessibility/AccessibleInterface.h"

namespace {
// Interface identifiers by their bytes, as for IAccessible.
const IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidOleWindow = {0x00000114, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The exception the faulting object raises inside its own code.
const DWORD kSampleFault = 0xE0564E31;

void RaiseInOwnCode() { RaiseException(kSampleFault, 0, 0, nullptr); }

// The top page of the address space belongs to no process.
void WriteThroughNull() {
    int* volatile pNowhere = reinterpret_cast<int*>(~static_cast<uintptr_t>(0xFFF));
    *pNowhere = 1;
}
}  // namespace

CSampleAccessible::CSampleAccessible(const SampleAccessibleHost* pHost, const wchar_t* pszName, long nRole,
                                     const RECT& rect)
    : m_name(pszName ? pszName : L""), m_nRole(nRole), m_rect(rect), m_pHost(pHost) {}

CSampleAccessible* CSampleAccessible::Create(const SampleAccessibleHost* pHost, const wchar_t* pszName, long nRole,
                                             const RECT& rect) {
    return new (std::nothrow) CSampleAccessible(pHost, pszName, nRole, rect);
}

CSampleAccessible* CSampleAccessible::AddChild(CSampleAccessible* pChild) {
    if (!pChild) return nullptr;
    pChild->m_pParent = this;
    m_children.emplace_back(pChild);
    return pChild;
}

void CSampleAccessible::AddElement(const wchar_t* pszName, long nRole, const RECT& rect) {
    SampleAccessibleElement element;
    element.name = pszName;
    element.nRole = nRole;
    element.rect = rect;
    m_elements.push_back(element);
}

STDMETHODIMP CSampleAccessible::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, kIidUnknown) || IsEqualIID(riid, kIidDispatch) || IsEqualIID(riid, kIidAccessible)) {
        *ppv = static_cast<IAccessible*>(this);
    } else if (IsEqualIID(riid, kIidOleWindow) && m_behaviour != kOrphan) {
        *ppv = static_cast<IOleWindow*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CSampleAccessible::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_nRefs)); }

STDMETHODIMP_(ULONG) CSampleAccessible::Release() {
    const LONG n = InterlockedDecrement(&m_nRefs);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

STDMETHODIMP CSampleAccessible::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo) *pctinfo = 0;
    return S_OK;
}
STDMETHODIMP CSampleAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP CSampleAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
STDMETHODIMP CSampleAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

CSampleAccessible::Target CSampleAccessible::Resolve(const VARIANT& varChild, size_t* pnIndex) const {
    if (varChild.vt != VT_I4) return kNone;
    const long n = varChild.lVal;
    if (n == CHILDID_SELF) return kSelf;
    if (n >= 1 && static_cast<size_t>(n) <= m_children.size()) {
        *pnIndex = static_cast<size_t>(n - 1);
        return kChild;
    }
    if (n > 0 && static_cast<size_t>(n) <= ChildCount()) {
        *pnIndex = static_cast<size_t>(n) - 1 - m_children.size();
        return kElement;
    }
    return kNone;
}

STDMETHODIMP CSampleAccessible::get_accParent(IDispatch** ppdispParent) {
    if (!ppdispParent) return E_POINTER;
    *ppdispParent = nullptr;
    if (m_behaviour == kOrphan || m_behaviour == kFailing) return E_FAIL;
    if (!m_pParent) return S_FALSE;
    m_pParent->AddRef();
    *ppdispParent = static_cast<IAccessible*>(m_pParent);
    return S_OK;
}

STDMETHODIMP CSampleAccessible::get_accChildCount(long* pcountChildren) {
    if (!pcountChildren) return E_POINTER;
    *pcountChildren = 0;
    if (m_behaviour == kFailing) return E_FAIL;
    *pcountChildren = static_cast<long>(ChildCount());
    return S_OK;
}

STDMETHODIMP CSampleAccessible::get_accChild(VARIANT varChild, IDispatch** ppdispChild) {
    if (!ppdispChild) return E_POINTER;
    *ppdispChild = nullptr;
    if (m_behaviour == kFailing) return E_FAIL;
    size_t nIndex = 0;
    switch (Resolve(varChild, &nIndex)) {
    case kChild:
        m_children[nIndex]->AddRef();
        *ppdispChild = static_cast<IAccessible*>(m_children[nIndex].Get());
        return S_OK;
    case kElement: return S_FALSE;
    default: return E_INVALIDARG;
    }
}

HRESULT CSampleAccessible::Text(const VARIANT& varChild, const std::wstring CSampleAccessible::*pField, BSTR* pOut) {
    if (!pOut) return E_POINTER;
    *pOut = nullptr;
    if (m_behaviour == kFailing) return E_FAIL;
    size_t nIndex = 0;
    const std::wstring* pText = nullptr;
    switch (Resolve(varChild, &nIndex)) {
    case kSelf: pText = &(this->*pField); break;
    case kChild: pText = &(m_children[nIndex].Get()->*pField); break;
    case kElement:
        if (pField != &CSampleAccessible::m_name) return S_FALSE;
        pText = &m_elements[nIndex].name;
        break;
    default: return E_INVALIDARG;
    }
    if (pText->empty()) return S_FALSE;
    *pOut = SysAllocStringLen(pText->c_str(), static_cast<UINT>(pText->size()));
    return *pOut ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CSampleAccessible::get_accName(VARIANT varChild, BSTR* pszName) {
    return Text(varChild, &CSampleAccessible::m_name, pszName);
}

STDMETHODIMP CSampleAccessible::get_accValue(VARIANT varChild, BSTR* pszValue) {
    if (m_behaviour == kFaultingValue) WriteThroughNull();
    return Text(varChild, &CSampleAccessible::m_value, pszValue);
}

STDMETHODIMP CSampleAccessible::get_accDescription(VARIANT varChild, BSTR* pszDescription) {
    if (m_behaviour == kFaulting) RaiseInOwnCode();
    return Text(varChild, &CSampleAccessible::m_description, pszDescription);
}

STDMETHODIMP CSampleAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole) {
    if (!pvarRole) return E_POINTER;
    VariantInit(pvarRole);
    if (m_behaviour == kFailing) return E_FAIL;
    size_t nIndex = 0;
    const CSampleAccessible* pObject = this;
    switch (Resolve(varChild, &nIndex)) {
    case kSelf: break;
    case kChild: pObject = m_children[nIndex].Get(); break;
    case kElement:
        pvarRole->vt = VT_I4;
        pvarRole->lVal = m_elements[nIndex].nRole;
        return S_OK;
    default: return E_INVALIDARG;
    }
    if (!pObject->m_roleText.empty()) {
        pvarRole->vt = VT_BSTR;
        pvarRole->bstrVal = SysAllocString(pObject->m_roleText.c_str());
        return pvarRole->bstrVal ? S_OK : E_OUTOFMEMORY;
    }
    pvarRole->vt = VT_I4;
    pvarRole->lVal = pObject->m_nRole;
    return S_OK;
}

STDMETHODIMP CSampleAccessible::get_accState(VARIANT varChild, VARIANT* pvarState) {
    if (!pvarState) return E_POINTER;
    VariantInit(pvarState);
    if (m_behaviour == kFailing) return E_FAIL;
    size_t nIndex = 0;
    long nState = 0;
    switch (Resolve(varChild, &nIndex)) {
    case kSelf: nState = IsOffScreen(CHILDID_SELF) ? STATE_SYSTEM_OFFSCREEN : 0; break;
    case kChild: nState = m_children[nIndex]->IsOffScreen(CHILDID_SELF) ? STATE_SYSTEM_OFFSCREEN : 0; break;
    case kElement: nState = IsOffScreen(varChild.lVal) ? STATE_SYSTEM_OFFSCREEN : 0; break;
    default: return E_INVALIDARG;
    }
    pvarState->vt = VT_I4;
    pvarState->lVal = nState | STATE_SYSTEM_FOCUSABLE;
    return S_OK;
}

STDMETHODIMP CSampleAccessible::get_accHelp(VARIANT, BSTR* pszHelp) {
    if (pszHelp) *pszHelp = nullptr;
    return S_FALSE;
}
STDMETHODIMP CSampleAccessible::get_accHelpTopic(BSTR* pszHelpFile, VARIANT, long* pidTopic) {
    if (pszHelpFile) *pszHelpFile = nullptr;
    if (pidTopic) *pidTopic = 0;
    return S_FALSE;
}
STDMETHODIMP CSampleAccessible::get_accKeyboardShortcut(VARIANT, BSTR* pszKeyboardShortcut) {
    if (pszKeyboardShortcut) *pszKeyboardShortcut = nullptr;
    return S_FALSE;
}
STDMETHODIMP CSampleAccessible::get_accFocus(VARIANT* pvarChild) {
    if (pvarChild) VariantInit(pvarChild);
    return S_FALSE;
}
STDMETHODIMP CSampleAccessible::get_accSelection(VARIANT* pvarChildren) {
    if (pvarChildren) VariantInit(pvarChildren);
    return S_FALSE;
}
STDMETHODIMP CSampleAccessible::get_accDefaultAction(VARIANT, BSTR* pszDefaultAction) {
    if (pszDefaultAction) *pszDefaultAction = nullptr;
    return S_FALSE;
}
STDMETHODIMP CSampleAccessible::accSelect(long, VARIANT) { return E_NOTIMPL; }
STDMETHODIMP CSampleAccessible::accDoDefaultAction(VARIANT) { return E_NOTIMPL; }
STDMETHODIMP CSampleAccessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
STDMETHODIMP CSampleAccessible::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

RECT CSampleAccessible::ClientRect(long nChildId) const {
    RECT rect = m_rect;
    if (nChildId > 0 && static_cast<size_t>(nChildId) > m_children.size() &&
        static_cast<size_t>(nChildId) <= ChildCount()) {
        rect = m_elements[static_cast<size_t>(nChildId) - 1 - m_children.size()].rect;
    }
    if (m_bScrolls && m_pHost) OffsetRect(&rect, -m_pHost->scroll.x, -m_pHost->scroll.y);
    return rect;
}

RECT CSampleAccessible::ScreenRect(long nChildId) const {
    RECT rect = {0, 0, 0, 0};
    if (!m_pHost || !m_pHost->hwnd) return rect;
    if (m_bWholeWindow && nChildId == CHILDID_SELF) {
        GetWindowRect(m_pHost->hwnd, &rect);
        return rect;
    }
    rect = ClientRect(nChildId);
    MapWindowPoints(m_pHost->hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool CSampleAccessible::IsOffScreen(long nChildId) const {
    if (!m_bScrolls || !m_pHost || !m_pHost->hwnd) return false;
    RECT client, rect = ClientRect(nChildId), both;
    GetClientRect(m_pHost->hwnd, &client);
    return !IntersectRect(&both, &client, &rect);
}

STDMETHODIMP CSampleAccessible::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                            VARIANT varChild) {
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) return E_POINTER;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (m_behaviour == kFailing) return E_FAIL;
    size_t nIndex = 0;
    RECT rect;
    switch (Resolve(varChild, &nIndex)) {
    case kSelf: rect = ScreenRect(CHILDID_SELF); break;
    case kChild: rect = m_children[nIndex]->ScreenRect(CHILDID_SELF); break;
    case kElement: rect = ScreenRect(varChild.lVal); break;
    default: return E_INVALIDARG;
    }
    *pxLeft = rect.left;
    *pyTop = rect.top;
    *pcxWidth = rect.right - rect.left;
    *pcyHeight = rect.bottom - rect.top;
    return S_OK;
}

STDMETHODIMP CSampleAccessible::accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) {
    if (!pvarEndUpAt) return E_POINTER;
    VariantInit(pvarEndUpAt);
    if (m_behaviour == kFailing) return E_FAIL;
    if (varStart.vt != VT_I4 || varStart.lVal != CHILDID_SELF) return E_INVALIDARG;
    if (navDir == NAVDIR_FIRSTCHILD || navDir == NAVDIR_LASTCHILD) {
        if (!m_children.empty()) {
            CSampleAccessible* pChild = navDir == NAVDIR_FIRSTCHILD ? m_children.front().Get() : m_children.back().Get();
            pChild->AddRef();
            pvarEndUpAt->vt = VT_DISPATCH;
            pvarEndUpAt->pdispVal = static_cast<IAccessible*>(pChild);
            return S_OK;
        }
        if (!m_elements.empty()) {
            pvarEndUpAt->vt = VT_I4;
            pvarEndUpAt->lVal = navDir == NAVDIR_FIRSTCHILD ? 1 : static_cast<long>(ChildCount());
            return S_OK;
        }
    }
    return S_FALSE;
}

STDMETHODIMP CSampleAccessible::accHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
    if (!pvarChild) return E_POINTER;
    VariantInit(pvarChild);
    if (m_behaviour == kFailing) return E_FAIL;
    const POINT point = {xLeft, yTop};
    for (size_t i = 0; i < m_children.size(); ++i) {
        CSampleAccessible* pChild = m_children[i].Get();
        RECT rect = pChild->ScreenRect(CHILDID_SELF);
        if (!pChild->IsOffScreen(CHILDID_SELF) && PtInRect(&rect, point)) {
            pChild->AddRef();
            pvarChild->vt = VT_DISPATCH;
            pvarChild->pdispVal = static_cast<IAccessible*>(pChild);
            return S_OK;
        }
    }
    for (size_t i = 0; i < m_elements.size(); ++i) {
        const long nChildId = static_cast<long>(m_children.size() + i + 1);
        RECT rect = ScreenRect(nChildId);
        if (!IsOffScreen(nChildId) && PtInRect(&rect, point)) {
            pvarChild->vt = VT_I4;
            pvarChild->lVal = nChildId;
            return S_OK;
        }
    }
    RECT rect = ScreenRect(CHILDID_SELF);
    if (PtInRect(&rect, point)) {
        pvarChild->vt = VT_I4;
        pvarChild->lVal = CHILDID_SELF;
        return S_OK;
    }
    return S_FALSE;
}

STDMETHODIMP CSampleAccessible::GetWindow(HWND* phwnd) {
    if (!phwnd) return E_POINTER;
    *phwnd = m_pHost ? m_pHost->hwnd : nullptr;
    return *phwnd ? S_OK : E_FAIL;
}

STDMETHODIMP CSampleAccessible::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }
