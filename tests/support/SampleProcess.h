// Starts the sample application as a separate process for a test and finds
// its windows; the process is ended when the object goes.
#pragma once
#include <windows.h>
#include <string>

class CSampleProcess {
public:
    CSampleProcess() = default;
    ~CSampleProcess() { Stop(); }
    CSampleProcess(const CSampleProcess&) = delete;
    CSampleProcess& operator=(const CSampleProcess&) = delete;

    // Runs VintrelSample.exe (next to the test program) with the arguments
    // and waits until its frame window exists and answers messages.
    bool Start(const std::string& arguments = std::string(), std::string* error = nullptr,
               DWORD timeoutMs = 20000);
    void Stop();

    HWND Frame() const { return m_hwndFrame; }
    HWND Control(int id) const;
    HWND Dialog() const;
    DWORD ProcessId() const { return m_pi.dwProcessId; }
    bool IsRunning() const;

    // Sends one of the sample's own messages to the frame.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Renames list item (or menu item with the menu base) through WM_COPYDATA.
    bool Rename(ULONG_PTR which, const std::string& text) const;

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hwndFrame = nullptr;
};

// Directory of the running test program, with a trailing backslash.
std::string TestProgramDirectory();
