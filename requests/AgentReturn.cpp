// The reply every request ends with, and the ping: a request whose only
// answer is that reply.
#include "agent/AgentSharedState.h"
#include "requests/RequestHandlers.h"

void PostAgentReturn(const MSG& msg) {
    PostMessageA(reinterpret_cast<HWND>(msg.wParam), g_sharedState.nAgentReturnMsg, 0, 0);
}

void OnPing(MSG& msg) { PostAgentReturn(msg); }
