#include "windows/WindowRecord.h"

#include <commctrl.h>

#include <cstring>

#include "windows/WindowFunctions.h"

namespace {
// A window of another process may be hung: never wait on it for long.
const UINT kForeignTimeoutMs = 1000;

bool IsOwnWindow(HWND hwnd) {
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hwnd, &dwProcess);
    return dwProcess == GetCurrentProcessId();
}
}  // namespace

CWindowRecord::CWindowRecord()
    : m_dwExStyle(0), m_dwStyle(0), m_nId(0), m_bNoFrame(0), m_rcWindow(), m_nDescendants(0),
      m_nRange1(0), m_nRange2(0), m_nClassNameLength(0), m_nParentClassNameLength(0) {
    std::memset(m_szClassName, 0, sizeof(m_szClassName));
    std::memset(m_szParentClassName, 0, sizeof(m_szParentClassName));
}

void CWindowRecord::FillFromWindow(HWND hwnd) {
    m_dwExStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
    m_dwStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    m_nId = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_ID));
    m_nDescendants = CountDescendants(hwnd);
    GetWindowClassName(hwnd, m_szClassName, kNameSize - 1);
    m_nClassNameLength = static_cast<uint32_t>(lstrlenA(m_szClassName));

    HWND hwndParent = GetParent(hwnd);
    m_szParentClassName[0] = '\0';
    if (hwndParent) GetWindowClassName(hwndParent, m_szParentClassName, kNameSize - 1);
    m_nParentClassNameLength = static_cast<uint32_t>(lstrlenA(m_szParentClassName));

    // Client coordinates of the parent (or owner); screen coordinates for a
    // window without either.
    RECT rect = {0, 0, 0, 0};
    if (GetWindowRect(hwnd, &rect)) {
        MapWindowPoints(nullptr, hwndParent, reinterpret_cast<POINT*>(&rect), 2);
    }
    m_rcWindow = rect;
    ReadRange(hwnd);
}

void CWindowRecord::ReadRange(HWND hwnd) {
    const bool bScrollBar = lstrcmpiA(m_szClassName, "scrollbar") == 0;
    if (!bScrollBar && lstrcmpiA(m_szClassName, "msctls_trackbar32") != 0) return;
    const bool bOwn = IsOwnWindow(hwnd);
    if (bScrollBar) {
        INT nMin = 0, nMax = 0;
        if (bOwn) {
            SendMessageA(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(&nMin), reinterpret_cast<LPARAM>(&nMax));
        } else {
            // The message carries pointers into this process; a scroll bar of
            // another process is asked through the call that the system
            // carries across processes instead.
            SCROLLINFO info;
            std::memset(&info, 0, sizeof(info));
            info.cbSize = sizeof(info);
            info.fMask = SIF_RANGE;
            if (GetScrollInfo(hwnd, SB_CTL, &info)) {
                nMin = info.nMin;
                nMax = info.nMax;
            }
        }
        m_nRange1 = static_cast<DWORD>(nMin);
        m_nRange2 = static_cast<DWORD>(nMax);
        return;
    }
    if (bOwn) {
        m_nRange1 = static_cast<DWORD>(SendMessageA(hwnd, TBM_GETRANGEMIN, 0, 0));
        m_nRange2 = static_cast<DWORD>(SendMessageA(hwnd, TBM_GETRANGEMAX, 0, 0));
        return;
    }
    DWORD_PTR nResult = 0;
    if (SendMessageTimeoutA(hwnd, TBM_GETRANGEMIN, 0, 0, SMTO_ABORTIFHUNG, kForeignTimeoutMs, &nResult)) {
        m_nRange1 = static_cast<DWORD>(nResult);
    }
    nResult = 0;
    if (SendMessageTimeoutA(hwnd, TBM_GETRANGEMAX, 0, 0, SMTO_ABORTIFHUNG, kForeignTimeoutMs, &nResult)) {
        m_nRange2 = static_cast<DWORD>(nResult);
    }
}

WindowRecordForm CWindowRecord::MakeForm() const {
    WindowRecordForm form;
    form.dwExStyle = m_dwExStyle;
    form.dwStyle = m_dwStyle;
    form.nId = m_nId;
    form.bNoFrame = m_bNoFrame;
    form.nDescendants = m_nDescendants;
    form.nRange1 = m_nRange1;
    form.nRange2 = m_nRange2;
    form.rcWindow = m_rcWindow;
    form.className = m_szClassName;
    form.parentClassName = m_szParentClassName;
    return form;
}
