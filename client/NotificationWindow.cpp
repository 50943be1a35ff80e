#include "client/NotificationWindow.h"

namespace {
const char kClassName[] = "VintrelNotificationWindow";
// Registered window messages lie in this range.
const UINT kFirstRegistered = 0xC000, kLastRegistered = 0xFFFF;
}  // namespace

CNotificationWindow::CNotificationWindow(Callback callback) : m_callback(std::move(callback)) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);  // fails harmlessly when registered before
    m_window.Reset(CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), this));
}

LRESULT CALLBACK CNotificationWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    CNotificationWindow* self = reinterpret_cast<CNotificationWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message >= kFirstRegistered && message <= kLastRegistered) {
        if (self->m_callback) self->m_callback(message, wParam, lParam);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void CNotificationWindow::Pump(DWORD waitMs, const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done && done()) return;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= waitMs) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs - elapsed, QS_ALLINPUT);
    }
}
