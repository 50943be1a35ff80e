#include "client/MenuProbeSession.h"

CMenuProbeSession::CMenuProbeSession(CAgentClient& client, Callback callback)
    : m_client(client),
      m_callback(std::move(callback)),
      m_window([this](UINT message, WPARAM, LPARAM lParam) {
          const AgentMessages& m = m_client.Messages();
          if (message == m.nAgentReturn) {
              m_bReplied = true;
          } else if (message == m.nMenuResult) {
              ++m_nReported;
              if (m_callback) m_callback(reinterpret_cast<HWND>(lParam));
          }
      }) {}

CMenuProbeSession::~CMenuProbeSession() {
    if (m_bRunning) Stop();
}

bool CMenuProbeSession::PostProbe(bool bStart) {
    const AgentMessages& m = m_client.Messages();
    const WPARAM replyBits = reinterpret_cast<ULONG_PTR>(m_window.Window()) & 0xFFFF;
    // The request carries this session's window as its reply window, which
    // the client's own requests do not; a swallowed envelope goes first, so
    // that the agent never takes it for one it saw in the same clock tick.
    if (!PostMessageA(m_target, m.nEnvelope, replyBits, 0)) return false;
    return PostMessageA(m_target, m.nEnvelope, (static_cast<WPARAM>(m.nSetMenuProbe & 0xFFFF) << 16) | replyBits,
                        bStart ? 1 : 0) != FALSE;
}

CMenuProbeSession::StartResult CMenuProbeSession::Start(HWND target, DWORD replyWaitMs) {
    m_target = target;
    m_bReplied = false;
    if (!m_window.Window() || !PostProbe(true)) return StartResult::Failed;
    m_bRunning = true;
    m_window.Pump(replyWaitMs, [this] { return m_bReplied; });
    return m_bReplied ? StartResult::Installed : StartResult::AlreadyRunning;
}

bool CMenuProbeSession::Stop() {
    if (!m_target) return false;
    m_bRunning = false;
    if (!PostProbe(false)) return false;
    // Nothing answers a stop: a ping behind it comes back once it has run.
    return m_client.Ping(m_target) == AgentStatus::Ok;
}

void CMenuProbeSession::Pump(DWORD waitMs, size_t count) {
    const size_t target = m_nReported + count;
    m_window.Pump(waitMs, [&] { return count != 0 && m_nReported >= target; });
}
