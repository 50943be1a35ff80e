#include "client/AgentClient.h"

#include <cstring>

#include "agent/AgentSharedState.h"
#include "client/ApplicationProcess.h"

#ifndef VINTREL_AGENT_FILE
#define VINTREL_AGENT_FILE "Vintrel.dll"
#endif

namespace {

const char kReplyClass[] = "VintrelReplyWindow";

std::string LastErrorText(const std::string& what) {
    return what + " failed (error " + std::to_string(GetLastError()) + ")";
}

// The agent's shared state as this process sees it: the library's shared
// section holds it and nothing else.
const AgentSharedState* SharedStateOf(HMODULE hAgent) {
    if (!hAgent) return nullptr;
    const BYTE* pImage = reinterpret_cast<const BYTE*>(hAgent);
    const IMAGE_DOS_HEADER* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pImage);
    if (pDos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    const IMAGE_NT_HEADERS* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pImage + pDos->e_lfanew);
    if (pNt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
    const IMAGE_SECTION_HEADER* pSection = IMAGE_FIRST_SECTION(pNt);
    for (WORD i = 0; i < pNt->FileHeader.NumberOfSections; ++i, ++pSection) {
        if (std::strncmp(reinterpret_cast<const char*>(pSection->Name), ".shared", IMAGE_SIZEOF_SHORT_NAME) == 0 &&
            pSection->Misc.VirtualSize >= sizeof(AgentSharedState)) {
            return reinterpret_cast<const AgentSharedState*>(pImage + pSection->VirtualAddress);
        }
    }
    return nullptr;
}

HWND CreateReplyWindow(const char* title) {
    return CreateWindowExA(0, kReplyClass, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// The envelope carries only the low 16 bits of the reply window.
WPARAM ReplyBits(HWND reply) { return reinterpret_cast<ULONG_PTR>(reply) & 0xFFFF; }

}  // namespace

const char* AgentStatusText(AgentStatus status) {
    switch (status) {
    case AgentStatus::Ok: return "ok";
    case AgentStatus::NotOpen: return "the client is not open";
    case AgentStatus::BadRequest: return "the request does not fit the shared record";
    case AgentStatus::PostFailed: return "the request could not be posted to the target window";
    case AgentStatus::Timeout: return "no reply from the agent in time";
    case AgentStatus::Stalled: return "the target has not finished a request that timed out; try again later";
    case AgentStatus::NotProcessed: return "the agent replied without processing the request";
    case AgentStatus::Overrun: return "the agent refused the request: it does not fit the shared record";
    case AgentStatus::BadReply: return "the reply record has an unknown header word";
    }
    return "unknown status";
}

CAgentClient::CAgentClient()
    : m_pfnHookAgent(nullptr), m_nViewSize(0), m_nRecordSize(0), m_nHooks(0), m_nLastSub(0), m_dwLastMicros(0),
      m_bStale(false), m_bSyncPosted(false), m_dwStaleThread(0), m_dwHookedThread(0), m_nHookGeneration(0),
      m_nSyncGeneration(0) {}

CAgentClient::~CAgentClient() { Close(); }

bool CAgentClient::Open(std::string* error, size_t recordSize, const char* agentPath) {
    Close();
    std::string err;
    m_messages = AgentMessages::Register();

    const std::string path = agentPath ? std::string(agentPath) : ProgramDirectory() + VINTREL_AGENT_FILE;
    m_agent.Reset(LoadLibraryA(path.c_str()));
    if (!m_agent) {
        err = LastErrorText("loading the agent " + path);
    } else {
        m_pfnHookAgent = reinterpret_cast<HookAgentFn>(
            reinterpret_cast<void*>(GetProcAddress(m_agent.Get(), "hookAgent")));
        if (!m_pfnHookAgent) err = "the agent " + path + " does not export hookAgent";
    }

    if (err.empty()) {
        m_mapping.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           static_cast<DWORD>(recordSize), VINTREL_MAPPING_NAME));
        if (!m_mapping) {
            err = LastErrorText("creating the shared record");
        } else if (GetLastError() == ERROR_ALREADY_EXISTS) {
            // Its size and its contents are another controller's.
            err = "another controller holds the record \"" VINTREL_MAPPING_NAME "\"";
        }
    }
    if (err.empty()) {
        m_view.Reset(MapViewOfFile(m_mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
        MEMORY_BASIC_INFORMATION info = {};
        if (!m_view) {
            err = LastErrorText("mapping the shared record");
        } else if (VirtualQuery(m_view.Get(), &info, sizeof(info)) != sizeof(info)) {
            err = LastErrorText("measuring the shared record");
        } else {
            m_nViewSize = info.RegionSize;
            m_nRecordSize = recordSize < m_nViewSize ? recordSize : m_nViewSize;
        }
    }

    if (err.empty()) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kReplyClass;
        RegisterClassA(&wc);  // fails harmlessly when already registered
        m_replyWindow.Reset(CreateReplyWindow("Vintrel reply"));
        m_syncWindow.Reset(CreateReplyWindow("Vintrel resync"));
        if (!m_replyWindow || !m_syncWindow) {
            err = LastErrorText("creating the reply windows");
        } else if (ReplyBits(m_replyWindow.Get()) == 0 || ReplyBits(m_syncWindow.Get()) == 0) {
            err = "a reply window handle has no low 16 bits to carry";
        }
    }

    if (!err.empty()) {
        if (error) *error = err;
        Close();
        return false;
    }
    return true;
}

void CAgentClient::Close() {
    UnhookAll();
    m_replyWindow.Reset();
    m_syncWindow.Reset();
    m_view.Reset();
    m_mapping.Reset();
    m_pfnHookAgent = nullptr;
    m_agent.Reset();
    m_nViewSize = 0;
    m_nRecordSize = 0;
    m_nLastSub = 0;
    m_bStale = false;
    m_bSyncPosted = false;
    m_dwStaleThread = 0;
}

short CAgentClient::HookAgent(bool install, HWND target) {
    if (!m_pfnHookAgent) return -1;
    return m_pfnHookAgent(install, target);
}

HookReport CAgentClient::Hook(HWND target) {
    HookReport report;
    if (!m_pfnHookAgent) {
        report.error = "the client is not open";
        return report;
    }
    // A window that is gone has no thread: hookAgent would hook every
    // thread of the desktop instead.
    const DWORD thread = IsWindow(target) ? GetWindowThreadProcessId(target, nullptr) : 0;
    if (!thread) {
        report.error = "the target is not a window";
        return report;
    }
    const bool bFirstOfOurs = m_nHooks == 0;
    report.nCount = HookAgent(true, target);
    ++m_nHooks;
    ++m_nHookGeneration;
    if (bFirstOfOurs) m_dwHookedThread = thread;
    const AgentSharedState* pShared = SharedStateOf(m_agent.Get());
    report.hHook = pShared ? pShared->hAgentHook : 0;
    // Only the first install of a series chooses the hooked thread.
    if (!pShared) {
        report.error = "the agent library has no shared state to read";
    } else if (report.hHook == 0) {
        report.error = "the agent hook was not installed (hookAgent count " + std::to_string(report.nCount) +
                       ", hook handle 0)";
    } else if (bFirstOfOurs && report.nCount != 1) {
        report.error = "the agent hook was installed earlier by another caller, on a thread of its choice (hookAgent count " +
                       std::to_string(report.nCount) + ")";
    } else if (thread != m_dwHookedThread) {
        report.error = "the agent hook is on thread " + std::to_string(m_dwHookedThread) +
                       ", not on the target's thread " + std::to_string(thread);
    }
    return report;
}

void CAgentClient::UnhookAll() {
    if (m_nHooks > 0) ++m_nHookGeneration;
    while (m_nHooks > 0 && m_pfnHookAgent) {
        HookAgent(false, nullptr);
        --m_nHooks;
    }
    m_nHooks = 0;
    m_dwHookedThread = 0;
}

CWireCursor CAgentClient::BeginRequest(DWORD timeoutMs, size_t nClearBytes) {
    if (!m_view || Resync(timeoutMs) != AgentStatus::Ok) return CWireCursor();
    std::memset(m_view.Get(), 0, nClearBytes < m_nRecordSize ? nClearBytes : m_nRecordSize);
    BYTE* pBegin = static_cast<BYTE*>(m_view.Get());
    CWireCursor w(pBegin, pBegin + m_nRecordSize);
    w.WriteU32(RecordHeader::kRequestWord);
    return w;
}

void CAgentClient::DrainReplies(HWND reply) {
    MSG msg;
    while (PeekMessageA(&msg, reply, m_messages.nAgentReturn, m_messages.nAgentReturn, PM_REMOVE)) {
    }
}

bool CAgentClient::PostEnvelope(HWND target, DWORD thread, UINT subMessage, LPARAM lParam, HWND reply) {
    auto post = [&](WPARAM wParam, LPARAM l) {
        return thread ? PostThreadMessageA(thread, m_messages.nEnvelope, wParam, l) != FALSE
                      : PostMessageA(target, m_messages.nEnvelope, wParam, l) != FALSE;
    };
    // The agent drops an envelope whose sub-message and time equal the last
    // one it accepted. Two requests of the same kind posted within one clock
    // tick would collide, so a swallowed sub-message 0 goes in between. It
    // goes to the thread rather than a window: the target's hook still sees
    // it, and its loop has no window procedure to call for it.
    if (subMessage == m_nLastSub) {
        const DWORD spacerThread = thread ? thread : (target ? GetWindowThreadProcessId(target, nullptr) : 0);
        const BOOL posted = spacerThread ? PostThreadMessageA(spacerThread, m_messages.nEnvelope, ReplyBits(reply), 0)
                                         : PostMessageA(target, m_messages.nEnvelope, ReplyBits(reply), 0);
        if (!posted) return false;
    }
    if (!post((static_cast<WPARAM>(subMessage & 0xFFFF) << 16) | ReplyBits(reply), lParam)) return false;
    m_nLastSub = subMessage;
    return true;
}

bool CAgentClient::WaitForReturn(HWND reply, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == reply && msg.message == m_messages.nAgentReturn) return true;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

void CAgentClient::MarkStale(HWND target) {
    // Whatever of the withdrawn request has not started yet finds no request.
    CWireCursor(static_cast<BYTE*>(m_view.Get()), static_cast<BYTE*>(m_view.Get()) + m_nRecordSize)
        .WriteU32(RecordHeader::kWithdrawnWord);
    if (!m_bStale) {
        m_bStale = true;
        m_bSyncPosted = false;
        m_dwStaleThread = GetWindowThreadProcessId(target, nullptr);
    }
}

AgentStatus CAgentClient::Resync(DWORD timeoutMs) {
    if (!m_bStale) return AgentStatus::Ok;
    if (!m_bSyncPosted || m_nSyncGeneration != m_nHookGeneration) {
        // A ping posted before the hook was removed or installed again may
        // have passed the thread unseen: it is posted again, answering to a
        // new window, so that an answer to the old one can never end a later
        // resync too early.
        if (m_bSyncPosted) {
            COwnedWindow fresh(CreateReplyWindow("Vintrel resync"));
            if (fresh && ReplyBits(fresh.Get()) != 0) m_syncWindow = std::move(fresh);
        }
        m_nSyncGeneration = m_nHookGeneration;
        // Posted to the thread rather than a window, so that it arrives even
        // when the window the late request was about is gone. A thread that
        // is gone runs nothing late.
        if (!m_dwStaleThread ||
            !PostEnvelope(nullptr, m_dwStaleThread, m_messages.nAgentReturn, 0, m_syncWindow.Get())) {
            m_bStale = false;
            DrainReplies(m_replyWindow.Get());
            return AgentStatus::Ok;
        }
        m_bSyncPosted = true;
    }
    if (!WaitForReturn(m_syncWindow.Get(), timeoutMs)) return AgentStatus::Stalled;
    // Everything posted before the ping has run: its replies are late ones.
    m_bStale = false;
    m_bSyncPosted = false;
    DrainReplies(m_replyWindow.Get());
    return AgentStatus::Ok;
}

void CAgentClient::StampRoundTrip(const LARGE_INTEGER& start) {
    LARGE_INTEGER freq, now;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&now);
    m_dwLastMicros = static_cast<DWORD>((now.QuadPart - start.QuadPart) * 1000000 / freq.QuadPart);
}

