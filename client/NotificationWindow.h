// A hidden window of the controller's thread that hands every registered
// message it receives (the agent's notifications: "TavmorAgentReturn" of a
// watch, "TavmorMenuResult", "TavmorSpyWindow"), posted or sent, to a
// callback. The callback runs whenever the thread dispatches messages.
#pragma once
#include <windows.h>

#include <functional>

#include "common/Owned.h"

class CNotificationWindow {
public:
    using Callback = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    explicit CNotificationWindow(Callback callback);
    CNotificationWindow(const CNotificationWindow&) = delete;
    CNotificationWindow& operator=(const CNotificationWindow&) = delete;

    HWND Window() const { return m_window.Get(); }
    // The window's handle as the agent's 32-bit fields carry it.
    uint32_t WindowBits() const { return static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(m_window.Get())); }
    // Dispatches the thread's messages for waitMs, or until done() is true.
    void Pump(DWORD waitMs, const std::function<bool()>& done = std::function<bool()>());

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Callback m_callback;
    COwnedWindow m_window;
};
