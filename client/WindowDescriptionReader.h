// Controller-side decoding of a serialised window description as the agent's
// info probe writes it, and the file in which the tool keeps one. Decoding is
// bounded by the cursor: a description that runs past its bytes fails.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

#include "client/LocatorForm.h"
#include "forms/WindowDescriptionForm.h"
#include "forms/WireCursor.h"

// The description's head and tail as forms/WindowDescriptionForm.h states
// them, with the item between them decoded by its kind.
struct WindowDescriptionForm : WindowDescriptionHead, WindowDescriptionTail {
    bool hasFrame = false;  // window.bNoFrame == 0: the frame's record is there
    bool hasItem = false;   // flags bit 5
    int nItemKind = 0;
    LocatorForm item;
};

// Reads a whole description, including the item's form through the locator
// decoder; false when it runs past the cursor's end or the item's kind has no
// known form (the fields after it could not be found).
bool DecodeWindowDescription(CWireCursor& cursor, WindowDescriptionForm* out);
// Decodes a description held alone in bytes; false also when bytes are left over.
bool DecodeWindowDescription(const std::vector<uint8_t>& bytes, WindowDescriptionForm* out);

// A readable multi-line rendering, for the tool.
std::string FormatWindowDescription(const WindowDescriptionForm& description);

// The description file holds the raw description bytes, nothing else.
bool SaveDescriptionFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);
bool LoadDescriptionFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);
// Loads a description file and decodes it; raw may be nullptr.
bool LoadDescription(const std::string& path, WindowDescriptionForm* out, std::vector<uint8_t>* raw,
                     std::string* error);
