// Item of a standard list box (kind 9), captured by its index and text and
// found again by its text (exact, then prefix; both case-insensitive, the
// recorded index breaking ties) or, without a text, by its index. Items of
// an owner-drawn list box that keeps no strings have no text: they are
// captured and found by index alone. Finding an item scrolls it into view. Rectangles are in client coordinates of
// the list box.
//
// Form: forms/ListBoxItemForm.h, shared with the status-bar pane, which
// derives from this class for it.
#pragma once
#include <windows.h>

#include <string>

#include "forms/ListBoxItemForm.h"
#include "locators/ItemLocator.h"

class CListBoxItemLocator : public CItemLocator {
public:
    using Form = TItemForm<ListBoxItemFields>;
    static const size_t kMaxText = ListBoxItemFields::kMaxText;

    CListBoxItemLocator();

    int GetDataSize() override;
    void ReadData(BYTE*& pCursor) override;
    void WriteData(BYTE*& pCursor) override;
    int GetItemCount(HWND hwndControl) override;
    HWND LoadItem(HWND hwndControl, int nIndex) override;
    RECT ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) override;
    bool FindItem(HWND hwndControl, DWORD dwParam) override;
    const char* GetDescription() override;

    // Index of the item (the pane number for a status bar); -1 until an
    // item was loaded or read.
    int m_nIndex;

protected:
    // Keeps text, cut to kMaxText, as the locator's text.
    void SetText(std::string text);
    // The chosen item scrolled into view, one line at a time downwards.
    static void BringIntoView(HWND hwndControl, int nChosen);
    // False for an owner-drawn list box without LBS_HASSTRINGS: its items
    // have no texts, and LB_GETTEXT answers an item's data (often a
    // pointer) in their place. Such items are recorded and found by index.
    static bool HasItemTexts(HWND hwndControl);

private:
    Form MakeForm() const;
    // The item to take among the matches of the text; -1 for none.
    int SearchByText(HWND hwndControl);
};
