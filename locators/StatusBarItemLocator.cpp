#include "locators/StatusBarItemLocator.h"

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <new>
#include "locators/ControlClass.h"
#include "locators/ItemListPage.h"

int CStatusBarItemLocator::GetItemCount(HWND hwndControl) {
    if (!IsControlOfKind(hwndControl, kItemKindStatusBar)) return -1;
    return static_cast<int>(SendMessageA(hwndControl, SB_GETPARTS, 0, 0));
}

void CStatusBarItemLocator::ReadPaneText(HWND hwndControl, int nPane) {
    if (!IsControlOfKind(hwndControl, kItemKindStatusBar)) return;
    const size_t nLength = LOWORD(SendMessageA(hwndControl, SB_GETTEXTLENGTHA, static_cast<WPARAM>(nPane), 0));
    if (nLength == 0) return;
    // Fetched whole into a buffer of its own size, then cut to what the
    // locator keeps.
    const size_t nBuffer = nLength + 1 + sizeof(ULONG_PTR);
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[nBuffer]);
    if (!buffer) return;
    std::memset(buffer.get(), 0, nBuffer);
    SendMessageA(hwndControl, SB_GETTEXTA, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(buffer.get()));
    buffer[nLength] = '\0';
    SetText(buffer.get());
}

HWND CStatusBarItemLocator::LoadItem(HWND hwndControl, int nIndex) {
    // A pane the status bar does not have is rejected: nothing changes.
    if (nIndex < 0 || nIndex >= GetItemCount(hwndControl)) return nullptr;
    m_nIndex = nIndex;
    ReadPaneText(hwndControl, nIndex);
    return nullptr;
}

RECT CStatusBarItemLocator::ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) {
    *pnIndex = -1;
    RECT result = {0, 0, 0, 0};
    const int nCount = GetItemCount(hwndControl);
    POINT point = {x, y};
    ScreenToClient(hwndControl, &point);
    for (int i = 0; i < nCount; ++i) {
        RECT rect = {0, 0, 0, 0};
        if (!SendMessageA(hwndControl, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect))) continue;
        if (PtInRect(&rect, point)) {
            *pnIndex = i;
            result = rect;
            break;
        }
    }
    return result;
}

bool CStatusBarItemLocator::FindItem(HWND hwndControl, DWORD) {
    if (m_nIndex < 0 || m_nIndex >= GetItemCount(hwndControl)) return false;
    if (!SendMessageA(hwndControl, SB_GETRECT, static_cast<WPARAM>(m_nIndex), reinterpret_cast<LPARAM>(&m_rect))) {
        return false;
    }
    ReadPaneText(hwndControl, m_nIndex);
    return true;
}

const char* CStatusBarItemLocator::GetDescription() {
    StatusBarItemFields fields;
    fields.nIndex = m_nIndex;
    if (m_pszText) fields.text = m_pszText;
    return SetDescription(fields.Description());
}

int CStatusBarItemLocator::ListItems(HWND hwndControl, CItemListPage& page) {
    const int nCount = GetItemCount(hwndControl);
    if (nCount < 0) return -1;
    for (int i = page.First(); i < nCount && !page.Full(); ++i) {
        // A fresh locator per pane: its form is the one a recording makes.
        CStatusBarItemLocator item;
        item.m_nKind = m_nKind;
        item.LoadItem(hwndControl, i);
        ItemListEntry entry;
        entry.nIndex = i;
        RECT rect = {0, 0, 0, 0};
        if (!SendMessageA(hwndControl, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect))) {
            SetRectEmpty(&rect);
        }
        entry.SetRect(rect);
        entry.dwFlags = ItemListEntry::kEnabled;
        if (!IsRectEmpty(&rect) && IsWindowVisible(hwndControl)) entry.dwFlags |= ItemListEntry::kVisible;
        if (item.m_pszText) entry.text = item.m_pszText;
        page.Add(entry, item);
    }
    return nCount;
}
