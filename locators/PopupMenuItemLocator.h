// An item of a popup menu (kind 6): a drop-down menu of a menu bar, one of
// its submenus, or another popup menu of the target. Identified by its
// command identifier; FindItem reports the item's path -- for each step the
// position inside a menu and that menu's handle, root menu first -- from
// which the controller has the rectangle taken while the menu is open.
// The factory hands the menu to search to the constructor.
//
// Form: forms/PopupMenuItemForm.h.
#pragma once
#include <cstdint>
#include <vector>

#include "forms/PopupMenuItemForm.h"
#include "locators/ItemLocator.h"

class CPopupMenuItemLocator : public CItemLocator {
public:
    using Form = TItemForm<PopupMenuItemFields>;
    static const int kNameSize = PopupMenuItemFields::kMaxName + 1;
    // Menus nested deeper than this are not searched (a menu that contains
    // itself would otherwise never end the search).
    static const int kMaxDepth = 64;

    explicit CPopupMenuItemLocator(HMENU hMenu);

    int GetDataSize() override;
    void ReadData(BYTE*& pCursor) override;
    void WriteData(BYTE*& pCursor) override;
    HWND LoadItem(HWND hwndControl, int nIndex) override;
    RECT ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) override;
    bool FindItem(HWND hwndControl, DWORD dwParam) override;
    bool IsIndirectItem() override;
    const char* GetDescription() override;
    // The items of the menu the locator was made for (not of its submenus).
    int ListItems(HWND hwndControl, CItemListPage& page) override;

    // Searches hMenu's level first, then its submenus in position order,
    // appending the path found; a failed branch leaves no entries.
    bool FindInMenu(HMENU hMenu);

    Form MakeForm() const;

    HMENU m_hMenu;
    uint32_t m_nItemId;
    std::vector<uint32_t> m_positions;
    std::vector<uint32_t> m_menus;
    uint8_t m_bUseMenuBar;
    char m_szName[kNameSize];

private:
    // Where the item is searched when found again: the menu bar of the
    // frame that owns hwndControl (returned), or the menu itself (nullptr).
    HWND ChooseMenuSource(HWND hwndControl);
    bool FindInMenuAt(HMENU hMenu, int nDepth);
    void AppendStep(int nPosition, HMENU hMenu);
    void RemoveLastStep();
};
