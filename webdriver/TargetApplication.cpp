// Starting, attaching to and closing the application of a session.
#include "webdriver/TargetApplication.h"

#include <utility>

namespace {

const int kStartAttempts = 5;
const DWORD kRetryDelayMs = 400;
const DWORD kCloseWaitMs = 3000;

struct WindowsOfProcess {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectVisibleTopLevel(HWND hwnd, LPARAM lParam) {
    WindowsOfProcess* search = reinterpret_cast<WindowsOfProcess*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == search->processId && IsWindowVisible(hwnd)) search->windows.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD processId) {
    WindowsOfProcess search = {processId, {}};
    EnumWindows(CollectVisibleTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

// The application's main window among its visible top-level windows: one
// without an owner before an owned one, a frame with a system menu and
// minimize or maximize boxes before a plain popup, then the largest.
HWND MainWindowOf(DWORD processId) {
    HWND best = nullptr;
    long long bestScore = -1;
    for (HWND w : VisibleTopLevelWindows(processId)) {
        const LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
        RECT r = {0, 0, 0, 0};
        GetWindowRect(w, &r);
        const long long area = static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
        long long rank = 0;
        if (!GetWindow(w, GW_OWNER)) rank += 4;
        if (style & WS_SYSMENU) rank += 2;
        if (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) rank += 1;
        const long long score = rank * (1LL << 40) + (area > 0 ? area : 0);
        if (score > bestScore) {
            bestScore = score;
            best = w;
        }
    }
    return best;
}

}  // namespace

CTargetApplication::CTargetApplication(CTargetApplication&& other) noexcept
    : m_process(std::move(other.m_process)),
      m_dwProcessId(std::exchange(other.m_dwProcessId, 0)),
      m_hwndMain(std::exchange(other.m_hwndMain, nullptr)),
      m_bStarted(std::exchange(other.m_bStarted, false)) {}

CTargetApplication& CTargetApplication::operator=(CTargetApplication&& other) noexcept {
    if (this != &other) {
        Close();
        m_process = std::move(other.m_process);
        m_dwProcessId = std::exchange(other.m_dwProcessId, 0);
        m_hwndMain = std::exchange(other.m_hwndMain, nullptr);
        m_bStarted = std::exchange(other.m_bStarted, false);
    }
    return *this;
}

bool CTargetApplication::Start(const std::string& program, const std::string& arguments,
                               const std::string& workingDir, DWORD timeoutMs, std::string* pError) {
    Close();
    if (program.empty() || program.find('"') != std::string::npos) {
        *pError = "the program's name is empty or holds a quotation mark";
        return false;
    }
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    // Wine now and then fails a process start with an internal error while
    // another process of the prefix starts or ends; that start is tried
    // again. Any other failure is final.
    DWORD lastError = 0;
    for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
        if (attempt) Sleep(kRetryDelayMs);
        std::string line = commandLine;  // CreateProcessA may write to it
        PROCESS_INFORMATION pi = {};
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                           workingDir.empty() ? nullptr : workingDir.c_str(), &si, &pi)) {
            m_process.Reset(pi.hProcess);
            COwnedHandle thread(pi.hThread);
            m_dwProcessId = pi.dwProcessId;
            m_bStarted = true;
            lastError = 0;
            break;
        }
        lastError = GetLastError();
        if (lastError != ERROR_INTERNAL_ERROR) break;
    }
    if (lastError) {
        *pError = "cannot start " + program + " (error " + std::to_string(lastError) + ")";
        return false;
    }
    WaitForInputIdle(m_process.Get(), timeoutMs);
    const DWORD start = GetTickCount();
    for (;;) {
        HWND main = MainWindowOf(m_dwProcessId);
        DWORD_PTR result = 0;
        // Answering a message means the window has finished its creation.
        if (main && SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result)) {
            m_hwndMain = main;
            return true;
        }
        if (WaitForSingleObject(m_process.Get(), 50) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(m_process.Get(), &code);
            *pError = program + " ended (exit code " + std::to_string(code) + ") without showing a window";
            break;
        }
        if (GetTickCount() - start >= timeoutMs) {
            *pError = program + " showed no window within " + std::to_string(timeoutMs) + " ms";
            break;
        }
    }
    Close();
    return false;
}

bool CTargetApplication::Attach(HWND window, std::string* pError) {
    Close();
    DWORD processId = 0;
    if (!window || !IsWindow(window) || !GetWindowThreadProcessId(window, &processId)) {
        *pError = "there is no window with that handle";
        return false;
    }
    if (processId == GetCurrentProcessId()) {
        *pError = "the window belongs to the server itself";
        return false;
    }
    m_process.Reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!m_process) m_process.Reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    m_dwProcessId = processId;
    m_hwndMain = GetAncestor(window, GA_ROOT);
    m_bStarted = false;
    return true;
}

void CTargetApplication::Close() {
    if (m_bStarted && m_process) {
        for (HWND w : VisibleTopLevelWindows(m_dwProcessId)) PostMessageA(w, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_process.Get(), kCloseWaitMs) != WAIT_OBJECT_0) {
            TerminateProcess(m_process.Get(), 1);
            WaitForSingleObject(m_process.Get(), kCloseWaitMs);
        }
    }
    m_process.Reset();
    m_dwProcessId = 0;
    m_hwndMain = nullptr;
    m_bStarted = false;
}

bool CTargetApplication::IsRunning() const {
    if (m_process) return WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
    // Attached without a process handle: alive while a window of it is.
    return m_hwndMain && IsWindow(m_hwndMain);
}

bool CTargetApplication::WaitForExit(DWORD waitMs) const {
    if (m_process) return WaitForSingleObject(m_process.Get(), waitMs) == WAIT_OBJECT_0;
    const DWORD start = GetTickCount();
    while (IsRunning()) {
        if (GetTickCount() - start >= waitMs) return false;
        Sleep(20);
    }
    return true;
}

std::vector<HWND> CTargetApplication::TopLevelWindows() const {
    std::vector<HWND> windows = VisibleTopLevelWindows(m_dwProcessId);
    for (size_t i = 0; i < windows.size(); ++i) {
        if (windows[i] == m_hwndMain && i > 0) {
            windows.erase(windows.begin() + static_cast<std::ptrdiff_t>(i));
            windows.insert(windows.begin(), m_hwndMain);
            break;
        }
    }
    return windows;
}
