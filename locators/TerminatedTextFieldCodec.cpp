#include "locators/TerminatedTextFieldCodec.h"

void CTerminatedTextFieldCodec::WriteText(BYTE*& pCursor, const char* pszText, uint32_t& nLength) {
    // The slot belongs to the field: a field whose slot would cross the
    // limit is not written at all.
    const int nPlainSize = CTextFieldCodec::GetTextFieldSize(pszText);
    const uint64_t nNeeded = nPlainSize > 4 ? static_cast<uint64_t>(nPlainSize) + 1 : 4;
    if (!Fits(pCursor, nNeeded)) {
        nLength = pszText ? static_cast<uint32_t>(lstrlenA(pszText)) : 0;
        return;
    }
    CTextFieldCodec::WriteText(pCursor, pszText, nLength);
    if (nLength > 0) pCursor += 1;
}

void CTerminatedTextFieldCodec::ReadText(BYTE*& pCursor, char* pszDest, uint32_t& nLength) {
    BYTE* pStart = pCursor;
    CTextFieldCodec::ReadText(pCursor, pszDest, nLength);
    if (!pszDest || nLength == 0 || HasOverrun()) return;
    if (!Fits(pCursor, 1)) {
        pCursor = pStart;
        return;
    }
    pCursor += 1;
}

int CTerminatedTextFieldCodec::GetTextFieldSize(const char* pszText) {
    return CTextFieldCodec::GetTextFieldSize(pszText) + 1;
}
