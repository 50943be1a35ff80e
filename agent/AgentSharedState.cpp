#include "agent/AgentSharedState.h"
#include "agent/Portability.h"

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
        g_sharedState.nEnvelopeMsg = RegisterWindowMessageA("TavmorVNLMessage");
        g_sharedState.nGetItemRectMsg = RegisterWindowMessageA("TavmorGetItemRect");
        g_sharedState.nInfoProbeMsg = RegisterWindowMessageA("TavmorInfoProbe");
        g_sharedState.nLocateItemMsg = RegisterWindowMessageA("TavmorLocateItem");
        g_sharedState.nAgentReturnMsg = RegisterWindowMessageA("TavmorAgentReturn");
        g_sharedState.nSetMenuProbeMsg = RegisterWindowMessageA("TavmorSetMenuProbe");
        g_sharedState.nMenuResultMsg = RegisterWindowMessageA("TavmorMenuResult");
        g_sharedState.nDataMessageMsg = RegisterWindowMessageA("TavmorDataMessage");
        g_sharedState.bInitialized = 1;
    }
    g_nSpyWindowMsg = RegisterWindowMessageA("TavmorSpyWindow");
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
