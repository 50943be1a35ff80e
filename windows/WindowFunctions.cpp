#include "windows/WindowFunctions.h"

#include <cstring>

namespace {

const DWORD kCaptionBits = WS_CAPTION;  // WS_BORDER | WS_DLGFRAME
const int kClassNameSize = 256;

BOOL CALLBACK CountWindow(HWND, LPARAM lParam) {
    ++*reinterpret_cast<uint32_t*>(lParam);
    return TRUE;
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

bool HasClassName(HWND hwnd, const char* pszClassName) {
    char szName[kClassNameSize + 1] = {0};
    GetWindowClassName(hwnd, szName, kClassNameSize);
    return lstrcmpiA(szName, pszClassName) == 0;
}

}  // namespace

void GetWindowClassName(HWND hwnd, char* pszBuffer, uint32_t nMax) {
    if (!pszBuffer) return;
    pszBuffer[0] = '\0';
    char szName[kClassNameSize] = {0};
    if (GetClassNameA(hwnd, szName, kClassNameSize) <= 0) return;
    szName[kClassNameSize - 1] = '\0';

    int nColons = 0;
    for (const char* p = szName; *p; ++p) {
        if (*p == ':') ++nColons;
    }
    if (nColons == 5 && std::strncmp(szName, "Afx", 3) == 0) {
        int nSeen = 0;
        for (char* p = szName; *p; ++p) {
            if (*p == ':' && ++nSeen == 3) {
                p[1] = '\0';
                break;
            }
        }
    }
    size_t nLength = std::strlen(szName);
    if (nLength > nMax) nLength = nMax;
    std::memcpy(pszBuffer, szName, nLength);
    pszBuffer[nLength] = '\0';
}

bool HasCaption(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    const DWORD dwStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    return (dwStyle & kCaptionBits) == kCaptionBits;
}

HWND FindFrameAncestor(HWND hwnd, uint16_t* pDepth) {
    if (HasCaption(hwnd)) return nullptr;
    HWND hwndResult = nullptr;
    uint16_t nCount = 0;
    // The step limit guards against a parent chain that loops back on itself.
    for (HWND w = GetParent(hwnd); w && nCount < 0xFFFF; w = GetParent(w)) {
        ++nCount;
        hwndResult = w;
        const DWORD dwStyle = static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE));
        if (HasCaption(w) || !(dwStyle & WS_CHILD)) break;
    }
    if (pDepth) *pDepth = nCount;
    return hwndResult;
}

uint32_t CountDescendants(HWND hwnd) {
    uint32_t nCount = 0;
    if (IsWindow(hwnd)) EnumChildWindows(hwnd, CountWindow, reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}

int32_t GetTitleChecksum(HWND hwnd) {
    HWND hwndTitle = FindFrameAncestor(hwnd, nullptr);
    if (!hwndTitle) hwndTitle = hwnd;
    // GetWindowTextA would read some other window's title for nullptr.
    if (!IsWindow(hwndTitle)) return 0;
    char szTitle[256];
    std::memset(szTitle, 0, sizeof(szTitle));
    const int nRead = GetWindowTextA(hwndTitle, szTitle, 256);
    if (nRead < 1) return 0;
    int32_t nSum = 0;
    for (int i = 0; i < nRead && i < 255 && szTitle[i]; ++i) {
        nSum += static_cast<signed char>(szTitle[i]);
    }
    return nSum;
}

int FindWindowsByClass(std::string className, std::vector<HWND>& found) {
    std::vector<HWND> topLevel;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&topLevel));
    std::vector<HWND> descendants;
    for (size_t i = 0; i < topLevel.size(); ++i) {
        if (HasClassName(topLevel[i], className.c_str())) found.push_back(topLevel[i]);
        EnumChildWindows(topLevel[i], CollectWindow, reinterpret_cast<LPARAM>(&descendants));
    }
    for (size_t i = 0; i < descendants.size(); ++i) {
        if (HasClassName(descendants[i], className.c_str())) found.push_back(descendants[i]);
    }
    return static_cast<int>(found.size());
}
