#include "agent/AgentSharedState.h"
#include "requests/RequestHandlers.h"

void PostAgentReturn(const MSG& msg) {
    PostMessageA(reinterpret_cast<HWND>(msg.wParam), g_sharedState.nAgentReturnMsg, 0, 0);
}
