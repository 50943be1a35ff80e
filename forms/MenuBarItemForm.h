// Form of a menu-bar item (kind 3): its position in the bar, and its text,
// which travels for display only.
//
// Behind the base: position (i32), text (terminated text field).
#pragma once
#include <cstdint>
#include <string>

#include "forms/ItemFormBase.h"
#include "forms/KnownItem.h"

struct MenuBarItemFields {
    // The agent keeps at most this many characters of a menu text.
    static const size_t kMaxText = 255;

    int32_t nPosition = 0;
    std::string text;

    // By position; the text is for display only.
    static bool FromKnown(const KnownItem& known, MenuBarItemFields& f) {
        f.nPosition = known.position;
        f.text = known.text;
        return true;
    }

    std::string DisplayText() const { return text; }
    std::string Description() const { return text.empty() ? "a menu item" : "the '" + text + "' menu item"; }

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.nPosition) && io.Text(f.text, TextField::Terminated);
    }
};
