// Locator for the kinds whose controls are not searched yet (toolbar,
// popup menu, tree, list box, status bar, accessible objects). It
// carries the base form only and finds nothing: hit tests miss, FindItem
// fails. Its description is the base one for its kind.
#pragma once
#include "locators/ItemLocator.h"

class CUnbuiltItemLocator : public CItemLocator {
public:
    HWND LoadItem(HWND hwndControl, int nIndex) override;
    RECT ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) override;
    bool FindItem(HWND hwndControl, DWORD dwParam) override;
};
