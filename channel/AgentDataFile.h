// Reader and writer over the shared record "TavmorAgentMapFile" that the
// controller creates. One object lives on the stack of one request handler.
//
// The record is little-endian and packed: every read or write moves the
// cursor by exactly the bytes it touched. The cursor never leaves the mapped
// view: an access that would cross the view's end is not performed, reads
// yield 0, and the record is marked overrun. Detach then stamps the header
// word with RecordHeader::kOverrunWord, so the controller can tell a request
// that did not fit from a reply and from an unprocessed request.
//
// A handler reads its request's form and writes its reply's form (forms/)
// with ReadForm and WriteForm.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

#include "common/Owned.h"
#include "forms/FormTransfer.h"
#include "forms/RecordHeader.h"
#include "forms/WireCursor.h"

class CItemLocator;
class CWindowDescription;

class CAgentDataFile {
public:
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

    // Reads or writes a whole form at the cursor. False when it did not fit:
    // the field that crossed the end and those behind it are neither read
    // nor written (a fresh request form keeps its zeros there) and the
    // record is marked overrun.
    template <class TForm>
    bool ReadForm(TForm& form);
    template <class TForm>
    bool WriteForm(const TForm& form);
    // A handler's first step: Attach, then read the request's form. False
    // only when the record could not be attached (the handler then ends
    // without a reply); a request cut short is attached, and HasOverrun()
    // says so.
    template <class TForm>
    bool AttachRequest(TForm& request);
    // The reply over the request: Rewind(true), then the reply's form.
    template <class TForm>
    bool WriteReply(const TForm& reply);

    // The locator reads or writes its serialised form at the cursor, bounded
    // by the view's end. False when the form did not fit (the record is then
    // marked overrun).
    bool ReadLocator(CItemLocator& locator);
    bool WriteLocator(CItemLocator& locator);
    bool WriteWindowInfo(CWindowDescription& description);

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
    if (::ReadForm(m_cursor, form)) return true;
    MarkOverrun();
    return false;
}

template <class TForm>
bool CAgentDataFile::WriteForm(const TForm& form) {
    if (!Fits(0)) return false;
    if (::WriteForm(m_cursor, form)) return true;
    MarkOverrun();
    return false;
}

template <class TForm>
bool CAgentDataFile::AttachRequest(TForm& request) {
    if (!Attach()) return false;
    ReadForm(request);
    return true;
}

template <class TForm>
bool CAgentDataFile::WriteReply(const TForm& reply) {
    Rewind(true);
    return WriteForm(reply);
}

