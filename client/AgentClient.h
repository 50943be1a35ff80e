// Controller side of the agent protocol: loads the agent library, hooks the
// target thread, owns the shared record "TavmorAgentMapFile" and the reply
// window, posts request envelopes and waits for "TavmorAgentReturn".
//
// Typical use:
//   CAgentClient client;
//   if (!client.Open(&error)) ...
//   if (!client.Hook(targetWindow)) ...       // HookReport says why
//   CWireCursor w = client.BeginRequest();     // header word written
//   WriteForm(w, request);                     // the request's form (forms/)
//   CWireCursor reply;
//   AgentStatus st = client.Send(targetWindow, client.Messages().nGetItemRect, 0, w, &reply);
//   // reply reads the record from offset 4: ReadForm(reply, replyForm)
//
// The client cannot be fooled about its record or its replies:
// - It only works on a record it created itself. Another controller's
//   mapping of the same name is refused, and every access is bounded by the
//   view's real size.
// - A request that timed out may still wait in the target's queue, or run
//   there, and would later act on the next request's bytes. So after a
//   timeout the client first withdraws the record (its header word is no
//   longer a request's) and, before the next request writes anything, has
//   the target's thread answer a ping to a window of its own: that answer
//   can only come once everything posted before it has run. Until it comes
//   every request fails with AgentStatus::Stalled, and no late reply is ever
//   taken for another request's.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <string>

#include "client/AgentMessages.h"
#include "common/Owned.h"
#include "forms/FormTransfer.h"
#include "forms/RecordHeader.h"
#include "forms/WireCursor.h"

enum class AgentStatus {
    Ok,
    NotOpen,        // Open was not called or failed
    BadRequest,     // the request did not fit the shared record
    PostFailed,     // the envelope could not be posted (no such window?)
    Timeout,        // no "TavmorAgentReturn" within the time limit
    Stalled,        // the target has not yet finished a request that timed out
    NotProcessed,   // a reply came but the record still holds the request
    Overrun,        // the agent found the record too short for the request or reply
    BadReply,       // the reply's header word is neither of the known ones
};

const char* AgentStatusText(AgentStatus status);

// What hooking a target's thread did.
struct HookReport {
    short nCount = -1;        // the agent's install count after the call (-1: not called)
    uint32_t hHook = 0;       // the agent's hook handle after the call; 0 when none is installed
    std::string error;        // why it is not installed, for a person
    bool Installed() const { return hHook != 0 && error.empty(); }
    explicit operator bool() const { return Installed(); }
};

class CAgentClient {
public:
    static constexpr size_t kDefaultRecordSize = 64 * 1024;
    static constexpr DWORD kDefaultTimeoutMs = 5000;

    CAgentClient();
    ~CAgentClient();
    CAgentClient(const CAgentClient&) = delete;
    CAgentClient& operator=(const CAgentClient&) = delete;

    // Loads the agent (from agentPath, or the agent file next to this
    // program), creates the shared record and the reply windows. Fails when
    // another controller holds the record.
    bool Open(std::string* error, size_t recordSize = kDefaultRecordSize, const char* agentPath = nullptr);
    void Close();
    bool IsOpen() const { return static_cast<bool>(m_view); }

    // Reference-counted install/release of the agent hook (the agent's own
    // hookAgent). Hook remembers installs so Close releases them, and
    // reports whether the hook is really there for the target: installed,
    // and on the target's thread (only the first install of a series
    // chooses the thread, and it may have been another caller's).
    short HookAgent(bool install, HWND target);
    HookReport Hook(HWND target);
    void UnhookAll();

    // Starts a request: clears the record and writes the header word. When
    // an earlier request timed out, first waits for the target to be done
    // with it; if it is not, the cursor is failed and Send says Stalled.
    // A request whose reply says how much of the record it fills may clear
    // only its first nClearBytes (the request's own bytes) instead.
    CWireCursor BeginRequest(DWORD timeoutMs = kDefaultTimeoutMs, size_t nClearBytes = SIZE_MAX);
    // Posts the envelope for subMessage to target and waits for the reply.
    // On Ok, *reply reads the record from offset 4.
    AgentStatus Send(HWND target, UINT subMessage, LPARAM lParam, const CWireCursor& request, CWireCursor* reply,
                     DWORD timeoutMs = kDefaultTimeoutMs);
    AgentStatus ReadReply(CWireCursor* reply) const;

