// Form of a tab (kind 10): the 32-bit fields of the tab control's item
// record, the tab's index and whether it was the current tab, and its text.
//
// Behind the base: mask (u32), cchTextMax (i32), iImage (i32), index (i32),
// current (u32, 0 or 1), lParam (u32; the record's low 32 bits on a 64-bit
// build), text (terminated text field; empty for a tab without text).
// Bit 0 of the base flags tells whether the control reports tab texts.
#pragma once
#include <cstdint>
#include <string>

#include "forms/ItemFormBase.h"
#include "forms/KnownItem.h"

struct TabItemFields {
    // Mask and text buffer that a recorded tab asks the control for.
    static const uint32_t kRecordedMask = 0x1 | 0x2;  // text, image
    static const int32_t kRecordedTextSize = 256;
    // Longest text the agent keeps (its text buffer's size is a signed
    // 16-bit value, terminator included).
    static const size_t kMaxText = 32766;
    // Base flag: the control reports texts for its tabs.
    static const uint32_t kHasTextFlag = 0x1;

    uint32_t mask = 0;
    int32_t cchTextMax = 0;
    int32_t iImage = 0;
    int32_t nIndex = 0;
    uint32_t bCurrent = 0;
    uint32_t lParam = 0;
    std::string text;

    // A tab is found from its recording only.
    static bool FromKnown(const KnownItem&, TabItemFields&) { return false; }

    std::string DisplayText() const { return text; }
    std::string Description() const { return text.empty() ? "a tab" : "the '" + text + "' tab"; }

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.mask) && io.Field(f.cchTextMax) && io.Field(f.iImage) && io.Field(f.nIndex) &&
               io.Field(f.bCurrent) && io.Field(f.lParam) && io.Text(f.text, TextField::Terminated);
    }
};
