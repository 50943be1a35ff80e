// Pane of a common-controls status bar (kind 11), identified by its
// zero-based number. Its text is captured for display and refreshed
// whenever the pane is found, but plays no part in finding it. Rectangles
// are in client coordinates of the status bar.
//
// Form: the list-box item's (forms/ListBoxItemForm.h), whose reading,
// writing and index this class takes over from CListBoxItemLocator.
#pragma once
#include "locators/ListBoxItemLocator.h"

class CStatusBarItemLocator : public CListBoxItemLocator {
public:
    int GetItemCount(HWND hwndControl) override;
    HWND LoadItem(HWND hwndControl, int nIndex) override;
    RECT ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) override;
    bool FindItem(HWND hwndControl, DWORD dwParam) override;
    const char* GetDescription() override;
    int ListItems(HWND hwndControl, CItemListPage& page) override;

private:
    // The pane's current text; a pane without text keeps the one held.
    void ReadPaneText(HWND hwndControl, int nPane);
};
