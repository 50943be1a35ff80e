// The description of one window as the controller records it: styles,
// identifier, class names, rectangle, number of descendants and, for scroll
// bars and trackbars, the range.
//
// Serialised form (little-endian, packed):
//   ex-style, style, id, no-frame flag, descendants, range 1, range 2 (u32
//   each), rectangle left, top, right, bottom (i32 each), class name and
//   parent class name as terminated text fields.
//
// WriteData keeps its cursor signature; SetDataLimit bounds it, and a field
// that would reach the limit is not written (HasDataOverrun turns true and
// the cursor stays before that field).
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

#include "channel/DataLimit.h"

class CWindowRecord {
public:
    static const int kNameSize = 256;
    static const int kFixedDataSize = 44;

    // Every field starts cleared, so that no value on the wire is undefined
    // (the range of other windows, the no-frame flag of a frame's record).
    CWindowRecord();

    // Reads everything from the window. The range is read only for a
    // "scrollbar" or "msctls_trackbar32" control.
    void FillFromWindow(HWND hwnd);
    void WriteData(BYTE*& pCursor);
    // Bytes WriteData writes with the current names.
    size_t GetDataSize() const;

    void SetDataLimit(const BYTE* pEnd) { m_limit.Set(pEnd); }
    const BYTE* GetDataLimit() const { return m_limit.End(); }
    bool HasDataOverrun() const { return m_limit.Overrun(); }

    DWORD m_dwExStyle;
    DWORD m_dwStyle;
    DWORD m_nId;
    DWORD m_bNoFrame;
    char m_szClassName[kNameSize];
    char m_szParentClassName[kNameSize];
    RECT m_rcWindow;
    DWORD m_nDescendants;
    DWORD m_nRange1;
    DWORD m_nRange2;
    uint32_t m_nClassNameLength;
    uint32_t m_nParentClassNameLength;

private:
    void ReadRange(HWND hwnd);
    bool WriteField(BYTE*& pCursor, const void* pIn, size_t nSize);
    bool WriteName(BYTE*& pCursor, const char* pszName, uint32_t& nLength);

    CDataLimit m_limit;
};
