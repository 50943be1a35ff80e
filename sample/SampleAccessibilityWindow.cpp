#include "sample/SampleAccessibilityWindow.h"

#include <memory>
#include <string>

#include "accessibility/AccessibleInterface.h"
#include "sample/SampleResources.h"
#include "sample/SampleProtocol.h"

namespace {

std::wstring Wide(const char* psz) {
    std::wstring text;
    for (; psz && *psz; ++psz) text += static_cast<wchar_t>(static_cast<unsigned char>(*psz));
    return text;
}

RECT Rect(int left, int top, int right, int bottom) {
    RECT r = {left, top, right, bottom};
    return r;
}

CSampleAccessible* Add(CSampleAccessible* pParent, const SampleAccessibleHost* pHost, const wchar_t* pszName,
                       long nRole, const RECT& rect) {
    return pParent->AddChild(CSampleAccessible::Create(pHost, pszName, nRole, rect));
}

}  // namespace

CSampleAccessibilityWindow::~CSampleAccessibilityWindow() {
    if (m_hPopup) DestroyMenu(m_hPopup);
}

bool CSampleAccessibilityWindow::CreateFor(HWND hwndOwner) {
    static std::unique_ptr<CSampleAccessibilityWindow> s_window;
    if (s_window) return false;
    s_window.reset(new CSampleAccessibilityWindow());
    return s_window->Create(hwndOwner);
}

bool CSampleAccessibilityWindow::Create(HWND hwndOwner) {
    // Other processes reach the objects through COM's marshalling.
    // (COM stays initialised on the thread for the life of the process.)
    m_bComReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    HINSTANCE hinst = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hinst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = sample::kAccWindowClass;
    if (!RegisterClassA(&wc)) return false;
    wc.lpfnWndProc = ScrollerProc;
    wc.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
    wc.lpszClassName = sample::kAccScrollerClass;
    if (!RegisterClassA(&wc)) return false;

    m_hPopup = BuildPopupMenu();
    HWND hwnd = CreateWindowExA(0, sample::kAccWindowClass, sample::kAccWindowTitle,
                                WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN, sample::kAccWindowX,
                                sample::kAccWindowY, sample::kAccWindowWidth, sample::kAccWindowHeight, hwndOwner,
                                nullptr, hinst, this);
    if (!hwnd) return false;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    return true;
}

