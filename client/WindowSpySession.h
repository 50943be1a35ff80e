// The window spy from the controller's side: a window of this thread that
// hears of every message handled on the desktop while the spy runs
// ("TavmorSpyWindow": the message number and its lParam), handed to the
// callback while this thread dispatches messages.
//
// Start writes this window into the profile entry from which the other
// processes learn where to report (section "QXJ", key "SPY") and starts the
// agent's spy in this process; Stop ends the spy and puts back what the
// entry held before (or removes it). In each other process the first
// message after the start only reads the entry and is not reported.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "client/AgentClient.h"
#include "client/NotificationWindow.h"

class CWindowSpySession {
public:
    typedef std::function<void(UINT message, LPARAM lParam)> Callback;

    CWindowSpySession(CAgentClient& client, Callback callback);
    ~CWindowSpySession();
    CWindowSpySession(const CWindowSpySession&) = delete;
    CWindowSpySession& operator=(const CWindowSpySession&) = delete;

    // False when the agent has no spy or its hook could not be installed
    // (the profile is then put back at once).
    bool Start();
    void Stop();
    bool IsRunning() const { return m_bRunning; }

    HWND Window() const { return m_window.Window(); }
    void Pump(DWORD waitMs);
    size_t Reported() const { return m_nReported; }

private:
    typedef HHOOK(WINAPI* SpyWindowFn)(bool, DWORD, HWND);

    void RestoreProfile();

    CAgentClient& m_client;
    Callback m_callback;
    SpyWindowFn m_pfnSpyWindow = nullptr;
    bool m_bRunning = false;
    bool m_bProfileWritten = false;
    bool m_bHadEntry = false;
    std::string m_previousEntry;
    size_t m_nReported = 0;
    CNotificationWindow m_window;
};
