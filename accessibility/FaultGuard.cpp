// The fault guard (see FaultGuard.h).
#include "accessibility/FaultGuard.h"

#include "common/Owned.h"

namespace {

using COwnedExceptionHandler = TOwned<PVOID, &RemoveVectoredExceptionHandler>;

struct FaultFrame {
    CONTEXT context;          // where the thread goes back to after a fault
    volatile LONG nState;     // kCapturing, kRunning, kFinished or kFaulted
    volatile DWORD dwCode;
    DWORD dwThread;
    FaultFrame* pOuter;
};
const LONG kCapturing = 0, kRunning = 1, kFinished = 2, kFaulted = 3;

// The innermost guarded call of the thread that runs guarded calls.
FaultFrame* volatile g_pInnermostFrame = nullptr;
int g_nScopes = 0;
COwnedExceptionHandler g_handler;

LONG CALLBACK OnGuardedException(EXCEPTION_POINTERS* pInfo) {
    FaultFrame* pFrame = g_pInnermostFrame;
    if (!pFrame || pFrame->nState != kRunning || pFrame->dwThread != GetCurrentThreadId()) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    const DWORD dwCode = pInfo->ExceptionRecord->ExceptionCode;
    if ((dwCode & 0xC0000000u) != 0xC0000000u) return EXCEPTION_CONTINUE_SEARCH;
    pFrame->dwCode = dwCode;
    pFrame->nState = kFaulted;
    *pInfo->ContextRecord = pFrame->context;
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

CFaultGuardScope::CFaultGuardScope() {
    if (g_nScopes++ == 0) g_handler.Reset(AddVectoredExceptionHandler(1, OnGuardedException));
}

CFaultGuardScope::~CFaultGuardScope() {
    if (--g_nScopes == 0) g_handler.Reset();
}

bool CFaultGuardScope::Installed() const { return static_cast<bool>(g_handler); }

bool CallWithFaultGuard(void (*pfn)(void*), void* pArg, DWORD* pdwCode) {
    CFaultGuardScope scope;
    if (!scope.Installed()) {
        pfn(pArg);
        return true;
    }
    FaultFrame frame;
    frame.nState = kCapturing;
    frame.dwCode = 0;
    frame.dwThread = GetCurrentThreadId();
    frame.pOuter = g_pInnermostFrame;
    g_pInnermostFrame = &frame;
    // After a fault the thread comes back here a second time, with the
    // state (kept in memory, volatile) telling it so.
    RtlCaptureContext(&frame.context);
    if (frame.nState == kCapturing) {
        frame.nState = kRunning;
        pfn(pArg);
        frame.nState = kFinished;
    }
    g_pInnermostFrame = frame.pOuter;
    if (pdwCode) *pdwCode = frame.dwCode;
    return frame.nState == kFinished;
}