HMENU CSampleAccessibilityWindow::BuildPopupMenu() {
    using namespace sample;
    HMENU deeper = CreatePopupMenu();
    AppendMenuA(deeper, MF_STRING, kAccCmdDeepest, "Deepest");
    AppendMenuA(deeper, MF_STRING, kAccCmdShared, "Shared");
    HMENU more = CreatePopupMenu();
    AppendMenuA(more, MF_STRING, kAccCmdSubItem, "Sub Item");
    AppendMenuA(more, MF_POPUP, reinterpret_cast<UINT_PTR>(deeper), "Deeper");
    HMENU other = CreatePopupMenu();
    AppendMenuA(other, MF_STRING, kAccCmdTarget, "Target");
    AppendMenuA(other, MF_STRING, kAccCmdShared, "Shared");
    HMENU root = CreatePopupMenu();
    AppendMenuA(root, MF_STRING, kAccCmdOpenItem, "Open Item");
    AppendMenuA(root, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "More");
    AppendMenuA(root, MF_POPUP, reinterpret_cast<UINT_PTR>(other), "Other");
    AppendMenuA(root, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(root, MF_STRING, kAccCmdShared, "Shared");
    AppendMenuA(root, MF_STRING, kAccCmdTwice, "Twice");
    AppendMenuA(root, MF_STRING, kAccCmdTwice, "Twice");
    return root;
}

void CSampleAccessibilityWindow::BuildTree() {
    const SampleAccessibleHost* h = &m_host;
    m_root.Reset(CSampleAccessible::Create(h, L"Accessibility Sample", ROLE_SYSTEM_CLIENT, Rect(0, 0, 0, 0)));
    if (!m_root) return;
    m_root->m_bWholeWindow = true;
    CSampleAccessible* root = m_root.Get();

    CSampleAccessible* buttons = Add(root, h, L"Buttons", ROLE_SYSTEM_GROUPING, Rect(10, 10, 590, 110));
    if (CSampleAccessible* ok = Add(buttons, h, L"OK", ROLE_SYSTEM_PUSHBUTTON, Rect(20, 30, 120, 60))) {
        ok->m_description = L"Accept the changes";
    }
    if (CSampleAccessible* twin = Add(buttons, h, L"Twin", ROLE_SYSTEM_PUSHBUTTON, Rect(130, 30, 230, 60))) {
        twin->m_description = L"First twin";
    }
    if (CSampleAccessible* twin = Add(buttons, h, L"Twin", ROLE_SYSTEM_PUSHBUTTON, Rect(240, 30, 340, 60))) {
        twin->m_description = L"Second twin";
    }
    if (CSampleAccessible* level = Add(buttons, h, L"Level", ROLE_SYSTEM_SLIDER, Rect(350, 30, 580, 60))) {
        level->m_value = L"42";
    }
    if (CSampleAccessible* nameless = Add(buttons, h, L"", ROLE_SYSTEM_PUSHBUTTON, Rect(350, 70, 580, 100))) {
        Add(nameless, h, L"Inner Label", ROLE_SYSTEM_STATICTEXT, Rect(350, 70, 580, 100));
    }
    buttons->AddElement(L"Alpha", ROLE_SYSTEM_LISTITEM, Rect(20, 70, 120, 100));
    buttons->AddElement(L"Beta", ROLE_SYSTEM_LISTITEM, Rect(130, 70, 230, 100));
    buttons->AddElement(L"Gamma", ROLE_SYSTEM_LISTITEM, Rect(240, 70, 340, 100));

    CSampleAccessible* custom = Add(root, h, L"Custom", ROLE_SYSTEM_GROUPING, Rect(10, 120, 590, 220));
    if (CSampleAccessible* gauge = Add(custom, h, L"Pressure", ROLE_SYSTEM_INDICATOR, Rect(20, 140, 120, 170))) {
        gauge->m_roleText = L"gauge";
        gauge->m_value = L"7 bar";
    }
    if (CSampleAccessible* orphan = Add(custom, h, L"Orphan", ROLE_SYSTEM_PUSHBUTTON, Rect(130, 140, 230, 170))) {
        orphan->m_behaviour = CSampleAccessible::kOrphan;
    }
    const std::wstring longName = L"Long " + std::wstring(295, L'n');
    if (CSampleAccessible* longer = Add(custom, h, longName.c_str(), ROLE_SYSTEM_TEXT, Rect(240, 140, 340, 170))) {
        longer->m_description = std::wstring(300, L'd');
        longer->m_roleText = std::wstring(300, L'r');
    }
    Add(custom, h, L"Clone", ROLE_SYSTEM_PUSHBUTTON, Rect(350, 140, 460, 170));
    Add(custom, h, L"Clone", ROLE_SYSTEM_PUSHBUTTON, Rect(470, 140, 580, 170));
    Add(custom, h, L"Stacked", ROLE_SYSTEM_PUSHBUTTON, Rect(20, 180, 120, 210));
    Add(custom, h, L"Stacked", ROLE_SYSTEM_PUSHBUTTON, Rect(20, 180, 120, 210));
    custom->AddElement(L"Chip", ROLE_SYSTEM_LISTITEM, Rect(130, 180, 230, 210));
    custom->AddElement(L"Chip", ROLE_SYSTEM_LISTITEM, Rect(240, 180, 340, 210));

    CSampleAccessible* failing = Add(root, h, L"Failing", ROLE_SYSTEM_GROUPING, Rect(10, 230, 590, 280));
    if (CSampleAccessible* broken = Add(failing, h, L"Broken", ROLE_SYSTEM_PUSHBUTTON, Rect(20, 240, 120, 270))) {
        broken->m_behaviour = CSampleAccessible::kFailing;
    }
    if (CSampleAccessible* faulty = Add(failing, h, L"Faulty", ROLE_SYSTEM_PUSHBUTTON, Rect(130, 240, 230, 270))) {
        faulty->m_behaviour = CSampleAccessible::kFaulting;
        faulty->m_description = L"never read";
    }
    Add(failing, h, L"After Faulty", ROLE_SYSTEM_PUSHBUTTON, Rect(240, 240, 340, 270));
    if (CSampleAccessible* faulty = Add(failing, h, L"Faulty Value", ROLE_SYSTEM_PUSHBUTTON, Rect(350, 240, 450, 270))) {
        faulty->m_behaviour = CSampleAccessible::kFaultingValue;
        faulty->m_description = L"Its value faults";
    }

    // The scrolling area's root is also a child of this tree, which holds a
    // reference of its own.
    if (m_scrollerRoot) root->AddChild(TComPtr<CSampleAccessible>::AddRefed(m_scrollerRoot.Get()).Detach());

    CSampleAccessible* grid = Add(root, h, L"Grid", ROLE_SYSTEM_TABLE, Rect(10, 600, 590, 960));
    for (int i = 0; i < 10 && grid; ++i) {
        const int x = 12 + 57 * i;
        wchar_t name[32];
        wsprintfW(name, L"Panel %d", i);
        CSampleAccessible* panel = Add(grid, h, name, ROLE_SYSTEM_GROUPING, Rect(x, 602, x + 55, 958));
        for (int j = 0; j < 10 && panel; ++j) {
            const int y = 604 + 35 * j;
            wsprintfW(name, L"Row %d.%d", i, j);
            CSampleAccessible* row = Add(panel, h, name, ROLE_SYSTEM_ROW, Rect(x, y, x + 55, y + 33));
            for (int k = 0; k < 10 && row; ++k) {
                wsprintfW(name, L"Cell %d.%d.%d", i, j, k);
                Add(row, h, name, ROLE_SYSTEM_CELL, Rect(x + 2 + 5 * k, y + 2, x + 6 + 5 * k, y + 31));
            }
        }
    }
}

void CSampleAccessibilityWindow::BuildScrollerTree() {
    using namespace sample;
    const SampleAccessibleHost* h = &m_scrollerHost;
    m_scrollerRoot.Reset(CSampleAccessible::Create(h, L"Scroll Area", ROLE_SYSTEM_PANE, Rect(0, 0, 0, 0)));
    if (!m_scrollerRoot) return;
    m_scrollerRoot->m_bWholeWindow = true;
    RECT client;
    GetClientRect(m_scrollerHost.hwnd, &client);
    CSampleAccessible* content = Add(m_scrollerRoot.Get(), h, L"Content", ROLE_SYSTEM_GROUPING, client);
    for (int i = 0; i < kAccScrollItemCount && content; ++i) {
        const AccScrollItem& item = kAccScrollItems[i];
        CSampleAccessible* object = Add(content, h, Wide(item.pszName).c_str(), ROLE_SYSTEM_LISTITEM,
                                        Rect(item.left, item.top, item.right, item.bottom));
        if (!object) continue;
        object->m_value = Wide(item.pszValue);
        object->m_bScrolls = true;
    }
}

void CSampleAccessibilityWindow::UpdateScrollBars() {
    RECT client;
    GetClientRect(m_scrollerHost.hwnd, &client);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMax = sample::kAccContentWidth - 1;
    info.nPage = static_cast<UINT>(client.right);
    info.nPos = m_scrollerHost.scroll.x;
    SetScrollInfo(m_scrollerHost.hwnd, SB_HORZ, &info, TRUE);
    info.nMax = sample::kAccContentHeight - 1;
    info.nPage = static_cast<UINT>(client.bottom);
    info.nPos = m_scrollerHost.scroll.y;
    SetScrollInfo(m_scrollerHost.hwnd, SB_VERT, &info, TRUE);
}

void CSampleAccessibilityWindow::ScrollTo(int x, int y) {
    RECT client;
    GetClientRect(m_scrollerHost.hwnd, &client);
    const int maxX = sample::kAccContentWidth - client.right;
    const int maxY = sample::kAccContentHeight - client.bottom;
    m_scrollerHost.scroll.x = x < 0 ? 0 : (x > maxX ? maxX : x);
    m_scrollerHost.scroll.y = y < 0 ? 0 : (y > maxY ? maxY : y);
    UpdateScrollBars();
    InvalidateRect(m_scrollerHost.hwnd, nullptr, TRUE);
}

void CSampleAccessibilityWindow::OnScroll(int nBar, WORD nCode) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(m_scrollerHost.hwnd, nBar, &info);
    int pos = nBar == SB_HORZ ? m_scrollerHost.scroll.x : m_scrollerHost.scroll.y;
    switch (nCode) {
    case SB_LINEUP: pos -= sample::kAccLineStep; break;
    case SB_LINEDOWN: pos += sample::kAccLineStep; break;
    case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
    }
    if (nBar == SB_HORZ) {
        ScrollTo(pos, m_scrollerHost.scroll.y);
    } else {
        ScrollTo(m_scrollerHost.scroll.x, pos);
    }
}

