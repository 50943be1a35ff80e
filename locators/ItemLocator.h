// Abstract item locator: one kind of user-interface item inside a window of
// the target (menu-bar item, list-view item, ...). It holds what every kind
// shares, reads and writes the item's serialised form at a cursor in the
// shared record, and offers the operations through which the request
// handlers drive a locator without knowing its kind.
//
// Serialised base form, 21 bytes, little-endian, packed:
//   left, right, top, bottom (i32 each; right before top), flags (u32),
//   selected (u8). Each kind appends its own fields behind it.
//
// The form comes from outside the target process. ReadData and WriteData
// keep their cursor signature; the caller bounds them with SetDataLimit,
// and every field access of the base and of the kinds goes through
// ReadField / WriteField, which refuse to touch bytes at or past the limit.
// After a refused access HasDataOverrun is true; the cursor stays before
// the field that did not fit.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

class CWindowDescription;

// Kind codes of the items the factory knows (5 has no locator).
enum ItemKind {
    kItemKindMenuBar = 3,
    kItemKindToolbar = 4,
    kItemKindPopupMenu = 6,
    kItemKindListView = 7,
    kItemKindTree = 8,
    kItemKindListBox = 9,
    kItemKindTab = 10,
    kItemKindStatusBar = 11,
    kItemKindAccessible = 12,
    kItemKindScrollingAccessible = 13,
};

class CItemLocator {
public:
    static const int kBaseDataSize = 21;
    static const int kDescriptionSize = 256;

    CItemLocator();
    virtual ~CItemLocator();

    virtual int GetDataSize();
    virtual void ReadData(BYTE*& pCursor);
    virtual void WriteData(BYTE*& pCursor);
    virtual void SetTag(BYTE nTag);
    virtual int GetTag();
    virtual int GetItemCount(HWND hwndControl);
    virtual const char* GetText(int nIndex);
    virtual HWND LoadItem(HWND hwndControl, int nIndex) = 0;
    virtual RECT* GetRect(RECT* pRect);
    virtual RECT ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) = 0;
    virtual bool FindItem(HWND hwndControl, DWORD dwParam) = 0;
    virtual bool IsIndirectItem();
    virtual bool FindHostWindow(HWND* phwnd, const CWindowDescription* pInfo);
    virtual bool IsSelected();
    virtual bool HasRect();
    virtual const char* GetDescription();
    virtual bool ReservedCheck();
    virtual int ReservedValue1();
    virtual int ReservedValue2();
    virtual void ReservedNotify(DWORD dwValue);

    // Text buffer owned by the locator. AllocText frees the old buffer and
    // returns nSize zero bytes (NULL for a size below 1).
    char* AllocText(short nSize);
    void FreeText();
    // Clears p when it aliases m_pszText, then frees the buffer.
    void ReleaseText(char*& p);

    // Bounds for ReadData / WriteData: no byte at or after pEnd is read or
    // written. NULL means unbounded (forms in buffers the agent sized itself).
    // Setting a limit clears an earlier overrun.
    void SetDataLimit(const BYTE* pEnd);
    const BYTE* GetDataLimit() const { return m_pDataLimit; }
    bool HasDataOverrun() const { return m_bDataOverrun; }

    char* m_pszText;
    int m_nKind;
    RECT m_rect;
    DWORD m_dwFlags;
    BYTE m_bSelected;
    char m_szDescription[kDescriptionSize];

protected:
    // Bounded field access for ReadData / WriteData. A read that does not
    // fit zero-fills pOut; neither moves the cursor then, and both mark the
    // overrun and return false. After an overrun every later access fails.
    bool ReadField(BYTE*& pCursor, void* pOut, size_t nSize);
    bool WriteField(BYTE*& pCursor, const void* pIn, size_t nSize);
    bool ReadInt(BYTE*& pCursor, int& nValue);
    bool ReadDWord(BYTE*& pCursor, DWORD& dwValue);
    bool WriteInt(BYTE*& pCursor, int nValue);
    bool WriteDWord(BYTE*& pCursor, DWORD dwValue);
    void MarkDataOverrun() { m_bDataOverrun = true; }

    // Formats one text argument into m_szDescription, cutting the result at
    // the buffer's end (and an over-long argument before formatting).
    const char* FormatDescription(const char* pszFormat, const char* pszArgument);

private:
    CItemLocator(const CItemLocator&);
    CItemLocator& operator=(const CItemLocator&);

    const BYTE* m_pDataLimit;
    bool m_bDataOverrun;
};

// Makes the locator for an item kind code; NULL for codes outside the table
// (below 3, 5, above 13) and when allocation fails. dwParam is the popup
// menu's handle for kind 6 and unused otherwise. The caller owns the object
// and deletes it through the virtual destructor. (Defined in
// ItemLocatorFactory.cpp, which knows every kind's class.)
CItemLocator* CreateItemLocator(int nKind, DWORD dwParam);
