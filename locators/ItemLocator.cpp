#include "locators/ItemLocator.h"

#include <cstring>
#include <new>

CItemLocator::CItemLocator()
    : m_pszText(NULL), m_nKind(0), m_dwFlags(1), m_bSelected(0), m_pDataLimit(NULL),
      m_bDataOverrun(false) {
    SetRectEmpty(&m_rect);
    m_szDescription[0] = '\0';
}

CItemLocator::~CItemLocator() { FreeText(); }

int CItemLocator::GetDataSize() { return kBaseDataSize; }

void CItemLocator::ReadData(BYTE*& pCursor) {
    int left = 0, right = 0, top = 0, bottom = 0;
    DWORD flags = 0;
    BYTE selected = 0;
    if (!ReadInt(pCursor, left) || !ReadInt(pCursor, right) || !ReadInt(pCursor, top) ||
        !ReadInt(pCursor, bottom) || !ReadDWord(pCursor, flags) ||
        !ReadField(pCursor, &selected, 1)) {
        return;
    }
    SetRect(&m_rect, left, top, right, bottom);
    m_dwFlags = flags;
    m_bSelected = selected;
}

void CItemLocator::WriteData(BYTE*& pCursor) {
    // Checked as a whole first, so that a form never ends half written.
    const BYTE* pLimit = m_pDataLimit;
    if (m_bDataOverrun || (pLimit && (pCursor > pLimit || pLimit - pCursor < kBaseDataSize))) {
        m_bDataOverrun = true;
        return;
    }
    WriteInt(pCursor, m_rect.left);
    WriteInt(pCursor, m_rect.right);
    WriteInt(pCursor, m_rect.top);
    WriteInt(pCursor, m_rect.bottom);
    WriteDWord(pCursor, m_dwFlags);
    WriteField(pCursor, &m_bSelected, 1);
}

void CItemLocator::SetTag(BYTE nTag) {
    m_dwFlags = (m_dwFlags & 0xFF00FFFFu) | (static_cast<DWORD>(nTag) << 16);
}

int CItemLocator::GetTag() { return static_cast<int>(m_dwFlags) >> 16; }

int CItemLocator::GetItemCount(HWND) { return -1; }

const char* CItemLocator::GetText(int) { return m_pszText; }

RECT* CItemLocator::GetRect(RECT* pRect) {
    if (pRect) *pRect = m_rect;
    return pRect;
}

bool CItemLocator::IsIndirectItem() { return false; }

bool CItemLocator::FindHostWindow(HWND*, const CWindowDescription*) { return false; }

bool CItemLocator::IsSelected() { return m_bSelected != 0; }

bool CItemLocator::HasRect() {
    return m_rect.left != 0 || m_rect.top != 0 || m_rect.right != 0 || m_rect.bottom != 0;
}

const char* CItemLocator::GetDescription() {
    const char* pszText = NULL;
    switch (m_nKind) {
    case 3: pszText = "a caption window item"; break;
    case 4: pszText = "a toolbar item"; break;
    case 6: pszText = "a popup menu item"; break;
    case 11: pszText = "a status bar item"; break;
    default: break;
    }
    if (pszText) lstrcpynA(m_szDescription, pszText, kDescriptionSize);
    return m_szDescription;
}

bool CItemLocator::ReservedCheck() { return false; }
int CItemLocator::ReservedValue1() { return 0; }
int CItemLocator::ReservedValue2() { return 0; }
void CItemLocator::ReservedNotify(DWORD) {}

char* CItemLocator::AllocText(short nSize) {
    FreeText();
    if (nSize < 1) return NULL;
    m_pszText = new (std::nothrow) char[nSize];
    if (m_pszText) std::memset(m_pszText, 0, static_cast<size_t>(nSize));
    return m_pszText;
}

void CItemLocator::FreeText() {
    delete[] m_pszText;
    m_pszText = NULL;
}

void CItemLocator::ReleaseText(char*& p) {
    if (p == m_pszText) p = NULL;
    FreeText();
}

void CItemLocator::SetDataLimit(const BYTE* pEnd) {
    m_pDataLimit = pEnd;
    m_bDataOverrun = false;
}

bool CItemLocator::ReadField(BYTE*& pCursor, void* pOut, size_t nSize) {
    const BYTE* pLimit = m_pDataLimit;
    if (m_bDataOverrun || (pLimit && (pCursor > pLimit || static_cast<size_t>(pLimit - pCursor) < nSize))) {
        m_bDataOverrun = true;
        std::memset(pOut, 0, nSize);
        return false;
    }
    std::memcpy(pOut, pCursor, nSize);
    pCursor += nSize;
    return true;
}

bool CItemLocator::WriteField(BYTE*& pCursor, const void* pIn, size_t nSize) {
    const BYTE* pLimit = m_pDataLimit;
    if (m_bDataOverrun || (pLimit && (pCursor > pLimit || static_cast<size_t>(pLimit - pCursor) < nSize))) {
        m_bDataOverrun = true;
        return false;
    }
    std::memcpy(pCursor, pIn, nSize);
    pCursor += nSize;
    return true;
}

// Windows targets are little-endian, so the wire's fields are copied as they are.
bool CItemLocator::ReadInt(BYTE*& pCursor, int& nValue) {
    int32_t v = 0;
    bool ok = ReadField(pCursor, &v, 4);
    nValue = v;
    return ok;
}

bool CItemLocator::ReadDWord(BYTE*& pCursor, DWORD& dwValue) {
    uint32_t v = 0;
    bool ok = ReadField(pCursor, &v, 4);
    dwValue = v;
    return ok;
}

bool CItemLocator::WriteInt(BYTE*& pCursor, int nValue) {
    const int32_t v = nValue;
    return WriteField(pCursor, &v, 4);
}

bool CItemLocator::WriteDWord(BYTE*& pCursor, DWORD dwValue) {
    const uint32_t v = dwValue;
    return WriteField(pCursor, &v, 4);
}

const char* CItemLocator::FormatDescription(const char* pszFormat, const char* pszArgument) {
    // wsprintfA writes at most 1024 characters; the argument is cut well
    // below that, and the result is then cut to the description buffer.
    char szArgument[768];
    lstrcpynA(szArgument, pszArgument ? pszArgument : "", sizeof(szArgument));
    char szResult[1025];
    szResult[0] = '\0';
    wsprintfA(szResult, pszFormat, szArgument);
    lstrcpynA(m_szDescription, szResult, kDescriptionSize);
    return m_szDescription;
}
