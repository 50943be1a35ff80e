// Ctrl+C for the tool's long-running commands: while a CStopSignal lives,
// Ctrl+C (or Ctrl+Break, or closing the console) asks the command to stop
// instead of ending the process, so that it can remove its hooks and put
// back what it changed.
#pragma once
#include <windows.h>

class CStopSignal {
public:
    CStopSignal();
    ~CStopSignal();
    CStopSignal(const CStopSignal&) = delete;
    CStopSignal& operator=(const CStopSignal&) = delete;

    bool Requested() const;
    // Dispatches this thread's messages for at most waitMs; returns early
    // when a stop is asked for.
    void PumpFor(DWORD waitMs) const;
};
