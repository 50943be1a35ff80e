// State shared by every process that has the agent loaded, and the
// per-process globals of the agent core.
//
// Threads. The library starts no threads. hookAgent (and spyWindow) run on
// the controller's thread; the hook procedures run on whichever thread of a
// hooked process Windows calls them on -- in a target with several GUI
// threads, on several at once.
#pragma once
#include <windows.h>
#include <cstdint>

// One block in the library's shared data section, the same memory in every
// process. Written by DllMain in the first process that loads the library
// (the message ids, then bInitialized) and by hookAgent in the controller
// (the hook handle and count); read everywhere, without a lock: each field
// is a single aligned word written by one side only.
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

// The whole shared data section: the state every process agrees on, first,
// then what only hookAgent uses.
struct AgentSharedSection {
    AgentSharedState state;
    // The process whose hookAgent installed the current hook. A series of
    // installs that a controller left behind when it ended without
    // releasing them (its hook went with it) is started afresh.
    uint32_t dwHookOwnerProcess;
};

extern AgentSharedSection g_sharedSection;
extern AgentSharedState& g_sharedState;

// Per-process state.
extern HINSTANCE g_hInstance;
// The agent lock, one per process. Taken by AgentHookProc around every
// request handler and the update of the duplicate check, so that requests
// arriving on several threads of one process run one after the other (and
// only one of them touches the shared record at a time); the menu probe and
// the message watch change their state under it too. Initialised at process
// attach, deleted at process detach.
extern CRITICAL_SECTION g_csAgent;
// The last envelope accepted in this process (sub-message id and message
// time), written under g_csAgent and read before it is taken.
extern uint32_t g_nLastSubMessage;
extern uint32_t g_dwLastTime;
extern uint32_t g_nSpyWindowMsg;
// "TavmorItemList", kept per process so that the shared state keeps its layout.
extern uint32_t g_nItemListMsg;

// The hook handle as the Windows API wants it.
inline HHOOK AgentHookHandle() {
    return reinterpret_cast<HHOOK>(static_cast<ULONG_PTR>(g_sharedState.hAgentHook));
}

// Registers the message ids (shared ones only in the first process) and
// prepares the agent lock; undone by AgentProcessDetach.
void AgentProcessAttach(HINSTANCE hinst);
void AgentProcessDetach();
