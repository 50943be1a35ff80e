#include "locators/MenuBarItemLocator.h"


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
