#include "locators/UnbuiltItemLocator.h"

HWND CUnbuiltItemLocator::LoadItem(HWND, int) { return nullptr; }

RECT CUnbuiltItemLocator::ItemFromPoint(HWND, int, int, int* pnIndex) {
    if (pnIndex) *pnIndex = -1;
    RECT rect = {0, 0, 0, 0};
    return rect;
}

bool CUnbuiltItemLocator::FindItem(HWND, DWORD) { return false; }
