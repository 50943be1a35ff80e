#include "windows/WindowRecord.h"

#include <commctrl.h>

#include <cstring>

#include "locators/TerminatedTextFieldCodec.h"
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

    HWND hwndParent = GetParent(hwnd);
    m_szParentClassName[0] = '\0';
    if (hwndParent) GetWindowClassName(hwndParent, m_szParentClassName, kNameSize - 1);

    // Client coordinates of the parent (or owner); screen coordinates for a
    // window without either.
    RECT rect = {0, 0, 0, 0};
    if (GetWindowRect(hwnd, &rect)) {
        MapWindowPoints(NULL, hwndParent, reinterpret_cast<POINT*>(&rect), 2);
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

bool CWindowRecord::WriteField(BYTE*& pCursor, const void* pIn, size_t nSize) {
    return m_limit.Write(pCursor, pIn, nSize);
}

bool CWindowRecord::WriteName(BYTE*& pCursor, const char* pszName, uint32_t& nLength) {
    if (m_limit.Overrun()) return false;
    CTerminatedTextFieldCodec codec;
    codec.SetLimit(m_limit.End());
    codec.WriteText(pCursor, pszName, nLength);
    if (codec.HasOverrun()) m_limit.MarkOverrun();
    return !m_limit.Overrun();
}

void CWindowRecord::WriteData(BYTE*& pCursor) {
    const DWORD fixed[11] = {
        m_dwExStyle, m_dwStyle, m_nId, m_bNoFrame, m_nDescendants, m_nRange1, m_nRange2,
        static_cast<DWORD>(m_rcWindow.left), static_cast<DWORD>(m_rcWindow.top),
        static_cast<DWORD>(m_rcWindow.right), static_cast<DWORD>(m_rcWindow.bottom)};
    if (!WriteField(pCursor, fixed, sizeof(fixed))) return;
    if (!WriteName(pCursor, m_szClassName, m_nClassNameLength)) return;
    WriteName(pCursor, m_szParentClassName, m_nParentClassNameLength);
}

size_t CWindowRecord::GetDataSize() const {
    const size_t nClass = std::strlen(m_szClassName);
    const size_t nParent = std::strlen(m_szParentClassName);
    return kFixedDataSize + (nClass ? 7 + nClass : 4) + (nParent ? 7 + nParent : 4);
}
