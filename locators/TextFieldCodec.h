// The text field codecs: write, read and measure one text field at a bare
// cursor (the format is forms/WireCursor.h's). Plain: u32 length n, then for
// n > 0 the marker bytes 00 01 and n ANSI characters. The terminated variant
// (CTerminatedTextFieldCodec) leaves one more byte after a non-empty text.
//
// The codec object carries two bounds that the wire format itself lacks:
// a limit in the record (no byte at or after it is touched; a field that
// would cross it is not read or written, the cursor stays, HasOverrun turns
// true) and the size of the destination buffer of ReadText (the text is cut
// to fit, never split inside a double-byte character). Without a limit the
// codec trusts the field at the cursor; without a destination size it
// assumes the measured size (length + 1).
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

#include "forms/WireCursor.h"

class CTextFieldCodec {
public:
    CTextFieldCodec();
    virtual ~CTextFieldCodec() {}

    // Writes the field for pszText (nullptr is empty); nLength = its length.
    virtual void WriteText(BYTE*& pCursor, const char* pszText, uint32_t& nLength);
    // pszDest nullptr: measures, nLength = field length + 1, cursor unchanged.
    // Otherwise reads the text NUL-terminated into pszDest, nLength = the
    // field's length, and moves past the field.
    virtual void ReadText(BYTE*& pCursor, char* pszDest, uint32_t& nLength);
    // Bytes the field for pszText takes.
    virtual int GetTextFieldSize(const char* pszText);

    void SetLimit(const BYTE* pEnd) { m_pLimit = pEnd; }
    void SetDestinationSize(size_t nSize) { m_nDestinationSize = nSize; }
    bool HasOverrun() const { return m_bOverrun; }

protected:
    explicit CTextFieldCodec(TextField variant);

private:
    // A cursor at p bounded by the limit, or without one by the end of the
    // field that starts at p (the field's own header is trusted).
    CWireCursor CursorAt(BYTE* p) const;

    TextField m_variant;
    const BYTE* m_pLimit;
    size_t m_nDestinationSize;
    bool m_bOverrun;
};
