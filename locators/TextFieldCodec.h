// Text fields inside serialised forms: u32 length n, then for n > 0 the
// marker bytes 00 01 and n ANSI characters without terminator. The reader
// also takes bare ANSI (first byte after the length not 0) and UTF-16
// (00 followed by anything but 01; n units), converting UTF-16 to the ANSI
// code page.
//
// The codec object carries two bounds that the wire format itself lacks:
// a limit in the record (no byte at or after it is touched; a field that
// would cross it is not read or written, the cursor stays, HasOverrun turns
// true) and the size of the destination buffer of ReadText (the text is cut
// to fit, never split inside a double-byte character). Without a limit the
// codec trusts the cursor; without a destination size it assumes the
// measured size (length + 1).
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

class CTextFieldCodec {
public:
    CTextFieldCodec();

    // Writes the field for pszText (NULL is empty); nLength = its length.
    virtual void WriteText(BYTE*& pCursor, const char* pszText, uint32_t& nLength);
    // pszDest NULL: measures, nLength = field length + 1, cursor unchanged.
    // Otherwise reads the text NUL-terminated into pszDest, nLength = the
    // field's length, and moves past the field.
    virtual void ReadText(BYTE*& pCursor, char* pszDest, uint32_t& nLength);
    // Bytes the field for pszText takes.
    virtual int GetTextFieldSize(const char* pszText);

    void SetLimit(const BYTE* pEnd) { m_pLimit = pEnd; }
    void SetDestinationSize(size_t nSize) { m_nDestinationSize = nSize; }
    bool HasOverrun() const { return m_bOverrun; }

protected:
    // True when nSize bytes at pCursor lie before the limit; marks the
    // overrun otherwise.
    bool Fits(const BYTE* pCursor, uint64_t nSize);

private:
    void CopyAnsi(const BYTE* pSource, uint32_t nLength, char* pszDest, size_t nDestSize);
    void CopyWide(const BYTE* pSource, uint32_t nUnits, char* pszDest, size_t nDestSize);

    const BYTE* m_pLimit;
    size_t m_nDestinationSize;
    bool m_bOverrun;
};
