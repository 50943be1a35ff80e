#include "client/WindowSpySession.h"

namespace {
const char kSection[] = "QXJ";
const char kKey[] = "SPY";
// A value no profile entry holds, to tell a missing entry from an empty one.
const char kMissing[] = "\x01\x02missing";
}  // namespace

CWindowSpySession::CWindowSpySession(CAgentClient& client, Callback callback)
    : m_client(client),
      m_callback(std::move(callback)),
      m_window([this](UINT message, WPARAM wParam, LPARAM lParam) {
          if (message != m_client.Messages().nSpyWindow) return;
          ++m_nReported;
          if (m_callback) m_callback(static_cast<UINT>(wParam), lParam);
      }) {
    if (client.Agent()) {
        m_pfnSpyWindow = reinterpret_cast<SpyWindowFn>(
            reinterpret_cast<void*>(GetProcAddress(client.Agent(), "spyWindow")));
    }
}

CWindowSpySession::~CWindowSpySession() { Stop(); }

bool CWindowSpySession::Start() {
    if (m_bRunning) return true;
    if (!m_pfnSpyWindow || !m_window.Window()) return false;
    char previous[512] = "";
    GetProfileStringA(kSection, kKey, kMissing, previous, sizeof(previous));
    m_bHadEntry = std::string(previous) != kMissing;
    m_previousEntry = m_bHadEntry ? previous : "";
    // The handle as a decimal number, as every process reads it back.
    const std::string value = std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(m_window.Window())));
    m_bProfileWritten = WriteProfileStringA(kSection, kKey, value.c_str()) != FALSE;
    if (!m_pfnSpyWindow(true, 0, m_window.Window())) {
        RestoreProfile();
        return false;
    }
    m_bRunning = true;
    return true;
}

void CWindowSpySession::Stop() {
    if (m_bRunning && m_pfnSpyWindow) m_pfnSpyWindow(false, 0, nullptr);
    m_bRunning = false;
    RestoreProfile();
}

void CWindowSpySession::RestoreProfile() {
    if (!m_bProfileWritten) return;
    WriteProfileStringA(kSection, kKey, m_bHadEntry ? m_previousEntry.c_str() : nullptr);
    m_bProfileWritten = false;
}

void CWindowSpySession::Pump(DWORD waitMs) { m_window.Pump(waitMs); }
