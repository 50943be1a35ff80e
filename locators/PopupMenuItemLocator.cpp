#include "locators/PopupMenuItemLocator.h"

#include <string>

#include "accessibility/AccessibleFunctions.h"
#include "windows/WindowFunctions.h"
#include "locators/ItemListPage.h"

namespace {
uint32_t MenuWord(HMENU hMenu) { return static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(hMenu)); }
}  // namespace

CPopupMenuItemLocator::CPopupMenuItemLocator(HMENU hMenu) : m_hMenu(hMenu), m_nItemId(0), m_bUseMenuBar(0) {
    m_szName[0] = '\0';
}

CPopupMenuItemLocator::Form CPopupMenuItemLocator::MakeForm() const {
    Form form;
    form.base = GetBaseForm();
    form.fields.nItemId = m_nItemId;
    form.fields.bUseMenuBar = m_bUseMenuBar;
    form.fields.name = m_szName;
    const size_t nSteps = m_positions.size() < m_menus.size() ? m_positions.size() : m_menus.size();
    form.fields.path.resize(nSteps);
    for (size_t i = 0; i < nSteps; ++i) {
        form.fields.path[i].nPosition = m_positions[i];
        form.fields.path[i].hMenu = m_menus[i];
    }
    return form;
}

int CPopupMenuItemLocator::GetDataSize() { return static_cast<int>(FormSize(MakeForm(), true)); }

void CPopupMenuItemLocator::ReadData(BYTE*& pCursor) {
    Form form;
    if (!ReadFormAt(pCursor, form)) return;
    SetBaseForm(form.base);
    m_nItemId = form.fields.nItemId;
    m_bUseMenuBar = form.fields.bUseMenuBar;
    CutAnsiText(form.fields.name, kNameSize - 1);
    lstrcpynA(m_szName, form.fields.name.c_str(), kNameSize);
    m_positions.clear();
    m_menus.clear();
    for (const PopupMenuStep& step : form.fields.path) {
        m_positions.push_back(step.nPosition);
        m_menus.push_back(step.hMenu);
    }
}

void CPopupMenuItemLocator::WriteData(BYTE*& pCursor) { WriteFormAt(pCursor, MakeForm()); }

bool CPopupMenuItemLocator::IsIndirectItem() { return true; }

HWND CPopupMenuItemLocator::LoadItem(HWND hwndControl, int nIndex) {
    m_nItemId = static_cast<uint32_t>(nIndex);
    if (!IsMenu(m_hMenu)) return nullptr;
    // The name comes from the object under the cursor, when the
    // accessibility library has been bound in this process.
    COwnedVariant hit;
    HRESULT hr = S_OK;
    TComPtr<IAccessible> atCursor = AccessibleAtCursor(hit, &hr);
    if (atCursor) {
        m_szName[0] = '\0';
        const long nHitChild = hit.Type() == VT_I4 ? hit.Get().lVal : CHILDID_SELF;
        GetAccessibleText(atCursor.Get(), nHitChild, AccName, m_szName, kNameSize);
    }
    return ChooseMenuSource(hwndControl);
}

HWND CPopupMenuItemLocator::ChooseMenuSource(HWND hwndControl) {
    m_bUseMenuBar = 0;
    uint16_t nDepth = 0;
    HWND hwndFrame = HasCaption(hwndControl) ? nullptr : FindFrameAncestor(hwndControl, &nDepth);
    if (hwndFrame && IsMenu(GetMenu(hwndFrame))) {
        m_bUseMenuBar = 1;
        return hwndFrame;
    }
    return nullptr;
}

RECT CPopupMenuItemLocator::ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) {
    RECT result = {0, 0, 0, 0};
    *pnIndex = -1;
    if (!IsMenu(m_hMenu)) return result;
    const short nCount = static_cast<short>(GetMenuItemCount(m_hMenu));
    for (short i = 0; i < nCount; ++i) {
        RECT r;
        if (!GetMenuItemRect(hwndControl, m_hMenu, static_cast<UINT>(i), &r)) continue;
        // All four edges count as inside.
        if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom) {
            *pnIndex = static_cast<int>(GetMenuItemID(m_hMenu, i));
            return r;
        }
    }
    return result;
}

bool CPopupMenuItemLocator::FindItem(HWND hwndControl, DWORD) {
    if (m_bUseMenuBar) m_hMenu = GetMenu(hwndControl);
    if (!IsMenu(m_hMenu)) return false;
    return FindInMenu(m_hMenu);
}

