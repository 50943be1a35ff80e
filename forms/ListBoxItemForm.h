// Form shared by a list-box item (kind 9) and a status-bar pane (kind 11):
// the item's index (the pane's number) and its text. The two differ only in
// how they describe themselves.
//
// Behind the base: a marker (u32: the text's length with bit 31 set), the
// index (i32), the text (terminated text field). An older form with bit 31
// of the marker clear is read too: there the marker is the text's length,
// the index follows, and the text follows the index in text-field layout
// without the field's own length word. Only the current form is written.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "forms/ItemFormBase.h"
#include "forms/KnownItem.h"

struct ListBoxItemFields {
    static const uint32_t kCurrentFormBit = 0x80000000u;
    // Longest text the agent keeps (its text buffer's size is a signed
    // 16-bit value, terminator included).
    static const size_t kMaxText = 32766;

    int32_t nIndex = -1;
    std::string text;

    // By text, the index breaking ties (by index alone without a text).
    static bool FromKnown(const KnownItem& known, ListBoxItemFields& f) {
        f.text = known.text;
        f.nIndex = known.index;
        return true;
    }

    std::string DisplayText() const { return text; }
    std::string Description() const { return text.empty() ? "a list box item" : "the '" + text + "' list box item"; }

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        uint32_t marker = static_cast<uint32_t>(f.text.size() & 0x7FFFFFFF) | kCurrentFormBit;
        if (!io.Field(marker) || !io.Field(f.nIndex)) return false;
        if (marker & kCurrentFormBit) return io.Text(f.text, TextField::Terminated);
        return ReadOlderText(io, f.text, marker);
    }

private:
    // Only a reader meets the older form.
    template <class TIo>
    static bool ReadOlderText(TIo&, const std::string&, uint32_t) {
        return false;
    }
    // The older text: the field's body with the marker as its length. It is
    // read as a whole field put together from the marker and the bytes that
    // follow, so that every layout the field reader knows is accepted.
    static bool ReadOlderText(CFormReader& io, std::string& text, uint32_t nLength) {
        CWireCursor& cursor = io.Cursor();
        // Marked UTF-16 is the longest body: 2 + 2n bytes and the terminator.
        const uint64_t nLongest = 2 + 2 * static_cast<uint64_t>(nLength) + 1;
        const size_t nBody = static_cast<size_t>(nLongest < cursor.Remaining() ? nLongest : cursor.Remaining());
        std::vector<BYTE> field(4 + nBody);
        std::memcpy(field.data(), &nLength, 4);
        if (nBody && !cursor.ReadBytes(field.data() + 4, nBody)) return false;
        CWireCursor body(field.data(), field.data() + field.size());
        if (!body.ReadText(text, TextField::Terminated)) {
            cursor.Fail();
            return false;
        }
        // Give back what the text did not take.
        const size_t nTaken = body.Offset() - 4;
        return cursor.Seek(cursor.Offset() - (nBody - nTaken));
    }
};

// A status-bar pane: the list-box item's form; panes are counted from 1 in
// the description.
struct StatusBarItemFields : ListBoxItemFields {
    // By pane number.
    static bool FromKnown(const KnownItem& known, StatusBarItemFields& f) {
        f.nIndex = known.pane;
        return true;
    }
    std::string Description() const {
        return text.empty() ? "the no. " + std::to_string(static_cast<long long>(nIndex) + 1) + " status bar item"
                            : "the '" + text + "' status bar item";
    }
};
