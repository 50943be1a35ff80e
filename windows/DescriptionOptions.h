// Trailing block of a window description: two numbers, two reals and three
// flags that the controller interprets. The agent sends the values the
// constructor gives. Serialised in the description's tail
// (forms/WindowDescriptionForm.h).
#pragma once
#include <windows.h>
#include <cstdint>

class CDescriptionOptions {
public:
    CDescriptionOptions();
    virtual ~CDescriptionOptions();

    uint32_t m_nFirstNumber;
    uint32_t m_nSecondNumber;
    float m_fFirstReal;
    float m_fSecondReal;
    BYTE m_bFirstFlag;
    BYTE m_bSecondFlag;
    BYTE m_bThirdFlag;
};
