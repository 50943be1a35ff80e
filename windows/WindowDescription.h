// What the controller keeps to find a window, and optionally an item in it,
// again in a later run: the window's record, its frame ancestor's record and
// the frame's title checksum, the executable that owns it, and the attached
// item locator's form.
//
// Serialised form: forms/WindowDescriptionForm.h, with the attached
// locator's own form between the head and the tail.
//
// WriteData keeps its cursor signature; SetDataLimit bounds it (without a
// limit nothing is written). Nothing at or past the limit is written; when
// the description does not fit, HasDataOverrun turns true, the cursor stays
// where it was, and the caller fails the request.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

#include "forms/WindowDescriptionForm.h"
#include "locators/ItemLocator.h"
#include "windows/DescriptionOptions.h"
#include "windows/WindowRecord.h"

class CWindowDescription {
public:
    CWindowDescription(const CWindowDescription&) = delete;
    CWindowDescription& operator=(const CWindowDescription&) = delete;
    static const int kTextSize = 260;
    static const DWORD kItemAttachedFlag = 0x20;
    static const DWORD kLayoutFieldMask = 0x3F00;  // bits 8-13
    static const DWORD kLayoutFieldValue = 3;

    CWindowDescription();
    virtual ~CWindowDescription();

    // Captures item nIndex of control hwnd with a locator of nKind (made on
    // the first call, reused afterwards). Returns the window that the
    // locator names to be described instead of hwnd, or nullptr; nullptr and
    // nothing attached for a kind without a locator.
    HWND AttachItem(HWND hwnd, int nIndex, int nKind, DWORD dwParam);
    // Fills the description from hwnd. False when hwnd is not a window
    // (nothing changes) or belongs to another process (described in full,
    // module path empty).
    bool Describe(HWND hwnd);
    void WriteData(BYTE*& pCursor);

    CWindowRecord* GetWindowRecord() { return &m_recWindow; }
    CItemLocator* GetItem() const { return m_pItem.get(); }

    // Setting a limit clears an earlier overrun.
    void SetDataLimit(const BYTE* pEnd) {
        m_pDataLimit = pEnd;
        m_bDataOverrun = false;
    }
    bool HasDataOverrun() const { return m_bDataOverrun; }

    CWindowRecord m_recWindow;
    CWindowRecord m_recFrame;
    uint16_t m_nDepth;
    char m_szExtraText[kTextSize];
    char m_szModulePath[kTextSize];
    char m_szReservedText[kTextSize];
    uint32_t m_nReserved;
    int32_t m_nTitleChecksum;
    HWND m_hwnd;
    uint32_t m_nItemKind;
    DWORD m_dwDescFlags;
    CItemLocatorPtr m_pItem;
    BYTE m_bHasExtraText;
    CDescriptionOptions m_options;

private:
    WindowDescriptionHead MakeHead() const;
    WindowDescriptionTail MakeTail() const;
    // The item kind and the locator's form, bounded by the cursor's end.
    bool WriteItem(CWireCursor& cursor);

    const BYTE* m_pDataLimit;
    bool m_bDataOverrun;
};
