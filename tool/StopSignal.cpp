#include "tool/StopSignal.h"

namespace {
volatile LONG g_nStopRequested = 0;

BOOL WINAPI OnConsoleControl(DWORD) {
    InterlockedExchange(&g_nStopRequested, 1);
    return TRUE;
}
}  // namespace

CStopSignal::CStopSignal() {
    InterlockedExchange(&g_nStopRequested, 0);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

CStopSignal::~CStopSignal() { SetConsoleCtrlHandler(OnConsoleControl, FALSE); }

bool CStopSignal::Requested() const { return g_nStopRequested != 0; }

void CStopSignal::PumpFor(DWORD waitMs) const {
    const DWORD start = GetTickCount();
    while (!Requested()) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= waitMs) return;
        // Wake at least every 100 ms to see a Ctrl+C.
        const DWORD left = waitMs - elapsed;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, left < 100 ? left : 100, QS_ALLINPUT);
    }
}
