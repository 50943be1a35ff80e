#include "tests/support/WatchSampleSuite.h"

#include <cstring>

#include "client/ApplicationProcess.h"

namespace {

const char kListenerClass[] = "VintrelTestListener";

}  // namespace

HWND FindWatchWindow(DWORD processId) { return FindTopWindowOfProcess(processId, sample::kWatchWindowClass, 1000); }

CListenerWindow::CListenerWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kListenerClass;
    RegisterClassA(&wc);
    m_window.Reset(CreateWindowExA(0, kListenerClass, "listener", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), this));
}

LRESULT CALLBACK CListenerWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    CListenerWindow* self = reinterpret_cast<CListenerWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // Registered messages only: the notifications of the agent.
    if (self && message >= 0xC000 && message <= 0xFFFF) {
        self->m_heard.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void CListenerWindow::Pump(DWORD waitMs, UINT message, size_t count) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (message && count && HeardOf(message).size() >= count) return;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= waitMs) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs - elapsed, QS_ALLINPUT);
    }
}

std::vector<CListenerWindow::Heard> CListenerWindow::HeardOf(UINT message) const {
    std::vector<Heard> out;
    for (const Heard& h : m_heard) {
        if (h.message == message) out.push_back(h);
    }
    return out;
}

DataRecord DataCommandRecord(CAgentClient& client, HWND target, uint32_t p1, uint32_t p2, uint32_t p3,
                             uint16_t command) {
    DataRecord out;
    out.status = SendDataCommand(client, target, p1, p2, p3, command, nullptr);
    CWireCursor record(client.View(), client.View() + client.RecordSize());
    out.header = record.ReadU32();
    for (int i = 0; i < 4; ++i) out.values[i] = record.ReadI32();
    return out;
}
