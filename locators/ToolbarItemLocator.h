// Button of a common-controls toolbar (kind 4), captured as the toolbar's
// own button record and found again by its command identifier (the lowest
// index wins among equal identifiers). Rectangles are in client
// coordinates of the toolbar. A loaded button's text (GetText) is what the
// toolbar reports for it, whether the button holds its own text or an
// index into the toolbar's string pool.
//
// Form: forms/ToolbarItemForm.h (39 bytes).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "forms/ToolbarItemForm.h"
#include "locators/ItemLocator.h"

class CToolbarItemLocator : public CItemLocator {
public:
    using Form = TItemForm<ToolbarItemFields>;

    CToolbarItemLocator();

    int GetDataSize() override;
    void ReadData(BYTE*& pCursor) override;
    void WriteData(BYTE*& pCursor) override;
    int GetItemCount(HWND hwndControl) override;
    HWND LoadItem(HWND hwndControl, int nIndex) override;
    RECT ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) override;
    bool FindItem(HWND hwndControl, DWORD dwParam) override;

    // The record in this build's own layout (pointer-sized dwData and
    // iString, reserved bytes on a 64-bit build).
    TBBUTTON m_button;

private:
    Form MakeForm() const;
    // The button's text as the toolbar reports it (TB_GETBUTTONTEXT: a text
    // of its own or one of its string pool) into the locator's text, which
    // GetText gives; none for a button without one. The form carries no text.
    void LoadButtonText(HWND hwndControl, int idCommand);
};
