// The description of one window as the controller records it: styles,
// identifier, class names, rectangle, number of descendants and, for scroll
// bars and trackbars, the range.
//
// Serialised as forms/WindowDescriptionForm.h's window record.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

#include "forms/WindowDescriptionForm.h"

class CWindowRecord {
public:
    static const int kNameSize = 256;
    static const int kFixedDataSize = 44;

    // Every field starts cleared, so that no value on the wire is undefined
    // (the range of other windows, the no-frame flag of a frame's record).
    CWindowRecord();

    // Reads everything from the window. The range is read only for a
    // "scrollbar" or "msctls_trackbar32" control.
    void FillFromWindow(HWND hwnd);
    // The record as it travels.
    WindowRecordForm MakeForm() const;

    DWORD m_dwExStyle;
    DWORD m_dwStyle;
    DWORD m_nId;
    DWORD m_bNoFrame;
    char m_szClassName[kNameSize];
    char m_szParentClassName[kNameSize];
    RECT m_rcWindow;
    DWORD m_nDescendants;
    DWORD m_nRange1;
    DWORD m_nRange2;
    uint32_t m_nClassNameLength;
    uint32_t m_nParentClassNameLength;

private:
    void ReadRange(HWND hwnd);
};
