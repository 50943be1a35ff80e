// Controller-side view of an item locator's serialised form, as the agent's
// ReadData consumes it and its WriteData produces it, plus the text field
// format used inside it. Decoding is bounded by the reader: a form that runs
// past the record fails (reader.Ok() false) instead of reading beyond it.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

#include "client/RecordReader.h"
#include "client/RecordWriter.h"

struct LocatorForm {
    int nKind = 0;
    // Base part, 21 bytes. rect is a RECT; on the wire it is left, right,
    // top, bottom.
    RECT rect = {0, 0, 0, 0};
    uint32_t dwFlags = 1;
    bool bSelected = false;

    // Menu-bar item (kind 3): position in the bar; text for display only.
    int32_t nPosition = 0;

    // List-view item (kind 7): the fields of the control's item record.
    int32_t iItem = 0;
    int32_t iSubItem = 0;
    int32_t cchTextMax = 0;
    int32_t iImage = 0;
    uint32_t mask = 0;
    uint32_t state = 0;
    uint32_t stateMask = 0;
    uint32_t lParam = 0;

    // Item text of kinds 3 and 7 (ANSI).
    std::string text;
};

// Forms made from what a controller knows about an item, without a
// recording: a list-view item by text, index and image (text, image, lParam
// and state asked for, the usual 256-character text buffer), a menu-bar item
// by position (its text is for display only).
LocatorForm ListViewItemForm(const std::string& text, int index, int image);
LocatorForm MenuBarItemForm(int position, const std::string& text);

// True for the kind codes whose form this decoder knows (3, 4, 6..13).
bool IsKnownLocatorKind(int kind);

// Reads one form of the given kind at the reader's position and moves past
// exactly the bytes the agent's ReadData would consume. False for an unknown
// kind or when the form runs past the record.
bool DecodeLocatorForm(int kind, CRecordReader& reader, LocatorForm* out);
// Writes the form of out.nKind; false for an unknown kind or when it does
// not fit the writer. Texts are written as marked ANSI fields.
bool EncodeLocatorForm(const LocatorForm& form, CRecordWriter& writer);
// Bytes EncodeLocatorForm writes for the form (0 for an unknown kind).
size_t EncodedLocatorFormSize(const LocatorForm& form);

// Text field: u32 length n; for n > 0 the markers 00 01 and n ANSI bytes;
// the terminated variant leaves one more byte after a non-empty text.
// The decoder also accepts bare ANSI (no markers) and UTF-16 (00 then not 01),
// converting UTF-16 to the ANSI code page.
bool EncodeTextField(CRecordWriter& writer, const std::string& text, bool terminated);
bool DecodeTextField(CRecordReader& reader, bool terminated, std::string* text);
