// Library entry point.
#include "agent/AgentExports.h"
#include "agent/AgentSharedState.h"

VINTREL_EXPORT BOOL WINAPI DllMain(HINSTANCE hinst, DWORD reason, LPVOID) {
    g_hInstance = hinst;
    if (reason == DLL_PROCESS_ATTACH) {
        AgentProcessAttach(hinst);
    } else if (reason == DLL_PROCESS_DETACH) {
        AgentProcessDetach();
    }
    return TRUE;
}
