// Request and reply of "TavmorLocateItem": find a recorded item again.
//
// Request behind the header word: the head -- kind (u16, taken as signed),
// factory argument (u32) --, then the item's serialised form (the kind's
// form in forms/; absent for a code that is no kind), then the tail --
// search argument (u32). Its offset thus depends on how many bytes the form
// took.
// Reply behind the header word: the head -- found (u32, 1 or 0) --, then,
// when the agent had a locator for the kind, the item's form after the
// search, with the rectangle found.
//
// The form between head and tail is the kind's own: the agent reads and
// writes it through its locator, the controller through its LocatorForm.
#pragma once
#include <cstdint>

#include "forms/FormTransfer.h"

struct LocateItemRequestHead {
    int16_t nKind = 0;  // 0xFFFF on the wire is -1
    uint32_t nFactoryArgument = 0;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.nKind) && io.Field(f.nFactoryArgument);
    }
};

struct LocateItemRequestTail {
    // Strategy and reported part of the search (the locator's FindItem).
    uint32_t dwSearchArgument = 0;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.dwSearchArgument);
    }
};

struct LocateItemReplyHead {
    uint32_t nFound = 0;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.nFound);
    }
};
