// The one session the server holds.
#include "webdriver/SessionStore.h"

#include "webdriver/Session.h"

CSessionStore::CSessionStore() = default;

CSessionStore::~CSessionStore() { EndAll(); }

CSession* CSessionStore::Find(const std::string& id) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_session && m_session->Id() == id ? m_session.get() : nullptr;
}

bool CSessionStore::Add(std::unique_ptr<CSession> session) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_session) return false;
    m_session = std::move(session);
    return true;
}

bool CSessionStore::Remove(const std::string& id) {
    std::unique_ptr<CSession> ended;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_session || m_session->Id() != id) return false;
        ended = std::move(m_session);
    }
    ended->End();  // outside the lock: closing the application takes a while
    return true;
}

void CSessionStore::EndAll() {
    std::unique_ptr<CSession> ended;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ended = std::move(m_session);
    }
    if (ended) ended->End();
}

bool CSessionStore::HasSession() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_session != nullptr;
}
