// Top-level item of a window's menu bar (kind 3), identified by its
// position in the bar. Its text travels along for display only. The window
// given to every operation is the one that owns the bar; rectangles are in
// its client coordinates (so they have a negative top).
//
// Form: forms/MenuBarItemForm.h.
#pragma once
#include "forms/MenuBarItemForm.h"
#include "locators/ItemLocator.h"

class CMenuBarItemLocator : public CItemLocator {
public:
    using Form = TItemForm<MenuBarItemFields>;
    static const int kTextSize = MenuBarItemFields::kMaxText + 1;

    CMenuBarItemLocator();

    int GetDataSize() override;
    void ReadData(BYTE*& pCursor) override;
    void WriteData(BYTE*& pCursor) override;
    HWND LoadItem(HWND hwndControl, int nIndex) override;
    RECT ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) override;
    bool FindItem(HWND hwndControl, DWORD dwParam) override;
    const char* GetDescription() override;
    // The items of the bar of a window that has one.
    int ListItems(HWND hwndControl, CItemListPage& page) override;

    Form MakeForm() const;

    uint32_t m_nTextLength;
    char m_szText[kTextSize];
    int m_nPosition;
};
