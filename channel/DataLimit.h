// The end a serialised object may write up to, and whether a write has
// already been refused. Objects that write themselves through a bare cursor
// (window records, descriptions) keep one; once a field has not fitted,
// nothing more is written, so the caller can fail the request as a whole.
#pragma once
#include <windows.h>
#include <cstddef>

class CDataLimit {
public:
    CDataLimit() : m_pEnd(NULL), m_bOverrun(false) {}

    // pEnd NULL: no limit. Clears an earlier overrun.
    void Set(const BYTE* pEnd) {
        m_pEnd = pEnd;
        m_bOverrun = false;
    }
    const BYTE* End() const { return m_pEnd; }
    bool Overrun() const { return m_bOverrun; }
    void MarkOverrun() { m_bOverrun = true; }

    // True when nSize bytes from pCursor stay within the limit.
    bool Fits(const BYTE* pCursor, size_t nSize) const;
    // Copies nSize bytes to the cursor and moves it, when they fit and no
    // earlier write was refused; otherwise marks the overrun and writes nothing.
    bool Write(BYTE*& pCursor, const void* pIn, size_t nSize);

private:
    const BYTE* m_pEnd;
    bool m_bOverrun;
};
