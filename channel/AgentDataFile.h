// Reader and writer over the shared record "TavmorAgentMapFile" that the
// controller creates. One object lives on the stack of one request handler.
//
// The record is little-endian and packed: every read or write moves the
// cursor by exactly the bytes it touched. The cursor never leaves the mapped
// view: an access that would cross the view's end is not performed, reads
// yield 0, and the record is marked overrun. Detach then stamps the header
// word with kOverrunWord, so the controller can tell a request that did not
// fit from a reply (header 0) and from an unprocessed request (kRequestWord).
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

#include "common/Owned.h"
#include "forms/FormTransfer.h"
#include "forms/WireCursor.h"

class CItemLocator;
class CWindowDescription;

class CAgentDataFile {
public:
    static constexpr uint32_t kRequestWord = 0x12345678;
    static constexpr uint32_t kReplyWord = 0;
    static constexpr uint32_t kOverrunWord = 0xFFFFFFFF;

    CAgentDataFile();
    virtual ~CAgentDataFile();

    CAgentDataFile(const CAgentDataFile&) = delete;
    CAgentDataFile& operator=(const CAgentDataFile&) = delete;

    // Opens and maps the record and checks the header word. Returns the
    // cursor (offset 4) or nullptr.
    BYTE* Attach();
    // Cursor to offset 0; with bMarkReply the header word 0 is written.
    BYTE* Rewind(bool bMarkReply);
    // Unmaps and closes; false only when unmapping failed.
    bool Detach();

    void ReadDWord(uint32_t& value);
    void ReadWord(uint16_t& value);
    void ReadPoint(POINT& point);
    void WriteDWord(uint32_t value);
    void WritePair(uint32_t a, uint32_t b);
    void WriteRect(const RECT& rect);

    // The locator reads or writes its serialised form at the cursor, bounded
    // by the view's end. False when the form did not fit (the record is then
    // marked overrun).
    bool ReadLocator(CItemLocator& locator);
    bool WriteLocator(CItemLocator& locator);
    bool WriteWindowInfo(CWindowDescription& description);
    // Reads a form (forms/FormTransfer.h) at the cursor; false, and the
    // record marked overrun, when it does not fit whole.
    template <class TForm>
    bool ReadForm(TForm& form);

    // Bounds of the attached view.
    BYTE* GetCursor() const { return m_cursor.Position(); }
    BYTE* GetViewBase() const { return static_cast<BYTE*>(m_view.Get()); }
    BYTE* GetViewEnd() const { return m_view ? m_cursor.End() : nullptr; }
    size_t Remaining() const { return m_cursor.Remaining(); }
    // True when n more bytes fit at the cursor; otherwise marks the overrun.
    bool Fits(size_t n);
    bool HasOverrun() const { return m_bOverrun; }

private:
    // Lets the object move a copy of the cursor (step(object, cursor)),
    // bounded by the view's end; the record's cursor follows only when the
    // whole object fitted, otherwise the record is marked overrun.
    template <class TObject, class TStep>
    bool StepBounded(TObject& object, TStep step);
    void MarkOverrun();

    COwnedHandle m_mapping;
    COwnedView m_view;
    CWireCursor m_cursor;
    bool m_bOverrun;
};

template <class TForm>
bool CAgentDataFile::ReadForm(TForm& form) {
    if (!Fits(0)) return false;
    CWireCursor cursor = m_cursor;
    if (!::ReadForm(cursor, form)) {
        MarkOverrun();
        return false;
    }
    m_cursor = cursor;
    return true;
}
