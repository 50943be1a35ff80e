#include "sample/SampleWatchWindow.h"

#include <cstring>
#include <string>
#include <vector>

#include "sample/SampleProtocol.h"

namespace {

// Private messages that run the modal loops after the request that asked
// for them has been answered.
const UINT kRunMenu = WM_APP + 0x300;
const UINT kRunDialog = WM_APP + 0x301;

// What the sample's own hooks and procedures counted.
LONG g_nPostedPingsSeen = 0;
LONG g_nSentPingsSeen = 0;
LONG g_nIdleInWatchWindow = 0;
LONG g_nIdleInMenuOwner = 0;
CSampleWatchWindow* g_pWatchWindow = nullptr;

void RegisterClassOnce(const char* name, WNDPROC proc, int colour) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(colour);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

CSampleWatchWindow::~CSampleWatchWindow() {
    if (g_pWatchWindow == this) g_pWatchWindow = nullptr;
}

bool CSampleWatchWindow::Create(HWND owner, bool bOwnHooks) {
    RegisterClassOnce(sample::kWatchWindowClass, WindowProc, COLOR_BTNFACE);
    RegisterClassOnce(sample::kCaretPadClass, CaretPadProc, COLOR_WINDOW);
    RegisterClassOnce(sample::kMenuOwnerClass, MenuOwnerProc, COLOR_INFOBK);
    RECT frame = {40, 40, 940, 740};
    if (owner) GetWindowRect(owner, &frame);
    m_hwnd = CreateWindowExA(0, sample::kWatchWindowClass, sample::kWatchWindowTitle, WS_POPUP | WS_CAPTION | WS_VISIBLE,
                             frame.left, frame.top + sample::kWatchWindowYOffset, sample::kWatchWindowWidth,
                             sample::kWatchWindowHeight, owner, nullptr, GetModuleHandleA(nullptr), this);
    if (!m_hwnd) return false;
    g_pWatchWindow = this;
    // Hooks of the application's own on its thread, older than any hook a
    // controller adds later: they must go on seeing the thread's messages.
    if (bOwnHooks) {
        const DWORD thread = GetCurrentThreadId();
        m_ownGetMessageHook.Reset(SetWindowsHookExA(WH_GETMESSAGE, OwnGetMessageHook, nullptr, thread));
        m_ownCallWndProcRetHook.Reset(SetWindowsHookExA(WH_CALLWNDPROCRET, OwnCallWndProcRetHook, nullptr, thread));
    }
    UpdateWindow(m_hwnd);
    return true;
}

void CSampleWatchWindow::CreateChildren() {
    using namespace sample;
    m_tabs.Create(m_hwnd, 4);
    Child(m_hwnd, kCaretPadClass, "", WS_BORDER, 10, 130, 300, 60, kCaretPadId);
    HWND edit = Child(m_hwnd, "EDIT", kEditText, WS_BORDER | ES_AUTOHSCROLL, 320, 130, 200, 24, kEditId);
    SendMessageA(edit, EM_SETSEL, 2, 5);
    m_hwndMenuOwner = MakeMenuOwner();
}

HWND CSampleWatchWindow::MakeMenuOwner() {
    return Child(m_hwnd, sample::kMenuOwnerClass, "menu owner", WS_BORDER, 530, 130, 200, 60, sample::kMenuOwnerId);
}

LRESULT CALLBACK CSampleWatchWindow::OwnGetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && msg && msg->message == sample::kMsgWatchPing && wParam == PM_REMOVE) ++g_nPostedPingsSeen;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CSampleWatchWindow::OwnCallWndProcRetHook(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code >= 0 && call && call->message == sample::kMsgWatchPing) ++g_nSentPingsSeen;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CSampleWatchWindow::RunContextMenu(bool bOwnerChild) {
    HWND owner = bOwnerChild && IsWindow(m_hwndMenuOwner) ? m_hwndMenuOwner : m_hwnd;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuA(menu, MF_STRING, sample::kCmdWatchFirst, "&First");
    AppendMenuA(menu, MF_STRING, sample::kCmdWatchSecond, "&Second");
    AppendMenuA(menu, MF_STRING, sample::kCmdWatchThird, "&Third");
    RECT r;
    GetWindowRect(owner, &r);
    m_bMenuOpen = true;
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, r.left + 10, r.top + 10, 0, owner, nullptr);
    m_bMenuOpen = false;
    DestroyMenu(menu);
}

INT_PTR CALLBACK CSampleWatchWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        if (g_pWatchWindow) g_pWatchWindow->m_hwndDialog = hwnd;
        CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 10, 10, 80, 24, hwnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), GetModuleHandleA(nullptr), nullptr);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void CSampleWatchWindow::RunDialog() {
    std::vector<WORD> buffer(sizeof(DLGTEMPLATE) / sizeof(WORD) + 64, 0);
    DLGTEMPLATE* t = reinterpret_cast<DLGTEMPLATE*>(buffer.data());
    t->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    t->cx = 120;
    t->cy = 50;
    WORD* p = reinterpret_cast<WORD*>(t + 1);
    *p++ = 0;  // menu
    *p++ = 0;  // class
    for (const char* c = sample::kWatchDialogTitle; *c; ++c) *p++ = static_cast<WORD>(*c);
    *p++ = 0;
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t, m_hwnd, DialogProc, 0);
    m_hwndDialog = nullptr;
}

