#include "locators/ToolbarItemLocator.h"

#include <cstring>
#include "locators/ControlClass.h"
#include "locators/ItemListPage.h"

namespace {
// Longest button text the locator keeps.
const LRESULT kMaxButtonText = 1024;
}  // namespace

CToolbarItemLocator::CToolbarItemLocator() { std::memset(&m_button, 0, sizeof(m_button)); }

CToolbarItemLocator::Form CToolbarItemLocator::MakeForm() const {
    Form form;
    form.base = GetBaseForm();
    ToolbarItemFields& f = form.fields;
    f.iBitmap = m_button.iBitmap;
    f.idCommand = m_button.idCommand;
    // Pointer-sized in the record on a 64-bit build: the wire carries the
    // low 32 bits.
    f.iString = static_cast<int32_t>(m_button.iString);
    f.fsState = m_button.fsState;
    f.fsStyle = m_button.fsStyle;
    f.dwData = static_cast<uint32_t>(m_button.dwData);
    return form;
}

int CToolbarItemLocator::GetDataSize() { return static_cast<int>(FormSize(MakeForm(), true)); }

void CToolbarItemLocator::ReadData(BYTE*& pCursor) {
    Form form;
    if (!ReadFormAt(pCursor, form)) return;
    SetBaseForm(form.base);
    const ToolbarItemFields& f = form.fields;
    m_button.iBitmap = f.iBitmap;
    m_button.idCommand = f.idCommand;
    m_button.iString = static_cast<INT_PTR>(f.iString);
    m_button.fsState = f.fsState;
    m_button.fsStyle = f.fsStyle;
    m_button.dwData = static_cast<DWORD_PTR>(f.dwData);
}

void CToolbarItemLocator::WriteData(BYTE*& pCursor) { WriteFormAt(pCursor, MakeForm()); }

int CToolbarItemLocator::GetItemCount(HWND hwndControl) {
    if (!IsControlOfKind(hwndControl, kItemKindToolbar)) return -1;
    return static_cast<int>(SendMessageA(hwndControl, TB_BUTTONCOUNT, 0, 0));
}

HWND CToolbarItemLocator::LoadItem(HWND hwndControl, int nIndex) {
    m_bSelected = 0;
    // A rejected index leaves the record as it was.
    if (!IsControlOfKind(hwndControl, kItemKindToolbar)) return nullptr;
    TBBUTTON button;
    std::memset(&button, 0, sizeof(button));
    if (SendMessageA(hwndControl, TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button))) {
        m_button = button;
        LoadButtonText(hwndControl, button.idCommand);
    }
    return nullptr;
}

void CToolbarItemLocator::LoadButtonText(HWND hwndControl, int idCommand) {
    FreeText();
    // iString alone does not tell: it is an index into the pool or the
    // address of the button's own text. The toolbar knows which.
    const LRESULT nLength = SendMessageA(hwndControl, TB_GETBUTTONTEXTA, static_cast<WPARAM>(idCommand), 0);
    if (nLength <= 0 || nLength > kMaxButtonText) return;
    char* pszText = AllocText(static_cast<short>(nLength + 1));
    if (!pszText) return;
    SendMessageA(hwndControl, TB_GETBUTTONTEXTA, static_cast<WPARAM>(idCommand), reinterpret_cast<LPARAM>(pszText));
    pszText[nLength] = '\0';
}

RECT CToolbarItemLocator::ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) {
    *pnIndex = -1;
    RECT result = {0, 0, 0, 0};
    POINT point = {x, y};
    ScreenToClient(hwndControl, &point);
    const int nCount = GetItemCount(hwndControl);
    for (int i = 0; i < nCount; ++i) {
        RECT rect = {0, 0, 0, 0};
        if (!SendMessageA(hwndControl, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect))) continue;
        if (PtInRect(&rect, point)) {
            *pnIndex = i;
            result = rect;
            break;
        }
    }
    return result;
}

bool CToolbarItemLocator::FindItem(HWND hwndControl, DWORD) {
    const int nCount = GetItemCount(hwndControl);
    if (nCount < 1) return false;
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button;
        std::memset(&button, 0, sizeof(button));
        if (!SendMessageA(hwndControl, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button))) continue;
        if (button.idCommand != m_button.idCommand) continue;
        return SendMessageA(hwndControl, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&m_rect)) != 0;
    }
    return false;
}

int CToolbarItemLocator::ListItems(HWND hwndControl, CItemListPage& page) {
    const int nCount = GetItemCount(hwndControl);
    if (nCount < 0) return -1;
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwndControl, &client);
    for (int i = page.First(); i < nCount && !page.Full(); ++i) {
        // A fresh locator per button: its form is the one a recording makes.
        CToolbarItemLocator item;
        item.m_nKind = m_nKind;
        item.LoadItem(hwndControl, i);
        ItemListEntry entry;
        entry.nIndex = i;
        RECT rect = {0, 0, 0, 0};
        if (!SendMessageA(hwndControl, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect))) {
            SetRectEmpty(&rect);
        }
        entry.SetRect(rect);
        const BYTE state = item.m_button.fsState;
        RECT shown;
        entry.dwFlags = 0;
        if (!(state & TBSTATE_HIDDEN) && IntersectRect(&shown, &rect, &client)) entry.dwFlags |= ItemListEntry::kVisible;
        if (state & TBSTATE_CHECKED) entry.dwFlags |= ItemListEntry::kSelected;
        if (state & TBSTATE_ENABLED) entry.dwFlags |= ItemListEntry::kEnabled;
        if (item.m_button.fsStyle & BTNS_DROPDOWN) entry.dwFlags |= ItemListEntry::kSubmenu;
        entry.nId = item.m_button.idCommand;
        entry.dwState = state;
        if (item.m_pszText) entry.text = item.m_pszText;
        page.Add(entry, item);
    }
    return nCount;
}
