// A watch of the target's messages from the controller's side: a listener
// window of this thread that the agent tells, with the message's wParam and
// lParam, each time a thread of the target handles a watched message. Each
// notification is delivered to the callback while this thread dispatches
// messages (Pump, or any message loop). The watcher removes what it added
// when it goes.
//
//   CMessageWatcher watcher(client, [](WPARAM w, LPARAM l) { ... });
//   watcher.Add(window, WM_SETTEXT);
//   watcher.Pump(2000);
#pragma once
#include <windows.h>

#include <functional>
#include <map>

#include "client/AgentClient.h"
#include "client/NotificationWindow.h"

class CMessageWatcher {
public:
    typedef std::function<void(WPARAM wParam, LPARAM lParam)> Callback;

    CMessageWatcher(CAgentClient& client, Callback callback);
    ~CMessageWatcher();
    CMessageWatcher(const CMessageWatcher&) = delete;
    CMessageWatcher& operator=(const CMessageWatcher&) = delete;

    // Watches message on the thread of window (a window of a hooked thread).
    // Adding the same message twice makes each occurrence reported twice.
    AgentStatus Add(HWND window, UINT message);
    // Removes one occurrence of this watcher from every message of the
    // thread of window.
    AgentStatus Remove(HWND window);

    HWND Listener() const { return m_listener.Window(); }
    // Dispatches for waitMs, or until count more notifications arrived.
    void Pump(DWORD waitMs, size_t count = 0);
    size_t Delivered() const { return m_nDelivered; }

private:
    CAgentClient& m_client;
    Callback m_callback;
    UINT m_nNotification;
    size_t m_nDelivered = 0;
    // What was added: per window, per message, how often.
    std::map<HWND, std::map<UINT, int>> m_added;
    CNotificationWindow m_listener;
};
