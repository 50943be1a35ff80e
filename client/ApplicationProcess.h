// Starts a target application as a separate process and finds its
// top-level window; the process is ended when the object goes.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "common/Owned.h"

class CApplicationProcess {
public:
    CApplicationProcess() = default;
    ~CApplicationProcess() { Stop(); }
    CApplicationProcess(const CApplicationProcess&) = delete;
    CApplicationProcess& operator=(const CApplicationProcess&) = delete;

    // Runs exe with the arguments and waits until a top-level window of
    // frameClass that belongs to the new process exists and answers.
    bool Start(const std::string& exe, const std::string& arguments, const char* frameClass,
               std::string* error = nullptr, DWORD timeoutMs = 20000);
    // Asks the frame to close, and ends the process if it does not.
    void Stop();

    HWND Frame() const { return m_hwndFrame; }
    DWORD ProcessId() const { return m_dwProcessId; }
    HANDLE Process() const { return m_process.Get(); }
    bool IsRunning() const;
    // SendMessage with a time limit; 0 when the frame does not answer.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

private:
    COwnedHandle m_process;
    DWORD m_dwProcessId = 0;
    HWND m_hwndFrame = nullptr;
};

// A top-level window of className that belongs to the process; waits up
// to waitMs for it to appear. nullptr when there is none.
HWND FindTopWindowOfProcess(DWORD processId, const char* className, DWORD waitMs = 0);

// Every window of the process: its top-level windows, each followed by its
// descendants.
std::vector<HWND> WindowsOfProcess(DWORD processId);

// Directory of the running program, with a trailing backslash.
std::string ProgramDirectory();
