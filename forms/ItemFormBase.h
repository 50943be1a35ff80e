// The part of an item locator's serialised form that every kind shares, and
// the whole form of a kind: this base followed by the kind's own fields.
//
// Base form, 21 bytes: rectangle as left, right, top, bottom (i32 each;
// right before top, not in RECT order), flags (u32), selected (u8).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "forms/FormTransfer.h"

struct ItemFormBase {
    static const int kSize = 21;

    RECT rect = {0, 0, 0, 0};
    uint32_t dwFlags = 1;
    uint8_t bSelected = 0;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.rect.left) && io.Field(f.rect.right) && io.Field(f.rect.top) &&
               io.Field(f.rect.bottom) && io.Field(f.dwFlags) && io.Field(f.bSelected);
    }
};

// The fields of a kind that carries the base form only.
struct NoItemFields {
    std::string DisplayText() const { return std::string(); }
    // Empty: such a kind is described by its base description.
    std::string Description() const { return std::string(); }
    template <class TIo, class TForm>
    static bool Transfer(TIo&, TForm&) {
        return true;
    }
};

// One kind's whole form: the base, then TFields behind it.
template <class TFields>
struct TItemForm {
    ItemFormBase base;
    TFields fields;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return ItemFormBase::Transfer(io, f.base) && TFields::Transfer(io, f.fields);
    }
};
