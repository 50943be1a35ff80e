// The menu probe from the controller's side: starts the probe in the
// target process through "TavmorSetMenuProbe", receives each
// "TavmorMenuResult" (the window of the menu, or of the dialog box, whose
// modal loop went idle) in a window of this thread and hands it to the
// callback while this thread dispatches messages; stops the probe when told
// or when it goes.
//
// Only the start that installs the probe's hook is answered; a start while
// a probe already runs in the target only makes this session's window the
// one that hears of menus, and Start then reports AlreadyRunning.
#pragma once
#include <windows.h>

#include <functional>

#include "client/AgentClient.h"
#include "client/NotificationWindow.h"

class CMenuProbeSession {
public:
    typedef std::function<void(HWND menuWindow)> Callback;
    enum class StartResult { Installed, AlreadyRunning, Failed };

    CMenuProbeSession(CAgentClient& client, Callback callback);
    ~CMenuProbeSession();
    CMenuProbeSession(const CMenuProbeSession&) = delete;
    CMenuProbeSession& operator=(const CMenuProbeSession&) = delete;

    // target: a window of the hooked thread of the target application.
    StartResult Start(HWND target, DWORD replyWaitMs = 1000);
    // Stops the probe in the target; true once the target has run the stop.
    bool Stop();

    HWND Window() const { return m_window.Window(); }
    void Pump(DWORD waitMs, size_t count = 0);
    size_t Reported() const { return m_nReported; }

private:
    bool PostProbe(bool bStart);

    CAgentClient& m_client;
    Callback m_callback;
    HWND m_target = nullptr;
    bool m_bRunning = false;
    bool m_bReplied = false;
    size_t m_nReported = 0;
    CNotificationWindow m_window;
};