LRESULT CSampleWatchWindow::OnCopyData(const COPYDATASTRUCT* data) {
    if (!data || !data->lpData || data->cbData == 0 || data->cbData > 4096) return 0;
    if (data->dwData < sample::kCopyDataTabBase) return 0;
    const ULONG_PTR which = data->dwData - sample::kCopyDataTabBase;
    const char* text = static_cast<const char*>(data->lpData);
    std::string s(text, strnlen(text, data->cbData));
    return m_tabs.Rename(static_cast<int>(which / 256), static_cast<int>(which % 256), s) ? 1 : 0;
}

LRESULT CSampleWatchWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    using namespace sample;
    switch (message) {
    case WM_CREATE:
        CreateChildren();
        return 0;
    case WM_ENTERIDLE:
        InterlockedIncrement(&g_nIdleInWatchWindow);
        return 0;
    case WM_COPYDATA:
        return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_CLOSE:
        return 0;  // goes with the frame
    }
    if (message == kRunMenu) {
        RunContextMenu(wParam == 1);
        return 0;
    }
    if (message == kRunDialog) {
        RunDialog();
        return 0;
    }
    if (message == kMsgWatchGetControl) return reinterpret_cast<LRESULT>(GetDlgItem(m_hwnd, static_cast<int>(wParam)));
    if (message == kMsgWatchSetCaret) {
        HWND pad = GetDlgItem(m_hwnd, kCaretPadId);
        if (static_cast<INT_PTR>(wParam) == -1) return DestroyCaret() ? 1 : 0;
        // A caret belongs to the thread: made afresh for the pad each time.
        CreateCaret(pad, nullptr, 2, 16);
        ShowCaret(pad);
        return SetCaretPos(static_cast<int>(wParam), static_cast<int>(lParam)) ? 1 : 0;
    }
    if (message == kMsgWatchOpenMenu) {
        PostMessageA(m_hwnd, kRunMenu, wParam, 0);
        return 1;
    }
    if (message == kMsgWatchOpenDialog) {
        PostMessageA(m_hwnd, kRunDialog, 0, 0);
        return 1;
    }
    if (message == kMsgWatchCloseModal) {
        if (m_bMenuOpen) EndMenu();
        if (m_hwndDialog) EndDialog(m_hwndDialog, IDCANCEL);
        return 1;
    }
    if (message == kMsgWatchGetModal) {
        if (wParam == 1) return m_bMenuOpen ? 1 : 0;
        return reinterpret_cast<LRESULT>(m_hwndDialog);
    }
    if (message == kMsgWatchIdleCount) {
        if (wParam == 2) {
            g_nIdleInWatchWindow = 0;
            g_nIdleInMenuOwner = 0;
            return 1;
        }
        return wParam == 1 ? g_nIdleInMenuOwner : g_nIdleInWatchWindow;
    }
    if (message == kMsgWatchChainCount) {
        if (wParam == 2) {
            g_nPostedPingsSeen = 0;
            g_nSentPingsSeen = 0;
            return 1;
        }
        return wParam == 1 ? g_nSentPingsSeen : g_nPostedPingsSeen;
    }
    if (message == kMsgWatchPing) return static_cast<LRESULT>(wParam + lParam);
    if (message == kMsgWatchSetTabImage) {
        return m_tabs.SetImage(static_cast<int>(wParam), LOWORD(lParam), static_cast<short>(HIWORD(lParam))) ? 1 : 0;
    }
    if (message == kMsgWatchReverseTabs) return m_tabs.Reverse(static_cast<int>(wParam)) ? 1 : 0;
    if (message == kMsgWatchResetTabs) {
        m_tabs.Reset();
        return 1;
    }
    if (message == kMsgWatchSetCurrentTab) {
        return m_tabs.SetCurrent(static_cast<int>(wParam), static_cast<int>(static_cast<INT_PTR>(lParam))) ? 1 : 0;
    }
    if (message == kMsgWatchMenuOwner) {
        if (wParam == 0) {
            // Destroyed on request: the test of a probe that outlives the owner.
            if (m_hwndMenuOwner) DestroyWindow(m_hwndMenuOwner);
            m_hwndMenuOwner = nullptr;
        } else if (!IsWindow(m_hwndMenuOwner)) {
            m_hwndMenuOwner = MakeMenuOwner();
        }
        return reinterpret_cast<LRESULT>(m_hwndMenuOwner);
    }
    if (message == kMsgWatchFillLParam) {
        if (!lParam || wParam > 8192) return 0;
        BYTE* out = reinterpret_cast<BYTE*>(lParam);
        for (WPARAM i = 0; i < wParam; ++i) out[i] = static_cast<BYTE>(i & 0xFF);
        return static_cast<LRESULT>(wParam);
    }
    if (message == kMsgWatchFillWParam) {
        if (!wParam) return 0;
        int32_t* out = reinterpret_cast<int32_t*>(wParam);
        out[0] = static_cast<int32_t>(lParam);
        out[1] = -static_cast<int32_t>(lParam);
        return 7;
    }
    if (message == kMsgWatchEchoWParam) return static_cast<LRESULT>(wParam);
    if (message == kMsgWatchSendStampedPing) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return SendMessageA(m_hwnd, kMsgWatchPing, 0, static_cast<LPARAM>(now.QuadPart));
    }
    return DefWindowProcA(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CSampleWatchWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CSampleWatchWindow* self = reinterpret_cast<CSampleWatchWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<CSampleWatchWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT CALLBACK CSampleWatchWindow::CaretPadProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == sample::kMsgWatchPing) return static_cast<LRESULT>(wParam + lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CSampleWatchWindow::MenuOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE) {
        InterlockedIncrement(&g_nIdleInMenuOwner);
        return 0;
    }
    if (message == sample::kMsgWatchPing) return static_cast<LRESULT>(wParam + lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
