// The sample application, started as a separate process for a test.
#pragma once
#include <windows.h>
#include <string>

#include "client/ApplicationProcess.h"

class CSampleProcess {
public:
    // Runs VintrelSample.exe (next to the test program) with the arguments
    // and waits until its frame window answers.
    bool Start(const std::string& arguments = std::string(), std::string* error = nullptr,
               DWORD timeoutMs = 20000);
    void Stop() { m_process.Stop(); }

    HWND Frame() const { return m_process.Frame(); }
    HWND Control(int id) const;
    HWND Dialog() const;
    DWORD ProcessId() const { return m_process.ProcessId(); }
    bool IsRunning() const { return m_process.IsRunning(); }

    // Sends one of the sample's own messages to the frame.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return m_process.Send(message, wParam, lParam);
    }
    // Renames a list item (or, with the menu base added, a menu-bar item).
    bool Rename(ULONG_PTR which, const std::string& text) const;

private:
    CApplicationProcess m_process;
};

// Directory of the running test program, with a trailing backslash.
inline std::string TestProgramDirectory() { return ProgramDirectory(); }
