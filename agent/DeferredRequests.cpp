// Requests held back while another runs (see DeferredRequests.h).
#include "agent/DeferredRequests.h"

#include "agent/Diagnostics.h"

CDeferredRequests g_deferredRequests;

bool CDeferredRequests::Defer(const MSG& envelope) {
    if (m_nCount >= kCapacity) {
        AgentDebug("*** Nested Request Dropped ***\n");
        return false;
    }
    m_envelopes[m_nCount++] = envelope;
    return true;
}

void CDeferredRequests::PostAll() {
    const size_t nCount = m_nCount;
    m_nCount = 0;
    for (size_t i = 0; i < nCount; ++i) {
        const MSG& envelope = m_envelopes[i];
        // To the window it was posted to; one posted to the thread goes
        // back to the thread.
        if (envelope.hwnd) {
            PostMessageA(envelope.hwnd, envelope.message, envelope.wParam, envelope.lParam);
        } else {
            PostThreadMessageA(GetCurrentThreadId(), envelope.message, envelope.wParam, envelope.lParam);
        }
    }
}
