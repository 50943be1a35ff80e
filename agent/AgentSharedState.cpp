// The shared state, the per-process globals, and their set-up at attach.
#include "agent/AgentSharedState.h"

#include "agent/MenuProbe.h"
#include "agent/Portability.h"
#include "agent/WindowSpy.h"
#include "channel/MessageTable.h"
#include "common/Owned.h"
#include "requests/MessageWatch.h"

// Initialised explicitly so that GCC places it in the shared section
// rather than in .bss.
VINTREL_SHARED_BEGIN
AgentSharedSection g_sharedSection VINTREL_SHARED = {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0};
VINTREL_SHARED_END
AgentSharedState& g_sharedState = g_sharedSection.state;

HINSTANCE g_hInstance = nullptr;
CRITICAL_SECTION g_csAgent;
uint32_t g_nLastSubMessage = 0;
uint32_t g_dwLastTime = 0;
uint32_t g_nSpyWindowMsg = 0;
uint32_t g_nItemListMsg = 0;

namespace {

bool s_bLockReady = false;

bool IsSharedSlot(const uint32_t* pSlot) {
    const BYTE* p = reinterpret_cast<const BYTE*>(pSlot);
    const BYTE* pShared = reinterpret_cast<const BYTE*>(&g_sharedState);
    return p >= pShared && p < pShared + sizeof(g_sharedState);
}

}  // namespace

void AgentProcessAttach(HINSTANCE hinst) {
    g_hInstance = hinst;
    // The shared ids are registered once, by the first process; a message
    // kept per process is registered by every process.
    const bool bRegisterShared = !g_sharedState.bInitialized;
#define VINTREL_REGISTER(Id, name, slot, handler) \
    if (bRegisterShared || !IsSharedSlot(&(slot))) (slot) = RegisterWindowMessageA(name);
    VINTREL_AGENT_MESSAGES(VINTREL_REGISTER)
#undef VINTREL_REGISTER
    if (bRegisterShared) g_sharedState.bInitialized = 1;
    if (!s_bLockReady) {
        InitializeCriticalSection(&g_csAgent);
        s_bLockReady = true;
    }
}

void AgentProcessDetach() {
    // No hook and no replaced window procedure may outlive the library's
    // code in this process.
    TheMessageWatch().ReleaseAll();
    if (s_bLockReady) {
        CCriticalSectionGuard lock(g_csAgent);
        ReleaseMenuProbe();
    }
    ReleaseWindowSpy();
    if (s_bLockReady) {
        DeleteCriticalSection(&g_csAgent);
        s_bLockReady = false;
    }
}
