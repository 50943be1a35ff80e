// The server's sessions. One at a time: the agent's shared record belongs to
// one controller, and a session's agent client is that controller. Sessions
// are made, used and ended on the command thread; whether one exists may be
// asked from any thread (GET /status).
#pragma once
#include <memory>
#include <mutex>
#include <string>

class CSession;

class CSessionStore {
public:
    CSessionStore();
    ~CSessionStore();
    CSessionStore(const CSessionStore&) = delete;
    CSessionStore& operator=(const CSessionStore&) = delete;

    // nullptr when there is no session of that id.
    CSession* Find(const std::string& id);
    // False (and the session ended) when one exists already.
    bool Add(std::unique_ptr<CSession> session);
    // Ends the session and forgets it; false when there was none of that id.
    bool Remove(const std::string& id);
    void EndAll();
    bool HasSession() const;

private:
    mutable std::mutex m_mutex;
    std::unique_ptr<CSession> m_session;
};
