// The agent's WH_GETMESSAGE hook: receives request envelopes on the hooked
// thread, drops duplicates, and runs the request handlers under the agent lock.
#include <climits>

#include "agent/AgentExports.h"
#include "agent/AgentSharedState.h"
#include "agent/DeferredRequests.h"
#include "agent/Diagnostics.h"
#include "channel/MessageTable.h"
#include "common/Owned.h"
#include "requests/MessageWatch.h"
#include "requests/RequestHandlers.h"

namespace {

using RequestHandler = void (*)(MSG& msg);

struct RequestRoute {
    const uint32_t* pnId;
    RequestHandler pfnHandler;
};

// The requests of the message table, each with its handler.
const RequestRoute kRoutes[] = {
#define VINTREL_ROUTE(Id, name, slot, handler) {&(slot), handler},
    VINTREL_AGENT_MESSAGES(VINTREL_ROUTE)
#undef VINTREL_ROUTE
};

// Sub-message ids that the table does not know, and messages that are no
// request, are swallowed without a reply.
void DispatchRequest(uint32_t sub, MSG& msg) {
    for (const RequestRoute& route : kRoutes) {
        if (route.pfnHandler && *route.pnId != 0 && *route.pnId == sub) {
            route.pfnHandler(msg);
            return;
        }
    }
}

// True when the process that installed the hook has ended: its hook went
// with it, and the installs it counted are nobody's any more.
bool HookOwnerHasEnded() {
    const DWORD dwOwner = g_sharedSection.dwHookOwnerProcess;
    if (dwOwner == 0 || dwOwner == GetCurrentProcessId()) return false;
    COwnedHandle owner(OpenProcess(SYNCHRONIZE, FALSE, dwOwner));
    if (!owner) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    return WaitForSingleObject(owner.Get(), 0) == WAIT_OBJECT_0;
}

}  // namespace

VINTREL_EXPORT LRESULT CALLBACK AgentHookProc(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = AgentHookHandle();
    if (!hook) {
        AgentDebug("*** No hHook ***\n");
        return 0;
    }
    MSG* pMsg = reinterpret_cast<MSG*>(lParam);
    if (code < 0 || !pMsg || pMsg->message == 0) {
        return CallNextHookEx(hook, code, wParam, lParam);
    }
    MSG& msg = *pMsg;
    if (msg.message != g_sharedState.nEnvelopeMsg) {
        // An ordinary message: the watch hears of it, and every other
        // WH_GETMESSAGE hook of the thread still sees it.
        CWPRETSTRUCT record = {};
        record.lParam = msg.lParam;
        record.wParam = msg.wParam;
        record.message = msg.message;
        record.hwnd = msg.hwnd;
        WatchHookProc(CMessageWatch::kAgentHookCode, 0, reinterpret_cast<LPARAM>(&record));
        return CallNextHookEx(hook, code, wParam, lParam);
    }

    const uint32_t sub = static_cast<uint32_t>((msg.wParam >> 16) & 0xFFFF);
    const MSG envelope = msg;
    msg.wParam &= 0xFFFF;

    // A message peeked without removal and then retrieved passes twice with
    // the same time; only the first pass runs the request.
    if (sub == g_nLastSubMessage && static_cast<uint32_t>(msg.time) == g_dwLastTime) {
        return 0;
    }

    {
        CCriticalSectionGuard lock(g_csAgent);
        if (g_deferredRequests.IsRunning()) {
            // A request of this thread is waiting inside its own work and
            // dispatching messages: this one runs after it has finished.
            // (A look without removal leaves it in the queue for later.)
            if (wParam != PM_REMOVE) return 0;
            g_deferredRequests.Defer(envelope);
            msg.message = WM_NULL;
            return 1;
        }
        g_nLastSubMessage = sub;
        g_dwLastTime = static_cast<uint32_t>(msg.time);
        g_deferredRequests.SetRunning(true);
        DispatchRequest(sub, msg);
        g_deferredRequests.SetRunning(false);
        g_deferredRequests.PostAll();
    }

    msg.message = WM_NULL;
    return 1;
}

VINTREL_EXPORT short WINAPI hookAgent(bool bInstall, HWND hwndTarget) {
    AgentSharedState& s = g_sharedState;
    if (bInstall && s.nHookRefCount > 0 && HookOwnerHasEnded()) {
        AgentDebug("*** Hook Owner Ended: Installs Reset ***\n");
        s.nHookRefCount = 0;
        s.hAgentHook = 0;
    }
    int count = s.nHookRefCount + (bInstall ? 1 : -1);
    if (count < 0) count = 0;
    if (count > SHRT_MAX) count = SHRT_MAX;
    s.nHookRefCount = static_cast<int16_t>(count);

    DWORD thread = hwndTarget ? GetWindowThreadProcessId(hwndTarget, nullptr) : 0;
    if (bInstall && s.nHookRefCount == 1) {
        s.hAgentHook = 0;
        HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, AgentHookProc, g_hInstance, thread);
        s.hAgentHook = static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(hook));
        g_sharedSection.dwHookOwnerProcess = GetCurrentProcessId();
        return s.nHookRefCount;
    }
    if (s.nHookRefCount == 0 && s.hAgentHook != 0) {
        // The handle lives in the shared state, across calls and processes;
        // a failed release leaves it there.
        if (COwnedHook(AgentHookHandle()).Close()) s.hAgentHook = 0;
    }
    return s.nHookRefCount;
}
