// The command codes of "TavmorDataMessage", as the request's command field
// carries them (u16, taken as signed by the agent). Every other code is
// invalid: the agent runs nothing and leaves the record as it was.
#pragma once
#include <cstdint>

enum DataCommandCode : uint16_t {
    // Sends message P1 with a pointer to two i32 preset to -1; when both are
    // still -1 the halves of the message's result (each sign-extended)
    // stand in. Reply: two values.
    kDataSendPairWithFallback = 0,
    // The same with four i32 preset to 0. Reply: four values (a RECT).
    kDataSendRect = 1,
    // The same with two i32 preset to 0. Reply: two values.
    kDataSendPair = 2,
    // The caret of the handling thread. Reply: x, y (0, 0 without a caret).
    kDataCaretPosition = 3,
    // Listener P2 hears of message P1 on the window's thread; P1 0 removes
    // P2. No reply: the record keeps the request.
    kDataWatch = 4,
    // Rectangle of item P1 of menu P2 as window P3 shows it. Reply: a RECT
    // (screen; all 0 on failure).
    kDataMenuItemRect = 9,
    // A click point on the tab control. Reply: x, y (screen).
    kDataTabClickPoint = 10,
};
