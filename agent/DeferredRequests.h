// Requests that arrive while another request is still running on the same
// thread. A request may wait for the controller (the scroll-into-view
// accessible item waits for the proxy's clicks) and dispatch the thread's
// messages meanwhile; the agent lock lets the same thread in again, so a
// second envelope would then run against the record of the request in
// progress. Instead it is kept here and posted again once the running
// request has finished.
//
// Used only under the agent lock.
#pragma once
#include <windows.h>

#include <cstddef>

class CDeferredRequests {
public:
    // At most this many envelopes wait; more are dropped (their controller
    // times out, as when the target is busy).
    static const size_t kCapacity = 16;

    // True while a request runs.
    bool IsRunning() const { return m_bRunning; }
    void SetRunning(bool bRunning) { m_bRunning = bRunning; }

    // Keeps the envelope as it was posted (wParam with the sub-message id).
    bool Defer(const MSG& envelope);
    // Posts every kept envelope again, in arrival order, and forgets them.
    void PostAll();
    size_t Count() const { return m_nCount; }

private:
    bool m_bRunning = false;
    MSG m_envelopes[kCapacity] = {};
    size_t m_nCount = 0;
};

extern CDeferredRequests g_deferredRequests;
