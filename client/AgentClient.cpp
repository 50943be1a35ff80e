#include "client/AgentClient.h"

#include <cstring>

#include "channel/WireNames.h"
#include "client/ApplicationProcess.h"

#ifndef VINTREL_AGENT_FILE
#define VINTREL_AGENT_FILE "Vintrel.dll"
#endif

namespace {

const char kReplyClass[] = "VintrelReplyWindow";

std::string LastErrorText(const char* what) {
    return std::string(what) + " failed (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

const char* AgentStatusText(AgentStatus status) {
    switch (status) {
    case AgentStatus::Ok: return "ok";
    case AgentStatus::NotOpen: return "the client is not open";
    case AgentStatus::BadRequest: return "the request does not fit the shared record";
    case AgentStatus::PostFailed: return "the request could not be posted to the target window";
    case AgentStatus::Timeout: return "no reply from the agent in time";
    case AgentStatus::NotProcessed: return "the agent replied without processing the request";
    case AgentStatus::Overrun: return "the agent refused the request: it does not fit the shared record";
    case AgentStatus::BadReply: return "the reply record has an unknown header word";
    }
    return "unknown status";
}

CAgentClient::CAgentClient()
    : m_hAgent(nullptr), m_pfnHookAgent(nullptr), m_hView(nullptr), m_pView(nullptr),
      m_nRecordSize(0), m_hwndReply(nullptr), m_nHooks(0), m_nLastSub(0), m_dwLastMicros(0) {}

CAgentClient::~CAgentClient() { Close(); }

bool CAgentClient::Open(std::string* error, size_t recordSize, const char* agentPath) {
    Close();
    std::string err;
    m_messages = AgentMessages::Register();

    std::string path = agentPath ? std::string(agentPath) : ProgramDirectory() + VINTREL_AGENT_FILE;
    m_hAgent = LoadLibraryA(path.c_str());
    if (!m_hAgent) {
        err = LastErrorText(("loading the agent " + path).c_str());
    } else {
        m_pfnHookAgent = reinterpret_cast<HookAgentFn>(
            reinterpret_cast<void*>(GetProcAddress(m_hAgent, "hookAgent")));
        if (!m_pfnHookAgent) err = "the agent " + path + " does not export hookAgent";
    }

    if (err.empty()) {
        m_hView = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     static_cast<DWORD>(recordSize), wire::kMappingName);
        if (!m_hView) {
            err = LastErrorText("creating the shared record");
        } else {
            m_pView = static_cast<uint8_t*>(MapViewOfFile(m_hView, FILE_MAP_ALL_ACCESS, 0, 0, 0));
            if (!m_pView) err = LastErrorText("mapping the shared record");
            m_nRecordSize = recordSize;
        }
    }

    if (err.empty()) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kReplyClass;
        RegisterClassA(&wc);  // fails harmlessly when already registered
        m_hwndReply = CreateWindowExA(0, kReplyClass, "Vintrel reply", WS_POPUP, 0, 0, 0, 0,
                                      nullptr, nullptr, wc.hInstance, nullptr);
        if (!m_hwndReply) {
            err = LastErrorText("creating the reply window");
        } else if ((reinterpret_cast<ULONG_PTR>(m_hwndReply) & 0xFFFF) == 0) {
            err = "the reply window handle has no low 16 bits to carry";
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
    if (m_hwndReply) DestroyWindow(m_hwndReply);
    m_hwndReply = nullptr;
    if (m_pView) UnmapViewOfFile(m_pView);
    m_pView = nullptr;
    if (m_hView) CloseHandle(m_hView);
    m_hView = nullptr;
    if (m_hAgent) FreeLibrary(m_hAgent);
    m_hAgent = nullptr;
    m_pfnHookAgent = nullptr;
    m_nRecordSize = 0;
}

short CAgentClient::HookAgent(bool install, HWND target) {
    if (!m_pfnHookAgent) return -1;
    return m_pfnHookAgent(install, target);
}

bool CAgentClient::Hook(HWND target) {
    if (!m_pfnHookAgent || !IsWindow(target)) return false;
    HookAgent(true, target);
    ++m_nHooks;
    return true;
}

void CAgentClient::UnhookAll() {
    while (m_nHooks > 0 && m_pfnHookAgent) {
        HookAgent(false, nullptr);
        --m_nHooks;
    }
    m_nHooks = 0;
}

CRecordWriter CAgentClient::BeginRequest() {
    if (!m_pView) return CRecordWriter(nullptr, 0);
    std::memset(m_pView, 0, m_nRecordSize);
    CRecordWriter w(m_pView, m_nRecordSize);
    w.U32(kRequestWord);
    return w;
}

void CAgentClient::DrainReplies() {
    MSG msg;
    while (PeekMessageA(&msg, m_hwndReply, m_messages.nAgentReturn, m_messages.nAgentReturn,
                        PM_REMOVE)) {
    }
}

bool CAgentClient::PostEnvelope(HWND target, UINT subMessage, LPARAM lParam) {
    const WPARAM reply = reinterpret_cast<ULONG_PTR>(m_hwndReply) & 0xFFFF;
    // The agent drops an envelope whose sub-message and time equal the last
    // one it accepted. Two requests of the same kind posted within one clock
    // tick would collide, so a swallowed sub-message 0 goes in between.
    if (subMessage == m_nLastSub) {
        if (!PostMessageA(target, m_messages.nEnvelope, reply, 0)) return false;
    }
    if (!PostMessageA(target, m_messages.nEnvelope, (static_cast<WPARAM>(subMessage & 0xFFFF) << 16) | reply,
                      lParam)) {
        return false;
    }
    m_nLastSub = subMessage;
    return true;
}

bool CAgentClient::WaitForReturn(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == m_hwndReply && msg.message == m_messages.nAgentReturn) return true;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

AgentStatus CAgentClient::ReadReply(CRecordReader* reply) const {
    uint32_t header = 0;
    std::memcpy(&header, m_pView, 4);
    if (header == kRequestWord) return AgentStatus::NotProcessed;
    if (header == kOverrunWord) return AgentStatus::Overrun;
    if (header != 0) return AgentStatus::BadReply;
    if (reply) *reply = CRecordReader(m_pView, m_nRecordSize, 4);
    return AgentStatus::Ok;
}

AgentStatus CAgentClient::Send(HWND target, UINT subMessage, LPARAM lParam,
                               const CRecordWriter& request, CRecordReader* reply, DWORD timeoutMs) {
    if (!m_pView) return AgentStatus::NotOpen;
    if (!request.Ok()) return AgentStatus::BadRequest;
    DrainReplies();  // a late reply to an earlier, timed-out request
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!PostEnvelope(target, subMessage, lParam)) return AgentStatus::PostFailed;
    if (!WaitForReturn(timeoutMs)) return AgentStatus::Timeout;
    QueryPerformanceCounter(&t1);
    m_dwLastMicros = static_cast<DWORD>((t1.QuadPart - t0.QuadPart) * 1000000 / freq.QuadPart);
    return ReadReply(reply);
}

AgentStatus CAgentClient::Ping(HWND target, DWORD timeoutMs) {
    if (!m_pView) return AgentStatus::NotOpen;
    DrainReplies();
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!PostEnvelope(target, m_messages.nAgentReturn, 0)) return AgentStatus::PostFailed;
    if (!WaitForReturn(timeoutMs)) return AgentStatus::Timeout;
    QueryPerformanceCounter(&t1);
    m_dwLastMicros = static_cast<DWORD>((t1.QuadPart - t0.QuadPart) * 1000000 / freq.QuadPart);
    return AgentStatus::Ok;
}
