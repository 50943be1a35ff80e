// The accessibility interface as the agent and the sample use it: the
// interface identifier, taken from its bytes (the import library's symbol
// does not compare equal under every runtime), and the field codes that
// select an object's text or a candidate's field.
#pragma once
#include <windows.h>
#include <oleacc.h>

// {618736E0-3C3D-11CF-810C-00AA00389B71}
static const IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

enum AccField {
    AccName = 100,
    AccRoleText = 101,
    AccDescription = 104,
    AccValue = 105,
    AccLevel = 109,
    AccChildCount = 110,
    AccChildId = 113,
    AccRoleIndex = 114,
};

// Texts of an object are kept in buffers of this size (255 characters).
const int kAccTextSize = 256;
// The class name behind a numeric role's name holds at most this many.
const int kAccClassNameMax = 80;