AgentStatus CAgentClient::ReadReply(CWireCursor* reply) const {
    const BYTE* pBegin = static_cast<const BYTE*>(m_view.Get());
    CWireCursor record(pBegin, pBegin + m_nRecordSize);
    const uint32_t header = record.ReadU32();
    if (header == RecordHeader::kRequestWord) return AgentStatus::NotProcessed;
    if (header == RecordHeader::kOverrunWord) return AgentStatus::Overrun;
    if (header != RecordHeader::kReplyWord) return AgentStatus::BadReply;
    if (reply) *reply = record;
    return AgentStatus::Ok;
}

AgentStatus CAgentClient::Send(HWND target, UINT subMessage, LPARAM lParam, const CWireCursor& request,
                               CWireCursor* reply, DWORD timeoutMs) {
    if (!m_view) return AgentStatus::NotOpen;
    if (m_bStale) return AgentStatus::Stalled;
    if (!request.Ok()) return AgentStatus::BadRequest;
    DrainReplies(m_replyWindow.Get());  // stray replies to envelopes someone else posted
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!PostEnvelope(target, 0, subMessage, lParam, m_replyWindow.Get())) return AgentStatus::PostFailed;
    if (!WaitForReturn(m_replyWindow.Get(), timeoutMs)) {
        MarkStale(target);
        return AgentStatus::Timeout;
    }
    StampRoundTrip(start);
    return ReadReply(reply);
}

AgentStatus CAgentClient::Ping(HWND target, DWORD timeoutMs) {
    if (!m_view) return AgentStatus::NotOpen;
    if (Resync(timeoutMs) != AgentStatus::Ok) return AgentStatus::Stalled;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!PostEnvelope(target, 0, m_messages.nAgentReturn, 0, m_replyWindow.Get())) return AgentStatus::PostFailed;
    if (!WaitForReturn(m_replyWindow.Get(), timeoutMs)) {
        MarkStale(target);
        return AgentStatus::Timeout;
    }
    StampRoundTrip(start);
    return AgentStatus::Ok;
}
