// Request and reply of "TavmorGetItemRect": which item of a kind lies under
// a screen point.
//
// Request behind the header word: kind (u32), point x, y (i32 each, screen
// coordinates), factory argument (u32).
// Reply behind the header word: index (i32; -1 when no item is there),
// rectangle left, top, right, bottom (i32 each; all 0 without an item), in
// the coordinates of the kind's hit test.
#pragma once
#include <windows.h>

#include <cstdint>

#include "forms/FormTransfer.h"

struct ItemRectRequestForm {
    uint32_t nKind = 0;
    POINT point = {0, 0};
    uint32_t nFactoryArgument = 0;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.nKind) && io.Field(f.point.x) && io.Field(f.point.y) && io.Field(f.nFactoryArgument);
    }
};

struct ItemRectReplyForm {
    int32_t nIndex = -1;
    RECT rect = {0, 0, 0, 0};

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.nIndex) && TransferRect(io, f.rect);
    }
};
