// Form of a list-view item (kind 7): the 32-bit fields of the control's item
// record and the item's text.
//
// Behind the base: iItem, iSubItem, cchTextMax, iImage (i32 each), mask,
// state, stateMask, lParam (u32 each; lParam is the record's low 32 bits on
// a 64-bit build), text (terminated text field).
#pragma once
#include <cstdint>
#include <string>

#include "forms/ItemFormBase.h"
#include "forms/KnownItem.h"

struct ListViewItemFields {
    // Mask and text buffer that a recorded item asks the control for.
    static const uint32_t kRecordedMask = 0x1 | 0x2 | 0x4 | 0x8;  // text, image, param, state
    static const int32_t kRecordedTextSize = 256;
    // Longest text the agent keeps (its text buffer's size is a signed
    // 16-bit value, terminator included).
    static const size_t kMaxText = 32766;

    int32_t iItem = 0;
    int32_t iSubItem = 0;
    int32_t cchTextMax = 0;
    int32_t iImage = 0;
    uint32_t mask = 0;
    uint32_t state = 0;
    uint32_t stateMask = 0;
    uint32_t lParam = 0;
    std::string text;

    // By text, index and image (text, image, lParam and state asked for,
    // the recorded text buffer).
    static bool FromKnown(const KnownItem& known, ListViewItemFields& f) {
        f.text = known.text;
        f.iItem = known.index;
        f.iImage = known.image;
        f.mask = kRecordedMask;
        f.cchTextMax = kRecordedTextSize;
        return true;
    }

    std::string DisplayText() const { return text; }
    std::string Description() const { return text.empty() ? "a list item" : "the '" + text + "' list item"; }

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.iItem) && io.Field(f.iSubItem) && io.Field(f.cchTextMax) && io.Field(f.iImage) &&
               io.Field(f.mask) && io.Field(f.state) && io.Field(f.stateMask) && io.Field(f.lParam) &&
               io.Text(f.text, TextField::Terminated);
    }
};
