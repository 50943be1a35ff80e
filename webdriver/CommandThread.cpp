// The command thread's queue and loop.
#include "webdriver/CommandThread.h"

#include <utility>

CCommandThread::CCommandThread() : m_wake(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    m_thread = std::thread([this] { Run(); });
}

CCommandThread::~CCommandThread() { Stop(); }

void CCommandThread::Post(Job job) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    SetEvent(m_wake.Get());
}

void CCommandThread::Stop(Job lastJob) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bStopping) return;
        if (lastJob) m_jobs.push_back(std::move(lastJob));
        m_bStopping = true;
    }
    SetEvent(m_wake.Get());
    if (m_thread.joinable()) m_thread.join();
}

size_t CCommandThread::Pending() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_jobs.size();
}

void CCommandThread::Run() {
    for (;;) {
        Job job;
        bool bStop = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_jobs.empty()) {
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            } else {
                bStop = m_bStopping;
            }
        }
        if (job) {
            job();
            continue;
        }
        if (bStop) return;
        // Idle: wakes for a job, and answers messages other threads send to
        // its windows (broadcasts reach the reply windows too). Posted
        // messages stay queued: a late answer of the agent is the client's
        // to read or drain, and taken here it would be lost to the client.
        const HANDLE wake = m_wake.Get();
        MsgWaitForMultipleObjects(1, &wake, FALSE, INFINITE, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
