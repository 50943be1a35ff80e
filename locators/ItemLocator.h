// Abstract item locator: one kind of user-interface item inside a window of
// the target (menu-bar item, list-view item, ...). It holds what every kind
// shares, reads and writes the item's serialised form at a cursor in the
// shared record, and offers the operations through which the request
// handlers drive a locator without knowing its kind.
//
// Serialised form: the 21-byte base (forms/ItemFormBase.h), then each
// kind's own fields, as its form header in forms/ states them once for the
// agent and the controller alike.
//
// The form comes from outside the target process. ReadData and WriteData
// keep their cursor signature; the caller bounds them with SetDataLimit,
// and every kind reads and writes its whole form through ReadFormAt /
// WriteFormAt, which never touch a byte at or past the limit. A form that
// does not fit is neither applied nor written: HasDataOverrun turns true
// and the cursor stays where the form began.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "forms/ItemFormBase.h"
#include "forms/ItemKinds.h"

class CItemListPage;
class CWindowDescription;

class CItemLocator {
public:
    CItemLocator(const CItemLocator&) = delete;
    CItemLocator& operator=(const CItemLocator&) = delete;
    static const int kBaseDataSize = ItemFormBase::kSize;
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
    // Lists the items of the kind in hwndControl into the page, from the
    // page's first index on, each with its recorded form as LoadItem and
    // WriteData give it. Returns how many items the listing holds in all
    // (the page may take fewer), or -1 when no item of the kind lives in
    // the window. The locator's own fields are not changed.
    virtual int ListItems(HWND hwndControl, CItemListPage& page);

    // Text buffer owned by the locator. AllocText frees the old buffer and
    // returns nSize zero bytes (nullptr for a size below 1).
    char* AllocText(short nSize);
    void FreeText();
    // Clears p when it aliases m_pszText, then frees the buffer.
    void ReleaseText(char*& p);

    // Bounds for ReadData / WriteData: no byte at or after pEnd is read or
    // written. nullptr means unbounded (forms in buffers the agent sized itself).
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
    // Reads a whole form at the cursor, bounded by the data limit (a read
    // without a limit is refused). True and the cursor past the form, or
    // false with the overrun marked and the cursor where it was.
    template <class TForm>
    bool ReadFormAt(BYTE*& pCursor, TForm& form);
    // Writes a whole form, or nothing when it does not fit the limit.
    // Without a limit the caller has sized the buffer for GetDataSize().
    template <class TForm>
    bool WriteFormAt(BYTE*& pCursor, const TForm& form);
    void MarkDataOverrun() { m_bDataOverrun = true; }

    // The base form from the fields, and the fields from a base form.
    ItemFormBase GetBaseForm() const;
    void SetBaseForm(const ItemFormBase& form);

    // Copies a description that the kind's form made into m_szDescription,
    // cut at the buffer's end.
    const char* SetDescription(const std::string& description);

private:
    // Owns the buffer m_pszText points at (nullptr when there is none).
    std::unique_ptr<char[]> m_textBuffer;
    const BYTE* m_pDataLimit;
    bool m_bDataOverrun;
};

template <class TForm>
bool CItemLocator::ReadFormAt(BYTE*& pCursor, TForm& form) {
    if (m_bDataOverrun || !m_pDataLimit || !pCursor || pCursor > m_pDataLimit) {
        m_bDataOverrun = true;
        return false;
    }
    CWireCursor cursor(pCursor, const_cast<BYTE*>(m_pDataLimit));
    if (!ReadForm(cursor, form)) {
        m_bDataOverrun = true;
        return false;
    }
    pCursor = cursor.Position();
    return true;
}

template <class TForm>
bool CItemLocator::WriteFormAt(BYTE*& pCursor, const TForm& form) {
    const uint64_t nSize = FormSize(form);
    BYTE* pLimit = const_cast<BYTE*>(m_pDataLimit);
    if (!pLimit && pCursor) pLimit = pCursor + nSize;
    if (m_bDataOverrun || !pCursor || pCursor > pLimit) {
        m_bDataOverrun = true;
        return false;
    }
    CWireCursor cursor(pCursor, pLimit);
    // Checked as a whole first, so that a form never ends half written.
    if (!cursor.Fits(nSize) || !WriteForm(cursor, form)) {
        m_bDataOverrun = true;
        return false;
    }
    pCursor = cursor.Position();
    return true;
}

// Makes the locator for an item kind code; nullptr for codes outside the
// registry of kinds (below 3, 5, above 13) and when allocation fails.
// dwParam is the popup menu's handle for kind 6 and unused otherwise. The
// caller owns the object and deletes it through the virtual destructor.
// (Defined in ItemLocatorFactory.cpp, which knows every kind's class.)
CItemLocator* CreateItemLocator(int nKind, DWORD dwParam);

// The owner of a locator that the factory made.
using CItemLocatorPtr = std::unique_ptr<CItemLocator>;
