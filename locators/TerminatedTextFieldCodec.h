// Text field variant that leaves one byte (a terminator slot, never written
// nor read) after the characters of a non-empty text. Its size of an empty
// text is 5, one more than the 4 bytes written for it.
#pragma once
#include "locators/TextFieldCodec.h"

class CTerminatedTextFieldCodec : public CTextFieldCodec {
public:
    CTerminatedTextFieldCodec() : CTextFieldCodec(TextField::Terminated) {}
};
