// Trailing block of a window description: two numbers, two reals and three
// flags that the controller interprets. The agent sends the values the
// constructor gives.
//
// Serialised form, 19 bytes: second number (u32), first number (u32),
// first real (f32), second real (f32), second flag, first flag, third flag
// (u8 each).
#pragma once
#include <windows.h>
#include <cstdint>

class CDescriptionOptions {
public:
    static const int kDataSize = 19;

    CDescriptionOptions();
    virtual ~CDescriptionOptions();

    // Writes the 19 bytes at the cursor; the caller has checked the room.
    void WriteData(BYTE*& pCursor) const;

    uint32_t m_nFirstNumber;
    uint32_t m_nSecondNumber;
    float m_fFirstReal;
    float m_fSecondReal;
    BYTE m_bFirstFlag;
    BYTE m_bSecondFlag;
    BYTE m_bThirdFlag;
};