void CSampleAccessibilityWindow::OpenPopup(int x, int y) {
    if (!m_hPopup || m_bPopupOpen) return;
    m_bPopupOpen = true;
    SetForegroundWindow(m_host.hwnd);
    TrackPopupMenu(m_hPopup, TPM_LEFTALIGN | TPM_TOPALIGN, x, y, 0, m_host.hwnd, nullptr);
    m_bPopupOpen = false;
}

void CSampleAccessibilityWindow::Paint(HDC hdc, CSampleAccessible* pObject, const SampleAccessibleHost& host,
                                       int nDepth) {
    if (!pObject || nDepth > 4) return;
    IAccessible* pAcc = pObject;
    long nCount = 0;
    pAcc->get_accChildCount(&nCount);
    for (long i = 1; i <= nCount; ++i) {
        VARIANT child = ChildVariant(i);
        TComPtr<IDispatch> dispatch;
        RECT rect = pObject->ScreenRect(i);
        if (pObject->get_accChild(child, dispatch.Put()) == S_OK && dispatch) {
            CSampleAccessible* pChild = static_cast<CSampleAccessible*>(static_cast<IAccessible*>(dispatch.Get()));
            if (pChild->m_bWholeWindow) continue;  // another window paints it
            rect = pChild->ScreenRect(CHILDID_SELF);
            MapWindowPoints(nullptr, host.hwnd, reinterpret_cast<POINT*>(&rect), 2);
            FrameRect(hdc, &rect, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            if (nDepth < 3) {
                std::string name;
                for (wchar_t c : pChild->m_name) name += c < 0x80 ? static_cast<char>(c) : '?';
                if (name.size() > 24) name.resize(24);
                RECT text = rect;
                InflateRect(&text, -2, -1);
                DrawTextA(hdc, name.c_str(), -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
            }
            Paint(hdc, pChild, host, nDepth + 1);
        } else {
            MapWindowPoints(nullptr, host.hwnd, reinterpret_cast<POINT*>(&rect), 2);
            FrameRect(hdc, &rect, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        }
    }
}

LRESULT CALLBACK CSampleAccessibilityWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<CSampleAccessibilityWindow*>(create->lpCreateParams)->m_host.hwnd = hwnd;
    }
    auto* self = reinterpret_cast<CSampleAccessibilityWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) return self->Handle(message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CSampleAccessibilityWindow::ScrollerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<CSampleAccessibilityWindow*>(create->lpCreateParams)->m_scrollerHost.hwnd = hwnd;
    }
    auto* self = reinterpret_cast<CSampleAccessibilityWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) return self->HandleScroller(message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CSampleAccessibilityWindow::HandleScroller(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = m_scrollerHost.hwnd;
    switch (message) {
    case WM_GETOBJECT:
        if ((static_cast<LONG>(lParam) == OBJID_WINDOW || static_cast<LONG>(lParam) == OBJID_CLIENT) && m_scrollerRoot) {
            CSampleResources::NoteObjectHandedOut();
            return LresultFromObject(kIidAccessible, wParam, static_cast<IAccessible*>(m_scrollerRoot.Get()));
        }
        break;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        SetBkMode(hdc, TRANSPARENT);
        if (m_scrollerRoot) Paint(hdc, m_scrollerRoot.Get(), m_scrollerHost, 1);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CSampleAccessibilityWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    using namespace sample;
    HWND hwnd = m_host.hwnd;
    switch (message) {
    case WM_CREATE:
        CreateWindowExA(0, kAccScrollerClass, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, kAccScrollerX,
                        kAccScrollerY, kAccScrollerWidth, kAccScrollerHeight, hwnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAccScrollerId)), GetModuleHandleA(nullptr),
                        this);
        BuildScrollerTree();
        if (m_scrollerRoot) m_scrollerRoot->m_pParent = nullptr;
        BuildTree();
        UpdateScrollBars();
        return 0;
    case WM_GETOBJECT:
        if ((static_cast<LONG>(lParam) == OBJID_WINDOW || static_cast<LONG>(lParam) == OBJID_CLIENT) && m_root) {
            CSampleResources::NoteObjectHandedOut();
            return LresultFromObject(kIidAccessible, wParam, static_cast<IAccessible*>(m_root.Get()));
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        SetBkMode(hdc, TRANSPARENT);
        if (m_root) Paint(hdc, m_root.Get(), m_host, 1);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case kMsgAccScrollTo: ScrollTo(static_cast<int>(wParam), static_cast<int>(lParam)); return 1;
    case kMsgAccGetScroll: return MAKELONG(m_scrollerHost.scroll.x, m_scrollerHost.scroll.y);
    case kMsgAccOpenPopup:
        // Opened from the thread's own queue, so that the sender is not held
        // inside the menu's loop.
        PostMessageA(hwnd, WM_APP + 79, wParam, lParam);
        return 1;
    case WM_APP + 79: OpenPopup(static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
    case kMsgAccClosePopup:
        if (m_bPopupOpen) EndMenu();
        return 1;
    case kMsgAccGetPopupMenu: return static_cast<LRESULT>(reinterpret_cast<ULONG_PTR>(m_hPopup));
    case kMsgAccIsPopupOpen: return m_bPopupOpen ? 1 : 0;
    case kMsgAccMenuItemRect: {
        RECT r;
        HMENU hMenu = reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(wParam));
        if (!m_bPopupOpen || !IsMenu(hMenu) || !GetMenuItemRect(nullptr, hMenu, static_cast<UINT>(lParam), &r)) return 0;
        return static_cast<LRESULT>((static_cast<ULONGLONG>(r.left & 0xFFFF)) |
                                    (static_cast<ULONGLONG>(r.top & 0xFFFF) << 16) |
                                    (static_cast<ULONGLONG>(r.right & 0xFFFF) << 32) |
                                    (static_cast<ULONGLONG>(r.bottom & 0xFFFF) << 48));
    }
    default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
