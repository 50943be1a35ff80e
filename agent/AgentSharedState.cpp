#include "agent/AgentSharedState.h"
#include "agent/Portability.h"
#include "channel/WireNames.h"

// Initialised explicitly so that GCC places it in the shared section
// rather than in .bss.
VINTREL_SHARED_BEGIN
AgentSharedState g_sharedState VINTREL_SHARED = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
VINTREL_SHARED_END

HINSTANCE g_hInstance = nullptr;
CRITICAL_SECTION g_csAgent;
uint32_t g_nLastSubMessage = 0;
uint32_t g_dwLastTime = 0;
uint32_t g_nSpyWindowMsg = 0;

static bool s_bLockReady = false;

void AgentProcessAttach(HINSTANCE hinst) {
    g_hInstance = hinst;
    if (!g_sharedState.bInitialized) {
        g_sharedState.nEnvelopeMsg = RegisterWindowMessageA(wire::kEnvelopeMessage);
        g_sharedState.nGetItemRectMsg = RegisterWindowMessageA(wire::kGetItemRectMessage);
        g_sharedState.nInfoProbeMsg = RegisterWindowMessageA(wire::kInfoProbeMessage);
        g_sharedState.nLocateItemMsg = RegisterWindowMessageA(wire::kLocateItemMessage);
        g_sharedState.nAgentReturnMsg = RegisterWindowMessageA(wire::kAgentReturnMessage);
        g_sharedState.nSetMenuProbeMsg = RegisterWindowMessageA(wire::kSetMenuProbeMessage);
        g_sharedState.nMenuResultMsg = RegisterWindowMessageA(wire::kMenuResultMessage);
        g_sharedState.nDataMessageMsg = RegisterWindowMessageA(wire::kDataMessage);
        g_sharedState.bInitialized = 1;
    }
    g_nSpyWindowMsg = RegisterWindowMessageA(wire::kSpyWindowMessage);
    if (!s_bLockReady) {
        InitializeCriticalSection(&g_csAgent);
        s_bLockReady = true;
    }
}

void AgentProcessDetach() {
    if (s_bLockReady) {
        DeleteCriticalSection(&g_csAgent);
        s_bLockReady = false;
    }
}
