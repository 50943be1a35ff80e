#include "forms/WireCursor.h"

#include <cstring>
#include <new>
#include <vector>

namespace {
const BYTE kMarker0 = 0x00;
const BYTE kMarkerAnsi = 0x01;

// Copies up to nLength bytes, stopping at an embedded NUL.
std::string AnsiUpToNul(const BYTE* p, size_t nLength) {
    const void* pNul = std::memchr(p, 0, nLength);
    if (pNul) nLength = static_cast<size_t>(static_cast<const BYTE*>(pNul) - p);
    return std::string(reinterpret_cast<const char*>(p), nLength);
}

// The units may be unaligned in the record: copied to a terminated buffer
// of their own first, then converted to the ANSI code page.
std::string WideToAnsi(const BYTE* p, uint32_t nUnits) {
    std::vector<WCHAR> wide(static_cast<size_t>(nUnits) + 1, 0);
    std::memcpy(wide.data(), p, 2 * static_cast<size_t>(nUnits));
    const int nSize = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    if (nSize <= 0) return std::string();
    std::vector<char> ansi(static_cast<size_t>(nSize), 0);
    if (WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, ansi.data(), nSize, nullptr, nullptr) <= 0) {
        return std::string();
    }
    return std::string(ansi.data());
}
}  // namespace

void CutAnsiText(std::string& text, size_t nMax) {
    if (text.size() <= nMax) return;
    size_t i = 0;
    while (i < nMax) {
        const size_t nChar = (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size()) ? 2 : 1;
        if (i + nChar > nMax) break;
        i += nChar;
    }
    text.resize(i);
}

CWireCursor::CWireCursor() noexcept
    : m_pBegin(nullptr), m_pEnd(nullptr), m_pAt(nullptr), m_bOk(false), m_bWritable(false) {}

CWireCursor::CWireCursor(BYTE* pBegin, BYTE* pEnd, BYTE* pAt) noexcept
    : m_pBegin(pBegin), m_pEnd(pEnd), m_pAt(pAt ? pAt : pBegin), m_bOk(false), m_bWritable(true) {
    m_bOk = pBegin && pEnd && pBegin <= pEnd && m_pAt >= pBegin && m_pAt <= pEnd;
}

CWireCursor::CWireCursor(const BYTE* pBegin, const BYTE* pEnd, const BYTE* pAt) noexcept
    : CWireCursor(const_cast<BYTE*>(pBegin), const_cast<BYTE*>(pEnd), const_cast<BYTE*>(pAt)) {
    m_bWritable = false;
}

bool CWireCursor::Seek(size_t nOffset) noexcept {
    if (!m_bOk || nOffset > static_cast<size_t>(m_pEnd - m_pBegin)) {
        m_bOk = false;
        return false;
    }
    m_pAt = m_pBegin + nOffset;
    return true;
}

bool CWireCursor::Skip(uint64_t n) noexcept {
    if (!Fits(n)) {
        m_bOk = false;
        return false;
    }
    m_pAt += n;
    return true;
}

bool CWireCursor::ReadBytes(void* pOut, size_t n) noexcept {
    if (!Fits(n)) {
        m_bOk = false;
        if (pOut && n) std::memset(pOut, 0, n);
        return false;
    }
    if (pOut && n) std::memcpy(pOut, m_pAt, n);
    m_pAt += n;
    return true;
}

uint8_t CWireCursor::ReadU8() noexcept {
    uint8_t b = 0;
    ReadBytes(&b, 1);
    return b;
}

uint16_t CWireCursor::ReadU16() noexcept {
    BYTE b[2];
    ReadBytes(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t CWireCursor::ReadU32() noexcept {
    BYTE b[4];
    ReadBytes(b, 4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
           (static_cast<uint32_t>(b[3]) << 24);
}

float CWireCursor::ReadF32() noexcept {
    const uint32_t bits = ReadU32();
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

bool CWireCursor::PeekTextLength(uint32_t& n) const noexcept {
    n = 0;
    if (!Fits(4)) return false;
    n = static_cast<uint32_t>(m_pAt[0]) | (static_cast<uint32_t>(m_pAt[1]) << 8) |
        (static_cast<uint32_t>(m_pAt[2]) << 16) | (static_cast<uint32_t>(m_pAt[3]) << 24);
    return true;
}

bool CWireCursor::ReadText(std::string& text, TextField variant, size_t nMaxLength) noexcept {
    text.clear();
    uint32_t n = 0;
    if (!PeekTextLength(n)) {
        m_bOk = false;
        return false;
    }
    if (n == 0) {
        m_pAt += 4;
        return true;
    }
    // The first byte after the length tells the layout; it must be there.
    if (!Fits(5)) {
        m_bOk = false;
        return false;
    }
    bool bWide = false;
    uint64_t nOffset = 4;
    if (m_pAt[4] == kMarker0) {
        if (!Fits(6)) {
            m_bOk = false;
            return false;
        }
        bWide = m_pAt[5] != kMarkerAnsi;
        nOffset = 6;
    }
    const uint64_t nBody = bWide ? 2 * static_cast<uint64_t>(n) : n;
    const uint64_t nField = nOffset + nBody + (variant == TextField::Terminated ? 1 : 0);
    if (!Fits(nField)) {
        m_bOk = false;
        return false;
    }
    // The body fits the record, so its size is bounded by the mapping; a
    // target short of memory fails the field rather than the process.
    try {
        const BYTE* pBody = m_pAt + nOffset;
        text = bWide ? WideToAnsi(pBody, n) : AnsiUpToNul(pBody, static_cast<size_t>(n));
        CutAnsiText(text, nMaxLength);
    } catch (const std::bad_alloc&) {
        text.clear();
        m_bOk = false;
        return false;
    }
    m_pAt += nField;
    return true;
}

CWireCursor& CWireCursor::WriteBytes(const void* pIn, size_t n) noexcept {
    if (!m_bWritable || !Fits(n)) {
        m_bOk = false;
        return *this;
    }
    if (n) std::memcpy(m_pAt, pIn, n);
    m_pAt += n;
    return *this;
}

CWireCursor& CWireCursor::WriteU8(uint8_t value) noexcept { return WriteBytes(&value, 1); }

CWireCursor& CWireCursor::WriteU16(uint16_t value) noexcept {
    const BYTE b[2] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8)};
    return WriteBytes(b, 2);
}

CWireCursor& CWireCursor::WriteU32(uint32_t value) noexcept {
    const BYTE b[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                       static_cast<BYTE>(value >> 24)};
    return WriteBytes(b, 4);
}

CWireCursor& CWireCursor::WriteF32(float value) noexcept {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    return WriteU32(bits);
}

CWireCursor& CWireCursor::WriteText(const char* pszText, size_t nLength, TextField variant) noexcept {
    if (!pszText) nLength = 0;
    if (nLength > 0xFFFFFFFFu || !m_bWritable || !Fits(TextFieldSize(nLength, variant))) {
        m_bOk = false;
        return *this;
    }
    WriteU32(static_cast<uint32_t>(nLength));
    if (nLength > 0) {
        WriteU8(kMarker0).WriteU8(kMarkerAnsi).WriteBytes(pszText, nLength);
        if (variant == TextField::Terminated) m_pAt += 1;  // the slot is left as it is
    }
    return *this;
}
