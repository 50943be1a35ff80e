// Tab of a common-controls tab control (kind 10), captured as the control's
// own item record (text and image) with its index and whether it was the
// current tab, and found again by text and image (the recorded index breaks
// ties), by index, or as the current tab. Controls whose tabs report no
// text are searched by image. Rectangles are in client coordinates of the
// tab control.
//
// Form: forms/TabItemForm.h.
//
// Locate parameter, bits 0-2:
//   4           the current tab
//   3           the recorded index
//   1           image first, then text first   (no texts: first tab with the image)
//   5, 6, 7     text first, then image first   (no texts: the current tab)
//   0, 2        text first, then image first   (no texts: first tab with the image)
//
// GetTabGapPoint serves data-message command 10: a screen point inside a
// tab control, in its middle or on the boundary between the tab there and
// its neighbour.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "forms/TabItemForm.h"
#include "locators/ItemLocator.h"

class CTabItemLocator : public CItemLocator {
public:
    using Form = TItemForm<TabItemFields>;
    static const int kFetchTextSize = TabItemFields::kRecordedTextSize;

    CTabItemLocator();

    int GetDataSize() override;
    void ReadData(BYTE*& pCursor) override;
    void WriteData(BYTE*& pCursor) override;
    int GetItemCount(HWND hwndControl) override;
    HWND LoadItem(HWND hwndControl, int nIndex) override;
    RECT ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) override;
    bool FindItem(HWND hwndControl, DWORD dwParam) override;
    const char* GetDescription() override;
    int ListItems(HWND hwndControl, CItemListPage& page) override;

    // Whether the control reports a text for its tabs (asked of tab 0; a
    // control without tabs counts as one with texts).
    bool HasItemText(HWND hwndControl);
    int SearchByText(HWND hwndControl);
    int SearchByImage(HWND hwndControl);
    // For controls whose tabs carry no text: the current tab when bit 2 of
    // dwParam is set, otherwise the first tab with the recorded image.
    int FindByImage(HWND hwndControl, DWORD dwParam);
    // Stores a point of the tab control in screen coordinates; uses no
    // field of the object. For a window that answers no tab message the
    // point is its client area's middle.
    void GetTabGapPoint(POINT* pPoint, HWND hwndTab);

    Form MakeForm() const;

    TCITEMA m_item;
    int m_nIndex;
    DWORD m_bCurrent;

private:
    // Walks all tabs; bImageFirst chooses which of text and image must
    // match and which one separates strong from weak candidates.
    int Search(HWND hwndControl, bool bImageFirst);
};
