// The agent's WH_GETMESSAGE hook: receives request envelopes on the hooked
// thread, drops duplicates, and runs the request handlers under the agent lock.
#include <climits>

#include "agent/AgentExports.h"
#include "agent/AgentSharedState.h"
#include "requests/MessageWatch.h"
#include "requests/RequestHandlers.h"

namespace {

void DispatchRequest(uint32_t sub, MSG& msg) {
    const AgentSharedState& s = g_sharedState;
    if (sub == s.nAgentReturnMsg) {
        HWND hwndReply = reinterpret_cast<HWND>(msg.wParam);
        PostMessageA(hwndReply, s.nAgentReturnMsg, 0, 0);
    } else if (sub == s.nGetItemRectMsg) {
        OnGetItemRect(msg);
    } else if (sub == s.nInfoProbeMsg) {
        OnInfoProbe(msg);
    } else if (sub == s.nLocateItemMsg) {
        OnLocateItem(msg);
    } else if (sub == s.nSetMenuProbeMsg) {
        // The menu probe is not part of this build; the request is swallowed.
    } else if (sub == s.nDataMessageMsg) {
        // Data-message commands are not part of this build; swallowed.
    }
    // Unknown sub-messages are swallowed without a reply.
}

}  // namespace

VINTREL_EXPORT LRESULT CALLBACK AgentHookProc(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = AgentHookHandle();
    if (!hook) {
        OutputDebugStringA("*** No hHook ***\n");
        return 0;
    }
    MSG* pMsg = reinterpret_cast<MSG*>(lParam);
    if (code < 0 || !pMsg || pMsg->message == 0) {
        return CallNextHookEx(hook, code, wParam, lParam);
    }
    MSG& msg = *pMsg;
    if (msg.message != g_sharedState.nEnvelopeMsg) {
        CWPRETSTRUCT record = {};
        record.lParam = msg.lParam;
        record.wParam = msg.wParam;
        record.message = msg.message;
        record.hwnd = msg.hwnd;
        WatchRetrievedMessage(record, 255);
        return 0;
    }

    const uint32_t sub = static_cast<uint32_t>((msg.wParam >> 16) & 0xFFFF);
    msg.wParam &= 0xFFFF;

    // A message peeked without removal and then retrieved passes twice with
    // the same time; only the first pass runs the request.
    if (sub == g_nLastSubMessage && static_cast<uint32_t>(msg.time) == g_dwLastTime) {
        return 0;
    }

    EnterCriticalSection(&g_csAgent);
    g_nLastSubMessage = sub;
    g_dwLastTime = static_cast<uint32_t>(msg.time);
    DispatchRequest(sub, msg);
    LeaveCriticalSection(&g_csAgent);

    msg.message = WM_NULL;
    return 1;
}

VINTREL_EXPORT short WINAPI hookAgent(bool bInstall, HWND hwndTarget) {
    AgentSharedState& s = g_sharedState;
    int count = s.nHookRefCount + (bInstall ? 1 : -1);
    if (count < 0) count = 0;
    if (count > SHRT_MAX) count = SHRT_MAX;
    s.nHookRefCount = static_cast<int16_t>(count);

    DWORD thread = hwndTarget ? GetWindowThreadProcessId(hwndTarget, nullptr) : 0;
    if (bInstall && s.nHookRefCount == 1) {
        s.hAgentHook = 0;
        HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, AgentHookProc, g_hInstance, thread);
        s.hAgentHook = static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(hook));
        return s.nHookRefCount;
    }
    if (s.nHookRefCount == 0 && s.hAgentHook != 0) {
        if (UnhookWindowsHookEx(AgentHookHandle())) s.hAgentHook = 0;
    }
    return s.nHookRefCount;
}
