// Request of "TavmorInfoProbe": describe a window, and optionally an item in
// it, so that the controller can record them.
//
// Request behind the header word: item wanted (u32, not 0: capture an item
// too), kind (u16, taken as signed), item number (u32: position, command id
// or tree item handle, as the kind's LoadItem takes it), factory argument
// (u32; the popup menu's handle for kind 6). Kind, number and argument
// travel in every request and matter only when an item is wanted.
// Reply behind the header word: the window description's form
// (forms/WindowDescriptionForm.h), with the item's kind and form inside it
// when an item was attached.
#pragma once
#include <cstdint>

#include "forms/FormTransfer.h"

struct InfoProbeRequestForm {
    uint32_t nItemWanted = 0;
    int16_t nKind = 0;  // 0xFFFF on the wire is -1
    uint32_t nIndex = 0;
    uint32_t nFactoryArgument = 0;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.nItemWanted) && io.Field(f.nKind) && io.Field(f.nIndex) && io.Field(f.nFactoryArgument);
    }
};
