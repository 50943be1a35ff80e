// Item of a common-controls list view (kind 7), captured as the control's
// own item record and found again by text and image (recorded index breaks
// ties), by index, or as the first selected item. Rectangles are in client
// coordinates of the list view.
//
// Form: forms/ListViewItemForm.h.
//
// Locate parameter: bits 0-2 strategy (1 image first, 3 recorded index,
// 4 first selected, else text first); bits 8-10 rectangle part (2 icon,
// 3 label, 4 select bounds, else whole bounds).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "forms/ListViewItemForm.h"
#include "locators/ItemLocator.h"

class CListViewItemLocator : public CItemLocator {
public:
    using Form = TItemForm<ListViewItemFields>;
    static const int kFetchTextSize = ListViewItemFields::kRecordedTextSize;

    CListViewItemLocator();

    int GetDataSize() override;
    void ReadData(BYTE*& pCursor) override;
    void WriteData(BYTE*& pCursor) override;
    int GetItemCount(HWND hwndControl) override;
    HWND LoadItem(HWND hwndControl, int nIndex) override;
    RECT ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) override;
    bool FindItem(HWND hwndControl, DWORD dwParam) override;
    const char* GetDescription() override;

    int SearchByImage(HWND hwndControl);
    int SearchByText(HWND hwndControl);

    LVITEMA m_item;

private:
    Form MakeForm() const;
    // Walks all items; bImageFirst chooses which of text and image is the
    // must-match and which the tie-breaker for weak candidates.
    int Search(HWND hwndControl, bool bImageFirst);
    // Item i's text (into pszBuffer, kFetchTextSize bytes) and image; false
    // when the list view gives no such item.
    static bool FetchForSearch(HWND hwndControl, int i, char* pszBuffer, LVITEMA* pItem);
    // True when the item at the recorded index still has the recorded text
    // and image: the exact match, with which the walk would end.
    bool IsRecordedItemExact(HWND hwndControl, char* pszBuffer);
    // The text-first answer taken from an owner-data list's application
    // (LVM_FINDITEM becomes LVN_ODFINDITEM): every item it names is fetched
    // and compared as the walk compares, strong before weak, the last of
    // each kept. -1 when the application found nothing that passes the
    // comparison, answers wrongly, or names too many: then the walk decides.
    int SearchByAskingTheList(HWND hwndControl, char* pszBuffer);
};
