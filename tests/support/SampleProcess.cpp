#include "tests/support/SampleProcess.h"

#include "sample/SampleProtocol.h"

std::string TestProgramDirectory() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    size_t slash = s.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}

namespace {

struct FrameSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindFrameOfProcess(HWND hwnd, LPARAM lParam) {
    FrameSearch* search = reinterpret_cast<FrameSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof(cls));
    if (pid == search->pid && lstrcmpA(cls, sample::kFrameClass) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool CSampleProcess::Start(const std::string& arguments, std::string* error, DWORD timeoutMs) {
    Stop();
    std::string exe = TestProgramDirectory() + "VintrelSample.exe";
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &m_pi)) {
        if (error) *error = "cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")";
        m_pi = {};
        return false;
    }
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FrameSearch search = {m_pi.dwProcessId, nullptr};
        EnumWindows(FindFrameOfProcess, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            DWORD_PTR result = 0;
            // Answering a message means the frame finished its creation.
            if (SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) {
                m_hwndFrame = search.found;
                return true;
            }
        }
        if (WaitForSingleObject(m_pi.hProcess, 20) == WAIT_OBJECT_0) break;
    }
    if (error) *error = "the sample application did not show its frame window";
    Stop();
    return false;
}

void CSampleProcess::Stop() {
    if (m_pi.hProcess) {
        if (m_hwndFrame && IsWindow(m_hwndFrame)) PostMessageA(m_hwndFrame, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_pi.hProcess, 3000) != WAIT_OBJECT_0) {
            TerminateProcess(m_pi.hProcess, 1);
            WaitForSingleObject(m_pi.hProcess, 3000);
        }
        CloseHandle(m_pi.hProcess);
        CloseHandle(m_pi.hThread);
    }
    m_pi = {};
    m_hwndFrame = nullptr;
}

bool CSampleProcess::IsRunning() const {
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

HWND CSampleProcess::Control(int id) const {
    return m_hwndFrame ? reinterpret_cast<HWND>(Send(sample::kMsgGetControl, id)) : nullptr;
}

HWND CSampleProcess::Dialog() const {
    return m_hwndFrame ? reinterpret_cast<HWND>(Send(sample::kMsgGetDialog)) : nullptr;
}

LRESULT CSampleProcess::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(m_hwndFrame, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result)) return 0;
    return static_cast<LRESULT>(result);
}

bool CSampleProcess::Rename(ULONG_PTR which, const std::string& text) const {
    COPYDATASTRUCT cds = {};
    cds.dwData = which;
    cds.cbData = static_cast<DWORD>(text.size() + 1);
    cds.lpData = const_cast<char*>(text.c_str());
    return Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)) != 0;
}
