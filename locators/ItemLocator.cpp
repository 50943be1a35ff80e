#include "locators/ItemLocator.h"

#include <cstring>
#include <new>

CItemLocator::CItemLocator()
    : m_pszText(nullptr), m_nKind(0), m_dwFlags(1), m_bSelected(0), m_pDataLimit(nullptr),
      m_bDataOverrun(false) {
    SetRectEmpty(&m_rect);
    m_szDescription[0] = '\0';
}

CItemLocator::~CItemLocator() {}

int CItemLocator::GetDataSize() { return kBaseDataSize; }

ItemFormBase CItemLocator::GetBaseForm() const {
    ItemFormBase form;
    form.rect = m_rect;
    form.dwFlags = m_dwFlags;
    form.bSelected = m_bSelected;
    return form;
}

void CItemLocator::SetBaseForm(const ItemFormBase& form) {
    m_rect = form.rect;
    m_dwFlags = form.dwFlags;
    m_bSelected = form.bSelected;
}

void CItemLocator::ReadData(BYTE*& pCursor) {
    ItemFormBase form;
    if (ReadFormAt(pCursor, form)) SetBaseForm(form);
}

void CItemLocator::WriteData(BYTE*& pCursor) { WriteFormAt(pCursor, GetBaseForm()); }

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
    const char* pszText = BaseItemDescription(m_nKind);
    if (pszText) lstrcpynA(m_szDescription, pszText, kDescriptionSize);
    return m_szDescription;
}

const char* CItemLocator::SetDescription(const std::string& description) {
    // Cut at the buffer's end.
    lstrcpynA(m_szDescription, description.c_str(), kDescriptionSize);
    return m_szDescription;
}

bool CItemLocator::ReservedCheck() { return false; }
int CItemLocator::ReservedValue1() { return 0; }
int CItemLocator::ReservedValue2() { return 0; }
void CItemLocator::ReservedNotify(DWORD) {}

int CItemLocator::ListItems(HWND, CItemListPage&) { return -1; }

char* CItemLocator::AllocText(short nSize) {
    FreeText();
    if (nSize < 1) return nullptr;
    m_textBuffer.reset(new (std::nothrow) char[nSize]);
    m_pszText = m_textBuffer.get();
    if (m_pszText) std::memset(m_pszText, 0, static_cast<size_t>(nSize));
    return m_pszText;
}

void CItemLocator::FreeText() {
    m_textBuffer.reset();
    m_pszText = nullptr;
}

void CItemLocator::ReleaseText(char*& p) {
    if (p == m_pszText) p = nullptr;
    FreeText();
}

void CItemLocator::SetDataLimit(const BYTE* pEnd) {
    m_pDataLimit = pEnd;
    m_bDataOverrun = false;
}