    // One request stated as a form (forms/): starts the request, writes the
    // form and sends it; on Ok, *reply reads what follows the header word.
    template <class TRequest>
    AgentStatus SendForm(HWND target, UINT subMessage, const TRequest& request, CWireCursor* reply,
                         DWORD timeoutMs = kDefaultTimeoutMs);
    // The same for a reply that is one form: BadReply when it does not fit
    // the record.
    template <class TRequest, class TReply>
    AgentStatus Exchange(HWND target, UINT subMessage, const TRequest& request, TReply* reply,
                         DWORD timeoutMs = kDefaultTimeoutMs);

    AgentStatus Ping(HWND target, DWORD timeoutMs = kDefaultTimeoutMs);

    const AgentMessages& Messages() const { return m_messages; }
    HWND ReplyWindow() const { return m_replyWindow.Get(); }
    uint8_t* View() const { return static_cast<uint8_t*>(m_view.Get()); }
    // Bytes of the record requests may use (at most the view's size).
    size_t RecordSize() const { return m_nRecordSize; }
    // The mapped view's real size.
    size_t ViewSize() const { return m_nViewSize; }
    HMODULE Agent() const { return m_agent.Get(); }
    DWORD LastRoundTripMicros() const { return m_dwLastMicros; }
    // True while a request that timed out may still run in the target.
    bool IsStalled() const { return m_bStale; }

private:
    typedef short(WINAPI* HookAgentFn)(bool, HWND);

    // Posts an envelope to the thread when thread is not 0, otherwise to
    // target (a nullptr target being the client's own thread).
    bool PostEnvelope(HWND target, DWORD thread, UINT subMessage, LPARAM lParam, HWND reply);
    bool WaitForReturn(HWND reply, DWORD timeoutMs);
    void DrainReplies(HWND reply);
    // After a timeout: waits until the target's thread has run everything
    // posted before; Ok then, Stalled when it has not within the time.
    AgentStatus Resync(DWORD timeoutMs);
    void MarkStale(HWND target);
    void StampRoundTrip(const LARGE_INTEGER& start);

    AgentMessages m_messages;
    COwnedLibrary m_agent;
    HookAgentFn m_pfnHookAgent;
    COwnedHandle m_mapping;
    COwnedView m_view;
    size_t m_nViewSize;
    size_t m_nRecordSize;
    COwnedWindow m_replyWindow;
    COwnedWindow m_syncWindow;  // receives only the answers that end a resync
    int m_nHooks;
    UINT m_nLastSub;
    DWORD m_dwLastMicros;
    bool m_bStale;
    bool m_bSyncPosted;
    DWORD m_dwStaleThread;
    DWORD m_dwHookedThread;  // chosen by this client's first install
    // Counts hook installs and removals; a resync ping posted under an
    // earlier count may never have been seen.
    unsigned m_nHookGeneration;
    unsigned m_nSyncGeneration;
};

template <class TRequest>
AgentStatus CAgentClient::SendForm(HWND target, UINT subMessage, const TRequest& request, CWireCursor* reply,
                                   DWORD timeoutMs) {
    CWireCursor w = BeginRequest(timeoutMs);
    WriteForm(w, request);
    return Send(target, subMessage, 0, w, reply, timeoutMs);
}

template <class TRequest, class TReply>
AgentStatus CAgentClient::Exchange(HWND target, UINT subMessage, const TRequest& request, TReply* reply,
                                   DWORD timeoutMs) {
    CWireCursor cursor;
    const AgentStatus status = SendForm(target, subMessage, request, &cursor, timeoutMs);
    if (status != AgentStatus::Ok) return status;
    return ReadForm(cursor, *reply) ? AgentStatus::Ok : AgentStatus::BadReply;
}
