// State shared by every process that has the agent loaded, and the
// per-process globals of the agent core.
#pragma once
#include <windows.h>
#include <cstdint>

// One block in the library's shared data section: written by DllMain in the
// first process and by hookAgent in the controller, read everywhere.
struct AgentSharedState {
    uint32_t hAgentHook;        // WH_GETMESSAGE hook handle (user handles fit 32 bits); 0 when none
    uint8_t bInitialized;       // 1 once the shared message ids are registered
    uint32_t nGetItemRectMsg;
    uint32_t nLocateItemMsg;
    uint32_t nInfoProbeMsg;
    uint32_t nAgentReturnMsg;
    uint32_t nSetMenuProbeMsg;
    uint32_t nMenuResultMsg;
    uint32_t nDataMessageMsg;
    int16_t nHookRefCount;      // outstanding hookAgent installs, never below 0
    uint32_t nEnvelopeMsg;
};

extern AgentSharedState g_sharedState;

// Per-process state.
extern HINSTANCE g_hInstance;
extern CRITICAL_SECTION g_csAgent;
extern uint32_t g_nLastSubMessage;
extern uint32_t g_dwLastTime;
extern uint32_t g_nSpyWindowMsg;

// The hook handle as the Windows API wants it.
inline HHOOK AgentHookHandle() {
    return reinterpret_cast<HHOOK>(static_cast<ULONG_PTR>(g_sharedState.hAgentHook));
}

// Registers the message ids (shared ones only in the first process) and
// prepares the agent lock; undone by AgentProcessDetach.
void AgentProcessAttach(HINSTANCE hinst);
void AgentProcessDetach();
