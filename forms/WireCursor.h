// The one bounded cursor over the shared record's bytes, used by the agent
// and the controller alike for every field they read or write.
//
// The record is little-endian and packed: every access moves the cursor by
// exactly the bytes it touched. No access ever touches a byte outside
// [begin, end): an access that would cross the end is not performed, a read
// yields zeros, and the cursor fails for good (Ok() turns false; every later
// access fails too and the cursor stays where the failed access began).
//
// Text fields: u32 length n; for n > 0 the marker bytes 00 01 and n ANSI
// characters without terminator; the terminated variant leaves one more byte
// (never written, skipped on reading) after a non-empty text. A reader also
// takes bare ANSI (first byte after the length not 00) and UTF-16 (00, then
// anything but 01; n units), converting UTF-16 to the ANSI code page. A text
// with an embedded NUL arrives cut at the NUL; the cursor still moves past
// the whole field.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

enum class TextField { Plain, Terminated };

class CWireCursor {
public:
    // A failed cursor over nothing.
    CWireCursor() noexcept;
    // A cursor over [pBegin, pEnd), at pAt (pBegin when nullptr).
    CWireCursor(BYTE* pBegin, BYTE* pEnd, BYTE* pAt = nullptr) noexcept;
    // A read-only cursor: every write fails.
    CWireCursor(const BYTE* pBegin, const BYTE* pEnd, const BYTE* pAt = nullptr) noexcept;

    bool Ok() const noexcept { return m_bOk; }
    void Fail() noexcept { m_bOk = false; }
    size_t Offset() const noexcept { return static_cast<size_t>(m_pAt - m_pBegin); }
    size_t Remaining() const noexcept { return m_bOk ? static_cast<size_t>(m_pEnd - m_pAt) : 0; }
    BYTE* Position() const noexcept { return m_pAt; }
    BYTE* Begin() const noexcept { return m_pBegin; }
    BYTE* End() const noexcept { return m_pEnd; }
    // True when n more bytes lie before the end (does not fail the cursor).
    bool Fits(uint64_t n) const noexcept { return m_bOk && n <= static_cast<uint64_t>(m_pEnd - m_pAt); }
    // Moves to an absolute offset inside the range; fails beyond it.
    bool Seek(size_t nOffset) noexcept;
    bool Skip(uint64_t n) noexcept;

    bool ReadBytes(void* pOut, size_t n) noexcept;
    uint8_t ReadU8() noexcept;
    uint16_t ReadU16() noexcept;
    int16_t ReadI16() noexcept { return static_cast<int16_t>(ReadU16()); }
    uint32_t ReadU32() noexcept;
    int32_t ReadI32() noexcept { return static_cast<int32_t>(ReadU32()); }
    float ReadF32() noexcept;
    // Reads a text field into text (cleared on failure). nMaxLength cuts the
    // text to that many bytes, never inside a double-byte character.
    bool ReadText(std::string& text, TextField variant, size_t nMaxLength = SIZE_MAX) noexcept;
    // The length word of the text field at the cursor, without moving.
    bool PeekTextLength(uint32_t& n) const noexcept;

    // Writes chain; check Ok() once at the end.
    CWireCursor& WriteBytes(const void* pIn, size_t n) noexcept;
    CWireCursor& WriteU8(uint8_t value) noexcept;
    CWireCursor& WriteU16(uint16_t value) noexcept;
    CWireCursor& WriteU32(uint32_t value) noexcept;
    CWireCursor& WriteI32(int32_t value) noexcept { return WriteU32(static_cast<uint32_t>(value)); }
    CWireCursor& WriteF32(float value) noexcept;
    // A field that would not fit whole, terminator slot included, is not
    // written at all.
    CWireCursor& WriteText(const char* pszText, size_t nLength, TextField variant) noexcept;
    CWireCursor& WriteText(const std::string& text, TextField variant) noexcept {
        return WriteText(text.c_str(), text.size(), variant);
    }

    // Bytes a text field of n characters takes on the wire.
    static uint64_t TextFieldSize(uint64_t n, TextField variant) noexcept {
        return n == 0 ? 4 : 6 + n + (variant == TextField::Terminated ? 1 : 0);
    }

private:
    BYTE* m_pBegin;
    BYTE* m_pEnd;
    BYTE* m_pAt;
    bool m_bOk;
    bool m_bWritable;
};

// Cuts an ANSI text to at most nMax bytes without splitting a double-byte
// character.
void CutAnsiText(std::string& text, size_t nMax);
