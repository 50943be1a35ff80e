// Stand-in for <windows.h> in the native Linux fuzz build: the few types and
// text functions that the record's readers use, nothing else. Sizes follow
// the Windows ABI where the wire depends on them (LONG and DWORD are 32 bits,
// WCHAR is 16 bits).
//
// The ANSI code page here is a double-byte one, so that the readers' cuts
// that must never split a double-byte character are exercised: lead bytes
// 0x81..0x9F and 0xE0..0xFC as in the Japanese code page. Wide-to-ANSI maps
// units below 0x80 to one byte, half-width katakana (U+FF61..U+FF9F) to one
// byte 0xA1..0xDF, CJK units (U+3000..U+9FFF) to a lead and a trail byte, and
// everything else to '?'. The mapping is this build's own; it is only
// required to be a valid double-byte text.
#pragma once
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using UINT = unsigned int;
using INT = int;
using BOOL = int;
using CHAR = char;
using WCHAR = char16_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPCWSTR = const WCHAR*;
using LPBOOL = BOOL*;
using UINT_PTR = uintptr_t;
using ULONG_PTR = uintptr_t;
using INT_PTR = intptr_t;
using LONG_PTR = intptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using HANDLE = void*;
struct HWND__;
using HWND = HWND__*;
struct HMENU__;
using HMENU = HMENU__*;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#define CP_ACP 0u
#define MAX_PATH 260

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
struct POINT {
    LONG x;
    LONG y;
};

inline BOOL IsDBCSLeadByte(BYTE b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

namespace vintrel_shim {
// The ANSI bytes of one unit: their count (1 or 2) into out.
inline int UnitToAnsi(WCHAR u, BYTE out[2]) {
    if (u < 0x80) {
        out[0] = static_cast<BYTE>(u);
        return 1;
    }
    if (u >= 0xFF61 && u <= 0xFF9F) {
        out[0] = static_cast<BYTE>(0xA1 + (u - 0xFF61));
        return 1;
    }
    if (u >= 0x3000 && u <= 0x9FFF) {
        out[0] = static_cast<BYTE>(0x81 + (u % 31));              // a lead byte
        out[1] = static_cast<BYTE>(0x40 + ((u >> 5) % 0xBC));     // a trail byte, never 0
        return 2;
    }
    out[0] = '?';
    return 1;
}
}  // namespace vintrel_shim

// As the platform's: cchWide -1 converts up to and including the first 0
// unit; cbMulti 0 measures; a buffer too small converts nothing and gives 0.
inline int WideCharToMultiByte(UINT, DWORD, LPCWSTR pWide, int cchWide, LPSTR pMulti, int cbMulti, LPCSTR,
                               LPBOOL pUsedDefault) {
    if (pUsedDefault) *pUsedDefault = FALSE;
    if (!pWide || cchWide == 0 || cbMulti < 0) return 0;
    size_t nUnits = 0;
    if (cchWide < 0) {
        while (pWide[nUnits] != 0) ++nUnits;
        ++nUnits;  // the terminator is converted too
    } else {
        nUnits = static_cast<size_t>(cchWide);
    }
    size_t nBytes = 0;
    for (size_t i = 0; i < nUnits; ++i) {
        BYTE b[2];
        const int n = vintrel_shim::UnitToAnsi(pWide[i], b);
        if (cbMulti > 0) {
            if (nBytes + static_cast<size_t>(n) > static_cast<size_t>(cbMulti)) return 0;
            std::memcpy(pMulti + nBytes, b, static_cast<size_t>(n));
        }
        nBytes += static_cast<size_t>(n);
        if (nBytes > 0x7FFFFFFF) return 0;
    }
    return static_cast<int>(nBytes);
}

// The inverse for the bytes the mapping above yields; other bytes become
// their own value as a unit.
inline int MultiByteToWideChar(UINT, DWORD, LPCSTR pMulti, int cbMulti, WCHAR* pWide, int cchWide) {
    if (!pMulti || cbMulti == 0 || cchWide < 0) return 0;
    const size_t nBytes = cbMulti < 0 ? std::strlen(pMulti) + 1 : static_cast<size_t>(cbMulti);
    size_t nUnits = 0;
    for (size_t i = 0; i < nBytes; ++i) {
        const BYTE b = static_cast<BYTE>(pMulti[i]);
        WCHAR u = b;
        if (IsDBCSLeadByte(b) && i + 1 < nBytes) {
            u = static_cast<WCHAR>(0x3000 + ((b << 8) | static_cast<BYTE>(pMulti[i + 1])) % 0x7000);
            ++i;
        } else if (b >= 0xA1 && b <= 0xDF) {
            u = static_cast<WCHAR>(0xFF61 + (b - 0xA1));
        }
        if (cchWide > 0) {
            if (nUnits + 1 > static_cast<size_t>(cchWide)) return 0;
            pWide[nUnits] = u;
        }
        ++nUnits;
    }
    return static_cast<int>(nUnits);
}

inline int lstrlenA(LPCSTR psz) { return psz ? static_cast<int>(std::strlen(psz)) : 0; }

inline int lstrcmpiA(LPCSTR a, LPCSTR b) {
    for (;; ++a, ++b) {
        const int ca = std::tolower(static_cast<unsigned char>(*a));
        const int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb || ca == 0) return ca < cb ? -1 : (ca > cb ? 1 : 0);
    }
}

// Copies at most nMax - 1 characters and always terminates (for nMax > 0).
inline LPSTR lstrcpynA(LPSTR pDest, LPCSTR pSource, int nMax) {
    if (!pDest || nMax <= 0) return pDest;
    int i = 0;
    for (; pSource && i < nMax - 1 && pSource[i]; ++i) pDest[i] = pSource[i];
    pDest[i] = '\0';
    return pDest;
}

inline BOOL SetRectEmpty(RECT* pRect) {
    if (!pRect) return FALSE;
    *pRect = RECT{0, 0, 0, 0};
    return TRUE;
}
