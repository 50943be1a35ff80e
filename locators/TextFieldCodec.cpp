#include "locators/TextFieldCodec.h"

#include <cstring>
#include <new>

namespace {
const BYTE kMarker0 = 0x00;
const BYTE kMarkerAnsi = 0x01;

uint32_t ReadLength(const BYTE* p) {
    uint32_t n;
    std::memcpy(&n, p, 4);
    return n;
}
}  // namespace

CTextFieldCodec::CTextFieldCodec() : m_pLimit(NULL), m_nDestinationSize(0), m_bOverrun(false) {}

bool CTextFieldCodec::Fits(const BYTE* pCursor, uint64_t nSize) {
    if (m_bOverrun) return false;
    if (!m_pLimit) return true;
    if (pCursor > m_pLimit || static_cast<uint64_t>(m_pLimit - pCursor) < nSize) {
        m_bOverrun = true;
        return false;
    }
    return true;
}

void CTextFieldCodec::WriteText(BYTE*& pCursor, const char* pszText, uint32_t& nLength) {
    nLength = pszText ? static_cast<uint32_t>(lstrlenA(pszText)) : 0;
    if (!Fits(pCursor, nLength > 0 ? 6 + static_cast<uint64_t>(nLength) : 4)) return;
    std::memcpy(pCursor, &nLength, 4);
    if (nLength > 0) {
        pCursor[4] = kMarker0;
        pCursor[5] = kMarkerAnsi;
        std::memcpy(pCursor + 6, pszText, nLength);
        pCursor += 6 + nLength;
    } else {
        pCursor += 4;
    }
}

int CTextFieldCodec::GetTextFieldSize(const char* pszText) {
    const int n = pszText ? lstrlenA(pszText) : 0;
    return n > 0 ? 6 + n : 4;
}

void CTextFieldCodec::ReadText(BYTE*& pCursor, char* pszDest, uint32_t& nLength) {
    if (pszDest) pszDest[0] = '\0';
    if (!Fits(pCursor, 4)) {
        nLength = 0;
        return;
    }
    const uint32_t n = ReadLength(pCursor);
    if (n == 0) {
        if (pszDest) {
            nLength = 0;
            pCursor += 4;
        } else {
            nLength = 1;
        }
        return;
    }
    // The first byte after the length tells the layout; it must be there.
    if (!Fits(pCursor, 5)) {
        nLength = 0;
        return;
    }
    bool bWide = false;
    uint64_t nOffset = 4;
    if (pCursor[4] == kMarker0) {
        if (!Fits(pCursor, 6)) {
            nLength = 0;
            return;
        }
        bWide = pCursor[5] != kMarkerAnsi;
        nOffset = 6;
    }
    const uint64_t nBody = bWide ? 2 * static_cast<uint64_t>(n) : n;
    if (!Fits(pCursor, nOffset + nBody)) {
        nLength = 0;
        return;
    }
    if (!pszDest) {
        nLength = n == 0xFFFFFFFFu ? n : n + 1;
        return;
    }
    // Without a stated size the buffer is the measured one.
    const size_t nDestSize = m_nDestinationSize ? m_nDestinationSize : static_cast<size_t>(n) + 1;
    if (bWide) CopyWide(pCursor + nOffset, n, pszDest, nDestSize);
    else CopyAnsi(pCursor + nOffset, n, pszDest, nDestSize);
    nLength = n;
    pCursor += nOffset + nBody;
}

void CTextFieldCodec::CopyAnsi(const BYTE* pSource, uint32_t nLength, char* pszDest, size_t nDestSize) {
    // Stops at an embedded NUL like a string copy, and at the buffer's end;
    // a double-byte character that would not fit whole is left out.
    size_t i = 0;
    while (i < nLength && pSource[i] != 0) {
        const size_t nChar = (IsDBCSLeadByte(pSource[i]) && i + 1 < nLength && pSource[i + 1] != 0) ? 2 : 1;
        if (i + nChar + 1 > nDestSize) break;
        pszDest[i] = static_cast<char>(pSource[i]);
        if (nChar == 2) pszDest[i + 1] = static_cast<char>(pSource[i + 1]);
        i += nChar;
    }
    pszDest[i] = '\0';
}

void CTextFieldCodec::CopyWide(const BYTE* pSource, uint32_t nUnits, char* pszDest, size_t nDestSize) {
    // The units may be unaligned in the record: copied to a terminated
    // buffer of their own first, then converted, then cut to fit.
    WCHAR* pszWide = new (std::nothrow) WCHAR[static_cast<size_t>(nUnits) + 1];
    if (!pszWide) return;
    std::memcpy(pszWide, pSource, 2 * static_cast<size_t>(nUnits));
    pszWide[nUnits] = 0;
    const int nAnsiSize = WideCharToMultiByte(CP_ACP, 0, pszWide, -1, NULL, 0, NULL, NULL);
    char* pszAnsi = nAnsiSize > 0 ? new (std::nothrow) char[nAnsiSize] : NULL;
    if (pszAnsi && WideCharToMultiByte(CP_ACP, 0, pszWide, -1, pszAnsi, nAnsiSize, NULL, NULL) > 0) {
        CopyAnsi(reinterpret_cast<const BYTE*>(pszAnsi), static_cast<uint32_t>(nAnsiSize), pszDest, nDestSize);
    }
    delete[] pszAnsi;
    delete[] pszWide;
}
