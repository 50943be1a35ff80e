// Text field variant that leaves one byte (a terminator slot, never written
// nor read) after the characters of a non-empty text.
#pragma once
#include "locators/TextFieldCodec.h"

class CTerminatedTextFieldCodec : public CTextFieldCodec {
public:
    void WriteText(BYTE*& pCursor, const char* pszText, uint32_t& nLength) override;
    void ReadText(BYTE*& pCursor, char* pszDest, uint32_t& nLength) override;
    // One more than the plain size, also for an empty text (5), although
    // an empty text is written as the length word alone.
    int GetTextFieldSize(const char* pszText) override;
};
