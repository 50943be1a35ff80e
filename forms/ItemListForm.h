// The forms of "TavmorItemList", the request that lists every item of a
// control (or of a window's accessibility tree) in pages: the request, the
// head of the reply and one entry of it.
//
// Request, after the header word: kind (u16), factory argument, first index,
// byte budget, flags, depth (u32 each).
// Reply, after the header word 0: served (u32; 0 and nothing else when no
// locator of the kind serves the window), total, count, next (u32 each),
// then count entries.
// Entry: size (u32, the bytes of the entry after it), index (i32), the
// rectangle as left, top, right, bottom (i32 each, in the coordinates the
// kind's hit test reports), flags (u32, kEntry* bits), level, parent,
// command id (i32 each), state (u32), child count (i32), text (plain text
// field), extra texts (u16 count, then plain text fields: a list view's
// columns 1..n; an accessible object's role text and value), the recorded
// form (u32 length, then the item's form as the info probe records it).
//
// A page holds whole entries only: an entry that would pass the budget or
// the record waits for the next page, where it comes first.
#pragma once
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "forms/FormTransfer.h"

struct ItemListRequest {
    // Trees: every node, collapsed or not, instead of the visible ones.
    static const uint32_t kAllNodesFlag = 0x1;
    // Accessible trees: levels below the window's object listed when the
    // request gives none.
    static const uint32_t kDefaultDepth = 8;

    uint16_t nKind = 0;
    uint32_t nFactoryArgument = 0;
    uint32_t nFirst = 0;
    uint32_t nBudget = 0;  // bytes of entries in a page; 0: as many as the record holds
    uint32_t dwFlags = 0;
    uint32_t nDepth = kDefaultDepth;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.nKind) && io.Field(f.nFactoryArgument) && io.Field(f.nFirst) && io.Field(f.nBudget) &&
               io.Field(f.dwFlags) && io.Field(f.nDepth);
    }
};

struct ItemListReplyHead {
    uint32_t bServed = 0;
    uint32_t nTotal = 0;
    uint32_t nCount = 0;
    uint32_t nNext = 0;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        if (!io.Field(f.bServed)) return false;
        return f.bServed == 0 || (io.Field(f.nTotal) && io.Field(f.nCount) && io.Field(f.nNext));
    }
};

struct ItemListEntry {
    static const uint32_t kVisible = 0x01;
    static const uint32_t kSelected = 0x02;
    static const uint32_t kExpanded = 0x04;
    static const uint32_t kHasChildren = 0x08;
    static const uint32_t kSubmenu = 0x10;
    static const uint32_t kEnabled = 0x20;
    // Extra texts an entry may carry (a list view has at most this many
    // columns after the first).
    static const uint16_t kMaxExtraTexts = 4096;

    int32_t nIndex = -1;
    int32_t nLeft = 0, nTop = 0, nRight = 0, nBottom = 0;
    uint32_t dwFlags = 0;
    int32_t nLevel = 0;
    int32_t nParent = -1;
    int32_t nId = 0;
    uint32_t dwState = 0;
    int32_t nChildCount = 0;
    std::string text;
    std::vector<std::string> extraTexts;
    std::string form;  // the recorded form's bytes

    void SetRect(const RECT& rect) {
        nLeft = rect.left;
        nTop = rect.top;
        nRight = rect.right;
        nBottom = rect.bottom;
    }

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        if (!(io.Field(f.nIndex) && io.Field(f.nLeft) && io.Field(f.nTop) && io.Field(f.nRight) &&
              io.Field(f.nBottom) && io.Field(f.dwFlags) && io.Field(f.nLevel) && io.Field(f.nParent) &&
              io.Field(f.nId) && io.Field(f.dwState) && io.Field(f.nChildCount) &&
              io.Text(f.text, TextField::Plain))) {
            return false;
        }
        uint16_t nExtra = static_cast<uint16_t>(f.extraTexts.size() > kMaxExtraTexts ? kMaxExtraTexts
                                                                                      : f.extraTexts.size());
        if (!io.Field(nExtra) || !SizeTexts(io, f.extraTexts, nExtra)) return false;
        for (uint16_t i = 0; i < nExtra; ++i) {
            if (!io.Text(f.extraTexts[i], TextField::Plain)) return false;
        }
        uint32_t nFormLength = static_cast<uint32_t>(f.form.size());
        return io.Field(nFormLength) && io.Bytes(f.form, nFormLength);
    }

private:
    // Writing and measuring: the texts are there.
    template <class TIo>
    static bool SizeTexts(TIo&, const std::vector<std::string>&, uint16_t) {
        return true;
    }
    // Reading: a count above the limit, or one the bytes left cannot hold
    // (each text field takes at least 4), fails before anything is allocated.
    static bool SizeTexts(CFormReader& io, std::vector<std::string>& texts, uint16_t n) {
        if (n > kMaxExtraTexts || static_cast<uint64_t>(n) * 4 > io.Cursor().Remaining()) {
            io.Cursor().Fail();
            return false;
        }
        texts.assign(n, std::string());
        return true;
    }
};

// Bytes an entry takes in a page, its size field included.
inline uint64_t ItemListEntrySize(const ItemListEntry& entry) { return 4 + FormSize(entry); }

// Writes the entry with its size field; nothing when it does not fit whole.
inline bool WriteItemListEntry(CWireCursor& cursor, const ItemListEntry& entry) {
    const uint64_t nSize = FormSize(entry);
    if (nSize > 0xFFFFFFFFu || !cursor.Fits(4 + nSize)) return false;
    return cursor.WriteU32(static_cast<uint32_t>(nSize)).Ok() && WriteForm(cursor, entry);
}

// Reads one entry: its size field, then exactly that many bytes, which
// must hold the entry's fields and nothing else. The cursor ends past the
// size's bytes either way, so that a reader can go on with the next entry.
inline bool ReadItemListEntry(CWireCursor& cursor, ItemListEntry& entry) {
    const uint32_t nSize = cursor.ReadU32();
    if (!cursor.Ok() || !cursor.Fits(nSize)) {
        cursor.Fail();
        return false;
    }
    CWireCursor inner(static_cast<const BYTE*>(cursor.Position()), cursor.Position() + nSize);
    cursor.Skip(nSize);
    return ReadForm(inner, entry) && inner.Remaining() == 0;
}
