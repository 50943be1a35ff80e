// Request and replies of "TavmorDataMessage" (the commands are in
// forms/DataMessageCommands.h).
//
// Request behind the header word: P1, P2, P3 (u32 each), command (u16,
// taken as signed). For the sending commands 0 to 2, P1 is the message, P2
// the caller's value and P3 the placement of the agent's result buffer:
// not 0 puts it in lParam (P2 in wParam), 0 in wParam (P2 in lParam).
// Replies behind the header word: two values (i32 each) for commands 0, 2,
// 3 and 10; a rectangle left, top, right, bottom (i32 each) for commands 1
// and 9; none for command 4 and invalid codes.
#pragma once
#include <windows.h>

#include <cstdint>

#include "forms/DataMessageCommands.h"
#include "forms/FormTransfer.h"

struct DataMessageRequestForm {
    // Values of P3 for the sending commands.
    static constexpr uint32_t kBufferInWParam = 0;
    static constexpr uint32_t kBufferInLParam = 1;

    uint32_t p1 = 0;
    uint32_t p2 = 0;
    uint32_t p3 = 0;
    int16_t nCommand = 0;  // 0xFFFF on the wire is -1, no command

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.p1) && io.Field(f.p2) && io.Field(f.p3) && io.Field(f.nCommand);
    }
};

struct DataPairReplyForm {
    int32_t first = 0;
    int32_t second = 0;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.first) && io.Field(f.second);
    }
};

struct DataRectReplyForm {
    RECT rect = {0, 0, 0, 0};

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return TransferRect(io, f.rect);
    }
};
