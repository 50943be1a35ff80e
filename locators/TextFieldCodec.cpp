#include "locators/TextFieldCodec.h"

#include <cstring>
#include <string>

CTextFieldCodec::CTextFieldCodec() : CTextFieldCodec(TextField::Plain) {}

CTextFieldCodec::CTextFieldCodec(TextField variant)
    : m_variant(variant), m_pLimit(nullptr), m_nDestinationSize(0), m_bOverrun(false) {}

CWireCursor CTextFieldCodec::CursorAt(BYTE* p) const {
    if (m_pLimit) return CWireCursor(p, const_cast<BYTE*>(m_pLimit));
    uint32_t n = 0;
    std::memcpy(&n, p, 4);
    uint64_t nSize = 4;
    if (n > 0) {
        const bool bMarked = p[4] == 0x00;
        const bool bWide = bMarked && p[5] != 0x01;
        nSize = (bMarked ? 6 : 4) + (bWide ? 2 * static_cast<uint64_t>(n) : n) +
                (m_variant == TextField::Terminated ? 1 : 0);
    }
    return CWireCursor(p, p + nSize);
}

void CTextFieldCodec::WriteText(BYTE*& pCursor, const char* pszText, uint32_t& nLength) {
    nLength = pszText ? static_cast<uint32_t>(lstrlenA(pszText)) : 0;
    if (m_bOverrun) return;
    BYTE* pEnd = m_pLimit ? const_cast<BYTE*>(m_pLimit)
                          : pCursor + CWireCursor::TextFieldSize(nLength, m_variant);
    CWireCursor cursor(pCursor, pEnd);
    if (!cursor.WriteText(pszText, nLength, m_variant).Ok()) {
        m_bOverrun = true;
        return;
    }
    pCursor = cursor.Position();
}

void CTextFieldCodec::ReadText(BYTE*& pCursor, char* pszDest, uint32_t& nLength) {
    if (pszDest) pszDest[0] = '\0';
    nLength = 0;
    if (m_bOverrun) return;
    CWireCursor cursor = CursorAt(pCursor);
    uint32_t n = 0;
    std::string text;
    if (!cursor.PeekTextLength(n) || !cursor.ReadText(text, m_variant)) {
        m_bOverrun = true;
        return;
    }
    if (!pszDest) {
        nLength = n == 0xFFFFFFFFu ? n : n + 1;
        return;
    }
    // Without a stated size the buffer is the measured one.
    const size_t nDestSize = m_nDestinationSize ? m_nDestinationSize : static_cast<size_t>(n) + 1;
    CutAnsiText(text, nDestSize - 1);
    std::memcpy(pszDest, text.c_str(), text.size() + 1);
    nLength = n;
    pCursor = cursor.Position();
}

int CTextFieldCodec::GetTextFieldSize(const char* pszText) {
    const int n = pszText ? lstrlenA(pszText) : 0;
    const int nPlain = n > 0 ? 6 + n : 4;
    // The terminated size of an empty text (5) is one more than what is
    // written (4).
    return m_variant == TextField::Terminated ? nPlain + 1 : nPlain;
}
