// Controller side of the agent protocol: loads the agent library, hooks the
// target thread, owns the shared record "TavmorAgentMapFile" and the reply
// window, posts request envelopes and waits for "TavmorAgentReturn".
//
// Typical use:
//   CAgentClient client;
//   if (!client.Open(&error)) ...
//   client.Hook(targetWindow);
//   CRecordWriter w = client.BeginRequest();  // header word written
//   w.U32(kind)...;
//   CRecordReader reply;
//   AgentStatus st = client.Send(targetWindow, client.Messages().nGetItemRect, 0, w, &reply);
//   // reply is positioned after the header word (offset 4)
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <string>

#include "client/AgentMessages.h"
#include "client/RecordReader.h"
#include "client/RecordWriter.h"

enum class AgentStatus {
    Ok,
    NotOpen,        // Open was not called or failed
    BadRequest,     // the request did not fit the shared record
    PostFailed,     // the envelope could not be posted (no such window?)
    Timeout,        // no "TavmorAgentReturn" within the time limit
    NotProcessed,   // a reply came but the record still holds the request
    Overrun,        // the agent found the record too short for the request or reply
    BadReply,       // the reply's header word is neither of the known ones
};

const char* AgentStatusText(AgentStatus status);

class CAgentClient {
public:
    static constexpr uint32_t kRequestWord = 0x12345678;
    static constexpr uint32_t kOverrunWord = 0xFFFFFFFF;
    static constexpr size_t kDefaultRecordSize = 64 * 1024;
    static constexpr DWORD kDefaultTimeoutMs = 5000;

    CAgentClient();
    ~CAgentClient();
    CAgentClient(const CAgentClient&) = delete;
    CAgentClient& operator=(const CAgentClient&) = delete;

    // Loads the agent (from agentPath, or the agent file next to this
    // program), creates the shared record and the reply window.
    bool Open(std::string* error, size_t recordSize = kDefaultRecordSize,
              const char* agentPath = nullptr);
    void Close();
    bool IsOpen() const { return m_hView != nullptr; }

    // Reference-counted install/release of the agent hook (the agent's own
    // hookAgent). Hook remembers installs so Close releases them.
    short HookAgent(bool install, HWND target);
    bool Hook(HWND target);
    void UnhookAll();

    // Starts a request: clears the record and writes the header word.
    CRecordWriter BeginRequest();
    // Posts the envelope for subMessage to target and waits for the reply.
    // On Ok, *reply reads the record from offset 4.
    AgentStatus Send(HWND target, UINT subMessage, LPARAM lParam, const CRecordWriter& request,
                     CRecordReader* reply, DWORD timeoutMs = kDefaultTimeoutMs);
    // Posts the envelope only; the caller waits itself (WaitForReturn).
    bool PostEnvelope(HWND target, UINT subMessage, LPARAM lParam);
    bool WaitForReturn(DWORD timeoutMs);
    AgentStatus ReadReply(CRecordReader* reply) const;

    AgentStatus Ping(HWND target, DWORD timeoutMs = kDefaultTimeoutMs);

    const AgentMessages& Messages() const { return m_messages; }
    HWND ReplyWindow() const { return m_hwndReply; }
    uint8_t* View() const { return m_pView; }
    size_t RecordSize() const { return m_nRecordSize; }
    HMODULE Agent() const { return m_hAgent; }
    DWORD LastRoundTripMicros() const { return m_dwLastMicros; }

private:
    void DrainReplies();

    typedef short(WINAPI* HookAgentFn)(bool, HWND);

    AgentMessages m_messages;
    HMODULE m_hAgent;
    HookAgentFn m_pfnHookAgent;
    HANDLE m_hView;
    uint8_t* m_pView;
    size_t m_nRecordSize;
    HWND m_hwndReply;
    int m_nHooks;
    UINT m_nLastSub;
    DWORD m_dwLastMicros;
};
