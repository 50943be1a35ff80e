#include "windows/DescriptionOptions.h"

#include <cstring>

CDescriptionOptions::CDescriptionOptions()
    : m_nFirstNumber(0), m_nSecondNumber(0), m_fFirstReal(100.0f), m_fSecondReal(100.0f),
      m_bFirstFlag(1), m_bSecondFlag(1), m_bThirdFlag(1) {}

CDescriptionOptions::~CDescriptionOptions() {}

void CDescriptionOptions::WriteData(BYTE*& pCursor) const {
    // Reals travel as IEEE single precision, little-endian like every field.
    std::memcpy(pCursor + 0, &m_nSecondNumber, 4);
    std::memcpy(pCursor + 4, &m_nFirstNumber, 4);
    std::memcpy(pCursor + 8, &m_fFirstReal, 4);
    std::memcpy(pCursor + 12, &m_fSecondReal, 4);
    pCursor[16] = m_bSecondFlag;
    pCursor[17] = m_bFirstFlag;
    pCursor[18] = m_bThirdFlag;
    pCursor += kDataSize;
}