bool CPopupMenuItemLocator::FindInMenu(HMENU hMenu) { return FindInMenuAt(hMenu, 0); }

void CPopupMenuItemLocator::AppendStep(int nPosition, HMENU hMenu) {
    // Positions are 16-bit values widened with their sign.
    m_positions.push_back(static_cast<uint32_t>(static_cast<int32_t>(static_cast<short>(nPosition))));
    m_menus.push_back(MenuWord(hMenu));
}

void CPopupMenuItemLocator::RemoveLastStep() {
    if (!m_positions.empty()) m_positions.pop_back();
    if (!m_menus.empty()) m_menus.pop_back();
}

bool CPopupMenuItemLocator::FindInMenuAt(HMENU hMenu, int nDepth) {
    // The path must still fit the form's count.
    if (nDepth >= kMaxDepth || m_positions.size() >= PopupMenuItemFields::kMaxSteps) return false;
    const short nCount = static_cast<short>(GetMenuItemCount(hMenu));
    for (short i = 0; i < nCount; ++i) {
        if (static_cast<uint32_t>(GetMenuItemID(hMenu, i)) == m_nItemId) {
            AppendStep(i, hMenu);
            return true;
        }
    }
    for (short i = 0; i < nCount; ++i) {
        HMENU hSub = GetSubMenu(hMenu, i);
        if (!hSub) continue;
        AppendStep(i, hMenu);
        if (FindInMenuAt(hSub, nDepth + 1)) return true;
        RemoveLastStep();
    }
    return false;
}

const char* CPopupMenuItemLocator::GetDescription() { return SetDescription(MakeForm().fields.Description()); }

namespace {
// A menu item's text as its accessible name reads it: without the
// mnemonic markers and the shortcut after a tab.
std::string MenuItemName(HMENU hMenu, int nPosition) {
    char szText[CPopupMenuItemLocator::kNameSize] = {0};
    if (GetMenuStringA(hMenu, static_cast<UINT>(nPosition), szText, sizeof(szText) - 1, MF_BYPOSITION) <= 0) {
        return std::string();
    }
    std::string name;
    for (const char* p = szText; *p && *p != '\t'; ++p) {
        if (*p == '&' && p[1] != '&') continue;
        if (*p == '&') ++p;
        name += *p;
    }
    return name;
}
}  // namespace

int CPopupMenuItemLocator::ListItems(HWND hwndControl, CItemListPage& page) {
    if (!IsMenu(m_hMenu)) return -1;
    const int nCount = GetMenuItemCount(m_hMenu);
    if (nCount < 0) return -1;
    for (int i = page.First(); i < nCount && !page.Full(); ++i) {
        MENUITEMINFOA info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoA(m_hMenu, static_cast<UINT>(i), TRUE, &info)) ZeroMemory(&info, sizeof(info));
        // A fresh locator per item, filled as a recording fills it, but
        // named from the item itself: a recording names it from the object
        // under the cursor, where the item then lies.
        CPopupMenuItemLocator item(m_hMenu);
        item.m_nKind = m_nKind;
        // The identifier a hit test gives for the item (that of no command
        // for an item that opens a submenu), from which a recording is made.
        item.m_nItemId = static_cast<uint32_t>(GetMenuItemID(m_hMenu, i));
        const std::string name = MenuItemName(m_hMenu, i);
        lstrcpynA(item.m_szName, name.c_str(), kNameSize);
        item.ChooseMenuSource(hwndControl);
        ItemListEntry entry;
        entry.nIndex = i;
        RECT rect = {0, 0, 0, 0};
        if (!GetMenuItemRect(hwndControl, m_hMenu, static_cast<UINT>(i), &rect)) SetRectEmpty(&rect);
        entry.SetRect(rect);
        entry.nId = info.hSubMenu ? 0 : static_cast<int32_t>(info.wID);
        entry.dwState = info.fState;
        if (!IsRectEmpty(&rect)) entry.dwFlags |= ItemListEntry::kVisible;
        if (info.hSubMenu) entry.dwFlags |= ItemListEntry::kSubmenu;
        if (!(info.fState & MFS_DISABLED)) entry.dwFlags |= ItemListEntry::kEnabled;
        if (info.fState & MFS_HILITE) entry.dwFlags |= ItemListEntry::kSelected;
        if (info.fState & MFS_CHECKED) entry.dwFlags |= ItemListEntry::kSelected;
        entry.text = name;
        page.Add(entry, item);
    }
    return nCount;
}
