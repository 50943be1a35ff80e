// A WebDriver session: the application it drives and what its commands share.
//
// How commands are registered
//   Every endpoint is one row of the table in webdriver/CommandTable.cpp:
//       router.Add("POST", "/session/{sessionId}/element/{elementId}/click", &ClickElement);
//   A handler is  nlohmann::json Handler(CCommandContext& context)  (Router.h,
//   CommandContext.h). context.Session() is the session (never null for a
//   row of RouteScope::Session, the default); context.Param("elementId") a
//   path variable; context.Body() the POST body, a JSON object (empty for GET
//   and DELETE); context.RequireString("using") and its siblings read a field
//   or throw "invalid argument". The handler returns the answer's "value"
//   (nullptr for null) or throws CWebDriverError (WebDriverError.h), e.g.
//       throw CWebDriverError(WebDriverErrorCode::NoSuchElement, "no element with name 'Item 7'");
//   The server wraps either in {"value": ...} with the right HTTP status.
//   Handlers run one at a time on the server's command thread: the agent
//   client's reply windows belong to that thread, and the agent's record to
//   one controller at a time. A handler may block up to the session's limits
//   (RequestTimeoutMs per agent request, the implicit wait for finds) and no
//   longer; GET /status is answered without waiting for it.
//
// What a session offers (every call on the command thread)
//   ProcessId(), Process()     the application's process (Process() may be null when it could not be opened)
//   IsTargetRunning()
//   CurrentWindow()            the current top-level window (switched by POST window)
//   RequireCurrentWindow()     the same, or throws "no such window" when it is gone or hidden
//   TopLevelWindows()          the process's visible top-level windows (dialog boxes, menus)
//   Agent(window)              the agent client, hooked on the thread of that window (hooked again when the
//                              thread changes); throws "unknown error" when it cannot be hooked
//   RequestTimeoutMs()         the time limit for one agent request: pass it to every client call
//   ThrowAgentFailure(status, what)   turns a failed AgentStatus into the W3C error ("timeout" for
//                              Timeout/Stalled, "no such window" when the target is gone, else "unknown error")
//   Timeouts()                 implicit, pageLoad, script (ms); finds wait up to Timeouts().implicitMs
//   Input()                    real input (InputSynthesis.h): clicks at screen points, typing, what is pressed
//   ElementStoreSlot()         a std::shared_ptr<CElementStore> the element commands fill as they like
//                              (std::make_shared keeps the type's deleter, so this file needs only its name);
//                              it goes with the session
//   Capabilities()             the capabilities the session was created with, as answered
//
// Helpers for other commands: WindowCommands.h (WindowHandleText, ParseWindowHandle: "0x0001005C"),
// Screenshot.h (ScreenRectPngBase64 for an element's rectangle), InputSynthesis.h.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "client/AgentClient.h"
#include "webdriver/InputSynthesis.h"
#include "webdriver/TargetApplication.h"

class CElementStore;

struct SessionTimeouts {
    int64_t implicitMs = 0;
    int64_t pageLoadMs = 300000;
    int64_t scriptMs = 30000;  // -1 stands for null (no limit)
};

class CSession {
public:
    CSession(std::string id, CTargetApplication application, SessionTimeouts timeouts, DWORD requestTimeoutMs,
             nlohmann::json capabilities);
    ~CSession();
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;

    const std::string& Id() const { return m_id; }
    DWORD ProcessId() const { return m_application.ProcessId(); }
    HANDLE Process() const { return m_application.Process(); }
    bool IsTargetRunning() const { return m_application.IsRunning(); }
    HWND MainWindow() const { return m_application.MainWindow(); }
    // Waits up to waitMs for the application to end; true when it has.
    bool WaitForTargetExit(DWORD waitMs) const { return m_application.WaitForExit(waitMs); }

    HWND CurrentWindow() const { return m_hwndCurrent; }
    HWND RequireCurrentWindow() const;
    void SwitchToWindow(HWND window) { m_hwndCurrent = window; }
    std::vector<HWND> TopLevelWindows() const { return m_application.TopLevelWindows(); }

    // Hooks the agent on the window's thread first when needed.
    CAgentClient& Agent(HWND window);
    DWORD RequestTimeoutMs() const { return m_dwRequestTimeoutMs; }
    [[noreturn]] void ThrowAgentFailure(AgentStatus status, const std::string& what) const;

    SessionTimeouts& Timeouts() { return m_timeouts; }
    CInputSynthesizer& Input() { return m_input; }
    std::shared_ptr<CElementStore>& ElementStoreSlot() { return m_elementStore; }
    const nlohmann::json& Capabilities() const { return m_capabilities; }

    // Ends the session: releases input, unhooks, closes the application when
    // the session started it.
    void End();

private:
    std::string m_id;
    CTargetApplication m_application;
    HWND m_hwndCurrent;
    SessionTimeouts m_timeouts;
    DWORD m_dwRequestTimeoutMs;
    nlohmann::json m_capabilities;
    CAgentClient m_agent;
    DWORD m_dwHookedThread;
    CInputSynthesizer m_input;
    std::shared_ptr<CElementStore> m_elementStore;
};
