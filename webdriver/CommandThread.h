// The thread that runs the server's commands, one at a time. The agent
// client's reply windows belong to the thread that made them, and its waits
// dispatch that thread's messages; so sessions are made, used and ended
// here, and nowhere else. While it waits for work it answers messages sent to
// its windows and leaves posted ones in the queue.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "common/Owned.h"

class CCommandThread {
public:
    using Job = std::function<void()>;

    CCommandThread();
    ~CCommandThread();
    CCommandThread(const CCommandThread&) = delete;
    CCommandThread& operator=(const CCommandThread&) = delete;

    // Queues the job; jobs run in the order they came.
    void Post(Job job);
    // Runs the jobs queued so far, then lastJob, and ends the thread.
    void Stop(Job lastJob = Job());
    size_t Pending() const;

private:
    void Run();

    mutable std::mutex m_mutex;
    std::deque<Job> m_jobs;
    bool m_bStopping = false;
    COwnedHandle m_wake;  // set when a job is queued
    std::thread m_thread;
};
