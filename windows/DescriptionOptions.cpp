#include "windows/DescriptionOptions.h"

CDescriptionOptions::CDescriptionOptions()
    : m_nFirstNumber(0), m_nSecondNumber(0), m_fFirstReal(100.0f), m_fSecondReal(100.0f),
      m_bFirstFlag(1), m_bSecondFlag(1), m_bThirdFlag(1) {}

CDescriptionOptions::~CDescriptionOptions() {}

