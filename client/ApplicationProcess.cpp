#include "client/ApplicationProcess.h"

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    size_t slash = s.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}

namespace {

const int kStartAttempts = 5;
const DWORD kRetryDelayMs = 400;

struct FrameSearch {
    DWORD pid;
    const char* cls;
    HWND found;
};

BOOL CALLBACK FindFrameOfProcess(HWND hwnd, LPARAM lParam) {
    FrameSearch* search = reinterpret_cast<FrameSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[256] = {};
    GetClassNameA(hwnd, cls, sizeof(cls));
    if (pid == search->pid && lstrcmpiA(cls, search->cls) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> WindowsOfProcess(DWORD processId) {
    std::vector<HWND> all, ours;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND w : all) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process != processId) continue;
        ours.push_back(w);
        EnumChildWindows(w, CollectWindow, reinterpret_cast<LPARAM>(&ours));
    }
    return ours;
}

HWND FindTopWindowOfProcess(DWORD processId, const char* className, DWORD waitMs) {
    FrameSearch search = {processId, className, nullptr};
    const DWORD start = GetTickCount();
    for (;;) {
        EnumWindows(FindFrameOfProcess, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start >= waitMs) return search.found;
        Sleep(20);
    }
}

bool CApplicationProcess::Start(const std::string& exe, const std::string& arguments,
                                const char* frameClass, std::string* error, DWORD timeoutMs) {
    Stop();
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    // Wine now and then fails a process start with an internal error while
    // another process of the prefix is starting or ending; that start is
    // tried again. Any other failure is final.
    DWORD lastError = 0;
    for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
        if (attempt) Sleep(kRetryDelayMs);
        std::string line = commandLine;  // CreateProcessA may write to it
        PROCESS_INFORMATION pi = {};
        if (CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            m_process.Reset(pi.hProcess);
            COwnedHandle thread(pi.hThread);
            m_dwProcessId = pi.dwProcessId;
            lastError = 0;
            break;
        }
        lastError = GetLastError();
        if (lastError != ERROR_INTERNAL_ERROR) break;
    }
    if (lastError) {
        if (error) *error = "cannot start " + exe + " (error " + std::to_string(lastError) + ")";
        return false;
    }
    WaitForInputIdle(m_process.Get(), timeoutMs);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FrameSearch search = {m_dwProcessId, frameClass, nullptr};
        EnumWindows(FindFrameOfProcess, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            DWORD_PTR result = 0;
            // Answering a message means the frame has finished its creation.
            if (SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) {
                m_hwndFrame = search.found;
                return true;
            }
        }
        if (WaitForSingleObject(m_process.Get(), 20) == WAIT_OBJECT_0) break;
    }
    if (error) *error = exe + " did not show its window";
    Stop();
    return false;
}

void CApplicationProcess::Stop() {
    if (m_process) {
        if (m_hwndFrame && IsWindow(m_hwndFrame)) PostMessageA(m_hwndFrame, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_process.Get(), 3000) != WAIT_OBJECT_0) {
            TerminateProcess(m_process.Get(), 1);
            WaitForSingleObject(m_process.Get(), 3000);
        }
    }
    m_process.Reset();
    m_dwProcessId = 0;
    m_hwndFrame = nullptr;
}

bool CApplicationProcess::IsRunning() const {
    return m_process && WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
}

LRESULT CApplicationProcess::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!m_hwndFrame ||
        !SendMessageTimeoutA(m_hwndFrame, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result)) {
        return 0;
    }
    return static_cast<LRESULT>(result);
}
