#include "client/ProxyWindow.h"

CProxyWindow::CProxyWindow()
    : m_hwnd(nullptr),
      m_dwThreadId(0),
      m_nClickMsg(RegisterWindowMessageA(ProxyNames::kMouseClickMsg)),
      m_bClicking(true),
      m_dwSettleMs(120) {}

CProxyWindow::~CProxyWindow() { Stop(); }

bool CProxyWindow::Start(std::string* error) {
    if (m_hwnd) return true;
    m_taskDone.Reset(CreateEventA(nullptr, FALSE, FALSE, ProxyNames::kTaskDoneEvent));
    m_cancel.Reset(CreateEventA(nullptr, TRUE, FALSE, ProxyNames::kCancelEvent));
    if (!m_taskDone || !m_cancel) {
        if (error) *error = "the proxy's events cannot be created (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    ResetEvent(m_cancel.Get());
    m_ready.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_thread.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, &m_dwThreadId));
    if (!m_thread || !m_ready) {
        if (error) *error = "the proxy's thread cannot be started";
        return false;
    }
    HANDLE handles[2] = {m_ready.Get(), m_thread.Get()};
    WaitForMultipleObjects(2, handles, FALSE, 10000);
    if (!m_hwnd) {
        if (error) *error = "the proxy window cannot be created";
        Stop();
        return false;
    }
    return true;
}

void CProxyWindow::Stop() {
    if (m_thread) {
        PostThreadMessageA(m_dwThreadId, WM_QUIT, 0, 0);
        if (m_hwnd) PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
        WaitForSingleObject(m_thread.Get(), 10000);
        m_thread.Reset();
    }
    m_hwnd = nullptr;
    m_taskDone.Reset();
    m_cancel.Reset();
}

void CProxyWindow::Cancel() {
    if (m_cancel) SetEvent(m_cancel.Get());
}

void CProxyWindow::ResetCancel() {
    if (m_cancel) ResetEvent(m_cancel.Get());
}

void CProxyWindow::SetObserver(std::function<void(POINT)> observer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_observer = std::move(observer);
}

std::vector<POINT> CProxyWindow::Clicks() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_clicks;
}

void CProxyWindow::ClearClicks() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_clicks.clear();
}

bool CProxyWindow::MoveCursor(int x, int y) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        SetCursorPos(x, y);
        Sleep(30);
        SetCursorPos(x, y);
        POINT at = {0, 0};
        if (GetCursorPos(&at) && at.x == x && at.y == y) return true;
    }
    return false;
}

bool CProxyWindow::ClickAt(int x, int y) {
    if (!MoveCursor(x, y)) return false;
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    if (SendInput(1, &inputs[0], sizeof(INPUT)) != 1) return false;
    Sleep(20);
    return SendInput(1, &inputs[1], sizeof(INPUT)) == 1;
}

void CProxyWindow::OnClickRequest(int x, int y) {
    const POINT point = {x, y};
    std::function<void(POINT)> observer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_clicks.push_back(point);
        observer = m_observer;
    }
    if (observer) observer(point);
    if (m_bClicking) {
        ClickAt(x, y);
        Sleep(m_dwSettleMs);
    }
    SetEvent(m_taskDone.Get());
}

LRESULT CALLBACK CProxyWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CProxyWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message == self->m_nClickMsg) {
        self->OnClickRequest(static_cast<int>(static_cast<LONG_PTR>(wParam)), static_cast<int>(lParam));
        return 0;
    }
    if (message == WM_CLOSE) {
        // The thread's loop ends; the window goes with the thread.
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

DWORD WINAPI CProxyWindow::ThreadMain(void* pParameter) {
    auto* self = static_cast<CProxyWindow*>(pParameter);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = ProxyNames::kClassName;
    RegisterClassA(&wc);  // already registered by an earlier proxy: fine
    // A message-only window would not be found by FindWindow: a hidden
    // top-level window is.
    COwnedWindow window(CreateWindowExA(WS_EX_TOOLWINDOW, ProxyNames::kClassName, nullptr, WS_POPUP, 0, 0, 0, 0,
                                        nullptr, nullptr, wc.hInstance, self));
    self->m_hwnd = window.Get();
    SetEvent(self->m_ready.Get());
    if (!window) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    self->m_hwnd = nullptr;
    return 0;
}
