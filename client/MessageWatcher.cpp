#include "client/MessageWatcher.h"

#include <algorithm>

#include "client/DataMessageRequests.h"

CMessageWatcher::CMessageWatcher(CAgentClient& client, Callback callback)
    : m_client(client),
      m_callback(std::move(callback)),
      m_nNotification(client.Messages().nAgentReturn),
      m_listener([this](UINT message, WPARAM wParam, LPARAM lParam) {
          if (message != m_nNotification) return;
          ++m_nDelivered;
          if (m_callback) m_callback(wParam, lParam);
      }) {}

CMessageWatcher::~CMessageWatcher() {
    // One removal takes one occurrence from every message of the thread:
    // as many as the most often added message needs.
    for (const auto& window : m_added) {
        int removals = 0;
        for (const auto& message : window.second) removals = std::max(removals, message.second);
        for (int i = 0; i < removals; ++i) {
            if (RemoveMessageWatch(m_client, window.first, Listener()) != AgentStatus::Ok) break;
        }
    }
}

AgentStatus CMessageWatcher::Add(HWND window, UINT message) {
    const AgentStatus status = AddMessageWatch(m_client, window, message, Listener());
    if (status == AgentStatus::Ok) ++m_added[window][message];
    return status;
}

AgentStatus CMessageWatcher::Remove(HWND window) {
    const AgentStatus status = RemoveMessageWatch(m_client, window, Listener());
    auto found = m_added.find(window);
    if (status == AgentStatus::Ok && found != m_added.end()) {
        for (auto it = found->second.begin(); it != found->second.end();) {
            it = --it->second <= 0 ? found->second.erase(it) : std::next(it);
        }
        if (found->second.empty()) m_added.erase(found);
    }
    return status;
}

void CMessageWatcher::Pump(DWORD waitMs, size_t count) {
    const size_t target = m_nDelivered + count;
    m_listener.Pump(waitMs, [&] { return count != 0 && m_nDelivered >= target; });
}
