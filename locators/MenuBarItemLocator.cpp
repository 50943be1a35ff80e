#include "locators/MenuBarItemLocator.h"
#include "locators/ItemListPage.h"


CMenuBarItemLocator::CMenuBarItemLocator() : m_nTextLength(0), m_nPosition(0) { m_szText[0] = '\0'; }

CMenuBarItemLocator::Form CMenuBarItemLocator::MakeForm() const {
    Form form;
    form.base = GetBaseForm();
    form.fields.nPosition = m_nPosition;
    form.fields.text = m_szText;
    return form;
}

int CMenuBarItemLocator::GetDataSize() { return static_cast<int>(FormSize(MakeForm(), true)); }

void CMenuBarItemLocator::ReadData(BYTE*& pCursor) {
    Form form;
    if (!ReadFormAt(pCursor, form)) return;
    SetBaseForm(form.base);
    m_nPosition = form.fields.nPosition;
    // A longer text than the buffer holds is cut to 255 characters.
    CutAnsiText(form.fields.text, kTextSize - 1);
    lstrcpynA(m_szText, form.fields.text.c_str(), kTextSize);
    m_nTextLength = static_cast<uint32_t>(lstrlenA(m_szText));
}

void CMenuBarItemLocator::WriteData(BYTE*& pCursor) {
    m_nTextLength = static_cast<uint32_t>(lstrlenA(m_szText));
    WriteFormAt(pCursor, MakeForm());
}

HWND CMenuBarItemLocator::LoadItem(HWND hwndControl, int nIndex) {
    m_nPosition = nIndex;
    HMENU hMenu = GetMenu(hwndControl);
    if (hMenu) {
        // The text is kept for the controller's display; the item is found
        // again by its position alone.
        char szText[kTextSize] = {0};
        MENUITEMINFOA info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = MIIM_TYPE;
        info.dwTypeData = szText;
        info.cch = kTextSize - 1;
        if (GetMenuItemInfoA(hMenu, static_cast<UINT>(nIndex), TRUE, &info) && !(info.fType & (MFT_BITMAP | MFT_SEPARATOR))) {
            szText[kTextSize - 1] = '\0';
            lstrcpynA(m_szText, szText, kTextSize);
            m_nTextLength = static_cast<uint32_t>(lstrlenA(m_szText));
        }
    }
    return nullptr;
}

RECT CMenuBarItemLocator::ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) {
    *pnIndex = -1;
    RECT result = {0, 0, 0, 0};
    HMENU hMenu = GetMenu(hwndControl);
    if (!hMenu) return result;
    const short nCount = static_cast<short>(GetMenuItemCount(hMenu));
    if (nCount <= 0) return result;
    for (short nPosition = 0; nPosition < nCount; ++nPosition) {
        RECT r;
        if (!GetMenuItemRect(hwndControl, hMenu, static_cast<UINT>(nPosition), &r)) continue;
        // All four edges count as inside.
        if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom) {
            MapWindowPoints(nullptr, hwndControl, reinterpret_cast<POINT*>(&r), 2);
            *pnIndex = nPosition;
            return r;
        }
    }
    return result;
}

bool CMenuBarItemLocator::FindItem(HWND hwndControl, DWORD) {
    HMENU hMenu = GetMenu(hwndControl);
    if (!hMenu || m_nPosition < 0) return false;
    if (!GetMenuItemRect(hwndControl, hMenu, static_cast<UINT>(m_nPosition), &m_rect)) return false;
    MapWindowPoints(nullptr, hwndControl, reinterpret_cast<POINT*>(&m_rect), 2);
    return true;
}

const char* CMenuBarItemLocator::GetDescription() {
    // The text as the form carries it: empty while no text was loaded or read.
    Form form = MakeForm();
    if (m_nTextLength == 0) form.fields.text.clear();
    return SetDescription(form.fields.Description());
}

int CMenuBarItemLocator::ListItems(HWND hwndControl, CItemListPage& page) {
    // A child window's "menu" is its identifier.
    if (!IsWindow(hwndControl) || (GetWindowLongA(hwndControl, GWL_STYLE) & WS_CHILD)) return -1;
    HMENU hMenu = GetMenu(hwndControl);
    if (!hMenu || !IsMenu(hMenu)) return -1;
    const int nCount = GetMenuItemCount(hMenu);
    if (nCount < 0) return -1;
    for (int i = page.First(); i < nCount && !page.Full(); ++i) {
        // A fresh locator per item: its form is the one a recording makes.
        CMenuBarItemLocator item;
        item.m_nKind = m_nKind;
        item.LoadItem(hwndControl, i);
        ItemListEntry entry;
        entry.nIndex = i;
        RECT rect = {0, 0, 0, 0};
        if (GetMenuItemRect(hwndControl, hMenu, static_cast<UINT>(i), &rect)) {
            MapWindowPoints(nullptr, hwndControl, reinterpret_cast<POINT*>(&rect), 2);
        } else {
            SetRectEmpty(&rect);
        }
        entry.SetRect(rect);
        MENUITEMINFOA info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        if (GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info)) {
            // An item that opens a submenu has no command of its own.
            entry.nId = info.hSubMenu ? 0 : static_cast<int32_t>(info.wID);
            entry.dwState = info.fState;
            if (info.hSubMenu) entry.dwFlags |= ItemListEntry::kSubmenu;
            if (!(info.fState & MFS_DISABLED)) entry.dwFlags |= ItemListEntry::kEnabled;
            if (info.fState & MFS_HILITE) entry.dwFlags |= ItemListEntry::kSelected;
        }
        if (!IsRectEmpty(&rect)) entry.dwFlags |= ItemListEntry::kVisible;
        entry.text = item.m_szText;
        page.Add(entry, item);
    }
    return nCount;
}
