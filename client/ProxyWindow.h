// The controller's proxy window (its class, message and event names are
// ProxyNames in channel/MessageTable.h): the agent's scroll-into-view
// accessible item posts it the click message with a screen point (wParam x,
// lParam y) and waits; the proxy clicks there with real input (SendInput),
// gives the target a moment to react, and sets the auto-reset task-done
// event. Setting the manual-reset cancel event abandons the agent's waits.
//
// The window lives on a thread of its own, so that it answers while the
// controller's thread waits for a request's reply.
//
//   CProxyWindow proxy;
//   if (!proxy.Start(&error)) ...
//   ... LocateItem(kind 13) ...
//   proxy.Clicks();   // the points clicked
#pragma once
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "channel/MessageTable.h"
#include "common/Owned.h"

class CProxyWindow {
public:
    CProxyWindow();
    ~CProxyWindow();
    CProxyWindow(const CProxyWindow&) = delete;
    CProxyWindow& operator=(const CProxyWindow&) = delete;

    // Creates both events and the window (its thread); false with a reason.
    bool Start(std::string* error);
    // Closes the window and the proxy's handles of both events.
    void Stop();
    bool IsRunning() const { return m_hwnd != nullptr; }
    HWND Window() const { return m_hwnd; }

    // Sets the cancel event: every wait of the agent ends at once until
    // ResetCancel.
    void Cancel();
    void ResetCancel();

    // Real clicks (the default), or only the signal (the point is still
    // recorded).
    void SetClicking(bool bClick) { m_bClicking = bClick; }
    // Time the target gets to react to a click before the signal.
    void SetSettleMs(DWORD ms) { m_dwSettleMs = ms; }
    // Called on the proxy's thread with each requested point, before the
    // click is made.
    void SetObserver(std::function<void(POINT)> observer);

    std::vector<POINT> Clicks() const;
    void ClearClicks();

    // Moves the cursor to the screen point and checks it arrived (a motion
    // left over from an earlier move can undo a first move).
    static bool MoveCursor(int x, int y);
    // A left click at the screen point with real input.
    static bool ClickAt(int x, int y);

private:
    static DWORD WINAPI ThreadMain(void* pParameter);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnClickRequest(int x, int y);

    COwnedHandle m_taskDone;
    COwnedHandle m_cancel;
    COwnedHandle m_thread;
    COwnedHandle m_ready;
    HWND m_hwnd;
    DWORD m_dwThreadId;
    UINT m_nClickMsg;
    volatile bool m_bClicking;
    volatile DWORD m_dwSettleMs;
    mutable std::mutex m_mutex;
    std::vector<POINT> m_clicks;
    std::function<void(POINT)> m_observer;
};
