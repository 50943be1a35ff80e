// A session's application, current window, agent client and input.
#include "webdriver/Session.h"

#include <utility>

#include "webdriver/WebDriverError.h"

CSession::CSession(std::string id, CTargetApplication application, SessionTimeouts timeouts, DWORD requestTimeoutMs,
                   nlohmann::json capabilities)
    : m_id(std::move(id)),
      m_application(std::move(application)),
      m_hwndCurrent(m_application.MainWindow()),
      m_timeouts(timeouts),
      m_dwRequestTimeoutMs(requestTimeoutMs),
      m_capabilities(std::move(capabilities)),
      m_dwHookedThread(0) {
    m_input.SetTargetProcess(m_application.Process());
}

CSession::~CSession() { End(); }

HWND CSession::RequireCurrentWindow() const {
    DWORD process = 0;
    // A window hidden for good is closed as far as the handles go.
    if (!m_hwndCurrent || !IsWindow(m_hwndCurrent) || !IsWindowVisible(m_hwndCurrent) ||
        !GetWindowThreadProcessId(m_hwndCurrent, &process) || process != m_application.ProcessId()) {
        ThrowWebDriverError(WebDriverErrorCode::NoSuchWindow,
                            IsTargetRunning() ? "the current window is closed; switch to another (window/handles)"
                                              : "the application has ended");
    }
    return m_hwndCurrent;
}

CAgentClient& CSession::Agent(HWND window) {
    DWORD process = 0;
    const DWORD thread = window && IsWindow(window) ? GetWindowThreadProcessId(window, &process) : 0;
    if (!thread || process != m_application.ProcessId()) {
        ThrowWebDriverError(WebDriverErrorCode::NoSuchWindow, "the window is gone or not the application's");
    }
    if (!m_agent.IsOpen()) {
        std::string error;
        if (!m_agent.Open(&error)) ThrowWebDriverError(WebDriverErrorCode::UnknownError, "the agent could not be opened: " + error);
        m_dwHookedThread = 0;
    }
    if (thread != m_dwHookedThread) {
        m_agent.UnhookAll();
        m_dwHookedThread = 0;
        const HookReport hook = m_agent.Hook(window);
        if (!hook) {
            m_agent.UnhookAll();
            ThrowWebDriverError(WebDriverErrorCode::UnknownError, "could not hook the window's thread: " + hook.error);
        }
        m_dwHookedThread = thread;
    }
    return m_agent;
}

void CSession::ThrowAgentFailure(AgentStatus status, const std::string& what) const {
    if (!IsTargetRunning()) ThrowWebDriverError(WebDriverErrorCode::NoSuchWindow, what + ": the application has ended");
    switch (status) {
    case AgentStatus::Timeout:
        ThrowWebDriverError(WebDriverErrorCode::Timeout, what + ": the application did not answer within " +
                                                             std::to_string(m_dwRequestTimeoutMs) + " ms");
    case AgentStatus::Stalled:
        ThrowWebDriverError(WebDriverErrorCode::Timeout,
                            what + ": the application has not yet finished a request that timed out");
    case AgentStatus::PostFailed:
        ThrowWebDriverError(WebDriverErrorCode::NoSuchWindow, what + ": " + AgentStatusText(status));
    default:
        ThrowWebDriverError(WebDriverErrorCode::UnknownError, what + ": " + AgentStatusText(status));
    }
}

void CSession::End() {
    m_input.ReleaseAll();
    m_input.SetTargetProcess(nullptr);
    m_elementStore.reset();
    m_agent.Close();
    m_dwHookedThread = 0;
    m_application.Close();
    m_hwndCurrent = nullptr;
}
