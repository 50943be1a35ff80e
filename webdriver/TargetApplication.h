// The application a session drives: a program the session started (and
// closes again at its end) or a running one it attached to by a window.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/Owned.h"

class CTargetApplication {
public:
    CTargetApplication() = default;
    ~CTargetApplication() { Close(); }
    CTargetApplication(CTargetApplication&& other) noexcept;
    CTargetApplication& operator=(CTargetApplication&& other) noexcept;
    CTargetApplication(const CTargetApplication&) = delete;
    CTargetApplication& operator=(const CTargetApplication&) = delete;

    // Runs the program (searched as CreateProcess searches a command line
    // without a path) and waits up to timeoutMs for a visible top-level
    // window of its process.
    bool Start(const std::string& program, const std::string& arguments, const std::string& workingDir,
               DWORD timeoutMs, std::string* pError);
    // Attaches to the process of a top-level window.
    bool Attach(HWND window, std::string* pError);
    // Closes the application when this object started it: asks its windows
    // to close, then ends the process if it is still there.
    void Close();

    DWORD ProcessId() const { return m_dwProcessId; }
    HANDLE Process() const { return m_process.Get(); }
    HWND MainWindow() const { return m_hwndMain; }
    bool Started() const { return m_bStarted; }
    bool IsRunning() const;
    bool WaitForExit(DWORD waitMs) const;
    // The visible top-level windows of the process, the main window first
    // while it exists; menus and dialog boxes included.
    std::vector<HWND> TopLevelWindows() const;

private:
    COwnedHandle m_process;
    DWORD m_dwProcessId = 0;
    HWND m_hwndMain = nullptr;
    bool m_bStarted = false;
};
