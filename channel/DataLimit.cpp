#include "channel/DataLimit.h"

#include <cstring>

bool CDataLimit::Fits(const BYTE* pCursor, size_t nSize) const {
    return !m_pEnd || (pCursor <= m_pEnd && static_cast<size_t>(m_pEnd - pCursor) >= nSize);
}

bool CDataLimit::Write(BYTE*& pCursor, const void* pIn, size_t nSize) {
    if (m_bOverrun) return false;
    if (!Fits(pCursor, nSize)) {
        m_bOverrun = true;
        return false;
    }
    std::memcpy(pCursor, pIn, nSize);
    pCursor += nSize;
    return true;
}
