// One object of the sample's own accessibility tree: a full object with
// its name, role (a number, or a string), description, value, state,
// rectangle, full children and simple elements. It answers IAccessible
// (and IOleWindow, so that its window and class can be found), except in
// the behaviours that exist to test failure: an object that fails every
// property call, one that raises a structured exception inside its own
// description code, one that faults in its value code, and an orphan with neither a window nor a
// parent.
//
// Rectangles are kept in client coordinates of the host window; an object
// of a scrolling area moves with the area's scroll position and is marked
// off screen when it lies wholly outside the area's client rectangle.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "common/ComOwned.h"

class CSampleAccessible;

// Where the objects of one window sit: the window, and the scroll offset
// (content coordinates minus client coordinates) of a scrolling area.
struct SampleAccessibleHost {
    HWND hwnd = nullptr;
    POINT scroll = {0, 0};
};

struct SampleAccessibleElement {
    std::wstring name;
    long nRole = ROLE_SYSTEM_LISTITEM;
    RECT rect = {0, 0, 0, 0};  // client coordinates of the host
};

class CSampleAccessible : public IAccessible, public IOleWindow {
public:
    // kFaulting raises an exception of its own in its description code,
    // kFaultingValue writes where no process may in its value code.
    enum Behaviour { kNormal, kFailing, kFaulting, kFaultingValue, kOrphan };

    // A new object with one reference, held by the caller.
    static CSampleAccessible* Create(const SampleAccessibleHost* pHost, const wchar_t* pszName, long nRole,
                                     const RECT& rect);

    // Adds a child (the tree holds one reference) and returns it.
    CSampleAccessible* AddChild(CSampleAccessible* pChild);
    void AddElement(const wchar_t* pszName, long nRole, const RECT& rect);

    std::wstring m_name;
    std::wstring m_roleText;  // not empty: the role is reported as this string
    std::wstring m_description;
    std::wstring m_value;
    long m_nRole;
    RECT m_rect;
    bool m_bScrolls = false;       // moves with the host's scroll offset
    bool m_bWholeWindow = false;   // the host's window rectangle, not m_rect
    Behaviour m_behaviour = kNormal;
    CSampleAccessible* m_pParent = nullptr;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** ppdispParent) override;
    STDMETHODIMP get_accChildCount(long* pcountChildren) override;
    STDMETHODIMP get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override;
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) override;
    STDMETHODIMP get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    STDMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) override;
    STDMETHODIMP get_accHelp(VARIANT, BSTR* pszHelp) override;
    STDMETHODIMP get_accHelpTopic(BSTR* pszHelpFile, VARIANT, long* pidTopic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT, BSTR* pszKeyboardShortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* pvarChild) override;
    STDMETHODIMP get_accSelection(VARIANT* pvarChildren) override;
    STDMETHODIMP get_accDefaultAction(VARIANT, BSTR* pszDefaultAction) override;
    STDMETHODIMP accSelect(long, VARIANT) override;
    STDMETHODIMP accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    STDMETHODIMP accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
    STDMETHODIMP accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    STDMETHODIMP accDoDefaultAction(VARIANT) override;
    STDMETHODIMP put_accName(VARIANT, BSTR) override;
    STDMETHODIMP put_accValue(VARIANT, BSTR) override;
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override;

    // Screen rectangle of the object (0) or of child id n.
    RECT ScreenRect(long nChildId) const;
    bool IsOffScreen(long nChildId) const;
    size_t ChildCount() const { return m_children.size() + m_elements.size(); }

private:
    CSampleAccessible(const SampleAccessibleHost* pHost, const wchar_t* pszName, long nRole, const RECT& rect);
    virtual ~CSampleAccessible() = default;

    // 0: the object; 1..children: a full child; then the elements. -1: none.
    enum Target { kSelf, kChild, kElement, kNone };
    Target Resolve(const VARIANT& varChild, size_t* pnIndex) const;
    HRESULT Text(const VARIANT& varChild, const std::wstring CSampleAccessible::*pField, BSTR* pOut);
    RECT ClientRect(long nChildId) const;

    LONG m_nRefs = 1;
    const SampleAccessibleHost* m_pHost;
    std::vector<TComPtr<CSampleAccessible>> m_children;
    std::vector<SampleAccessibleElement> m_elements;
};
