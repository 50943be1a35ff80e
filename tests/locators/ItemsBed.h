// The sample's items window (tree view, toolbar, list box, status bar),
// made once in the test program's own thread, and the agent's item
// requests called on it through a real shared record: the bytes a
// controller writes go in, the handler runs as it does in a target, the
// reply bytes come out.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/Owned.h"
#include "forms/ItemFormBase.h"
#include "forms/ItemKinds.h"
#include "forms/WindowDescriptionForm.h"
#include "sample/SampleProtocol.h"

// The items window, made on first use and kept for the whole program.
HWND ItemsWindow();
HWND ItemsControl(int id);
// SendMessage to the items window.
LRESULT ItemsMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Lets the controls paint and settle.
void PumpMessages();

// A control's rectangle for an item, in screen coordinates.
RECT ToScreen(HWND control, RECT rect);

struct ItemAtReply {
    bool ok = false;
    int index = -1;
    RECT rect = {0, 0, 0, 0};
};

template <class TFields>
struct LocateReply {
    bool ok = false;  // a reply was written
    bool found = false;
    bool hasForm = false;
    TItemForm<TFields> form;
};

template <class TFields>
struct ProbeReply {
    bool ok = false;
    bool hasItem = false;
    uint32_t kind = 0;
    TItemForm<TFields> form;
};

class CRecordBed {
public:
    explicit CRecordBed(size_t size = 64 * 1024);
    bool Ok() const { return m_view.Get() != nullptr; }
    BYTE* View() const { return static_cast<BYTE*>(m_view.Get()); }
    size_t Size() const { return m_nSize; }

    // A request cursor: record cleared, header word written.
    CWireCursor Begin();
    // Runs the handler for the request in the record against control.
    void LocateItem(HWND control);
    void GetItemRect(HWND control);
    void InfoProbe(HWND control);
    // The reply cursor after the header word; false when the header is not 0.
    bool Reply(CWireCursor& cursor) const;

    ItemAtReply ItemAt(HWND control, int kind, POINT screenPoint);

    template <class TFields>
    LocateReply<TFields> Locate(HWND control, int kind, const TItemForm<TFields>& form, SearchArgument param) {
        CWireCursor w = Begin();
        w.WriteU16(static_cast<uint16_t>(kind)).WriteU32(0);
        WriteForm(w, form);
        w.WriteU32(param.Wire());
        LocateReply<TFields> reply;
        if (!w.Ok()) return reply;
        LocateItem(control);
        return ReadLocate<TFields>();
    }
    // The reply of a locate request sent as raw bytes.
    template <class TFields>
    LocateReply<TFields> ReadLocate() {
        LocateReply<TFields> reply;
        CWireCursor r;
        if (!Reply(r)) return reply;
        reply.ok = true;
        reply.found = r.ReadU32() == 1;
        reply.hasForm = ReadForm(r, reply.form);
        return reply;
    }

    template <class TFields>
    ProbeReply<TFields> Probe(HWND control, int kind, uint32_t index) {
        CWireCursor w = Begin();
        w.WriteU32(1).WriteU16(static_cast<uint16_t>(kind)).WriteU32(index).WriteU32(0);
        ProbeReply<TFields> reply;
        if (!w.Ok()) return reply;
        InfoProbe(control);
        CWireCursor r;
        if (!Reply(r)) return reply;
        WindowDescriptionHead head;
        if (!ReadForm(r, head)) return reply;
        reply.ok = true;
        reply.hasItem = head.HasItem();
        if (reply.hasItem) {
            reply.kind = r.ReadU32();
            reply.ok = ReadForm(r, reply.form);
        }
        return reply;
    }

private:
    size_t m_nSize;
    COwnedHandle m_mapping;
    COwnedView m_view;
};

std::string RectText(const RECT& r);
inline bool IsZero(const RECT& r) { return !r.left && !r.top && !r.right && !r.bottom; }
