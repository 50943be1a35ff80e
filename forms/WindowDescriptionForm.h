// Form of a window description, as the info probe writes it and the
// controller keeps it. The item inside it is the attached locator's form,
// which each side reads or writes with its own kind's form between the head
// and the tail.
//
// Window record: ex-style, style, id, no-frame flag, descendants, range 1,
// range 2 (u32 each), rectangle left, top, right, bottom (i32 each), class
// name and parent class name (terminated text fields).
//
// Description: window record; frame record (only when the window's no-frame
// flag is 0); depth (u16); reserved (u32); module path and reserved text
// (terminated text fields); extra-text flag (u8; the extra text follows when
// it is set); flags (u32) -- the head. Then, only when flags bit 5 is set,
// the item kind (u32) and the locator's form. Then the tail: title checksum
// (i32) and the options block: second number, first number (u32 each),
// first real, second real (IEEE single each), second flag, first flag,
// third flag (u8 each).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "forms/FormTransfer.h"

struct WindowRecordForm {
    static const size_t kMaxName = 255;

    uint32_t dwExStyle = 0;
    uint32_t dwStyle = 0;
    uint32_t nId = 0;
    uint32_t bNoFrame = 0;
    uint32_t nDescendants = 0;
    uint32_t nRange1 = 0;
    uint32_t nRange2 = 0;
    RECT rcWindow = {0, 0, 0, 0};  // client coordinates of the parent or owner
    std::string className;
    std::string parentClassName;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.dwExStyle) && io.Field(f.dwStyle) && io.Field(f.nId) && io.Field(f.bNoFrame) &&
               io.Field(f.nDescendants) && io.Field(f.nRange1) && io.Field(f.nRange2) &&
               io.Field(f.rcWindow.left) && io.Field(f.rcWindow.top) && io.Field(f.rcWindow.right) &&
               io.Field(f.rcWindow.bottom) && io.Text(f.className, TextField::Terminated) &&
               io.Text(f.parentClassName, TextField::Terminated);
    }
};

struct WindowDescriptionHead {
    static const uint32_t kItemAttachedFlag = 0x20;

    WindowRecordForm window;
    WindowRecordForm frame;  // on the wire only when window.bNoFrame is 0
    uint16_t nDepth = 0;
    uint32_t nReserved = 0;
    std::string modulePath;  // empty for a window of another process than the agent's
    std::string reservedText;
    uint8_t bHasExtraText = 0;
    std::string extraText;
    uint32_t dwFlags = 0;

    bool HasFrame() const { return window.bNoFrame == 0; }
    bool HasItem() const { return (dwFlags & kItemAttachedFlag) != 0; }

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return WindowRecordForm::Transfer(io, f.window) &&
               (f.window.bNoFrame != 0 || WindowRecordForm::Transfer(io, f.frame)) && io.Field(f.nDepth) &&
               io.Field(f.nReserved) && io.Text(f.modulePath, TextField::Terminated) &&
               io.Text(f.reservedText, TextField::Terminated) && io.Field(f.bHasExtraText) &&
               (f.bHasExtraText == 0 || io.Text(f.extraText, TextField::Terminated)) && io.Field(f.dwFlags);
    }
};

struct WindowDescriptionTail {
    static const int kOptionsSize = 19;

    int32_t nTitleChecksum = 0;
    // The options block, in the order of its fields on the wire; the agent
    // sends the values these defaults give.
    uint32_t nSecondNumber = 0;
    uint32_t nFirstNumber = 0;
    float fFirstReal = 100.0f;
    float fSecondReal = 100.0f;
    uint8_t bSecondFlag = 1;
    uint8_t bFirstFlag = 1;
    uint8_t bThirdFlag = 1;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.nTitleChecksum) && io.Field(f.nSecondNumber) && io.Field(f.nFirstNumber) &&
               io.Field(f.fFirstReal) && io.Field(f.fSecondReal) && io.Field(f.bSecondFlag) &&
               io.Field(f.bFirstFlag) && io.Field(f.bThirdFlag);
    }
};
