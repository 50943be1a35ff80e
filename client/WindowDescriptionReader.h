// Controller-side decoding of a serialised window description as the agent's
// info probe writes it, and the file in which the tool keeps one. Decoding is
// bounded by the reader: a description that runs past its bytes fails.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

#include "client/LocatorForm.h"
#include "client/RecordReader.h"

struct WindowRecordForm {
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
};

struct WindowDescriptionForm {
    WindowRecordForm window;
    bool hasFrame = false;  // window.bNoFrame == 0: the frame's record follows
    WindowRecordForm frame;
    uint16_t nDepth = 0;
    uint32_t nReserved = 0;
    std::string modulePath;  // empty for a window of another process than the agent's
    std::string reservedText;
    uint8_t bHasExtraText = 0;
    std::string extraText;
    uint32_t dwFlags = 0;
    bool hasItem = false;  // flags bit 5
    int nItemKind = 0;
    LocatorForm item;
    int32_t nTitleChecksum = 0;
    // Options block, in the order of its fields on the wire.
    uint32_t nSecondNumber = 0;
    uint32_t nFirstNumber = 0;
    float fFirstReal = 0;
    float fSecondReal = 0;
    uint8_t bSecondFlag = 0;
    uint8_t bFirstFlag = 0;
    uint8_t bThirdFlag = 0;
};

constexpr uint32_t kDescriptionItemFlag = 0x20;

// Reads one record at the reader's position.
bool DecodeWindowRecord(CRecordReader& reader, WindowRecordForm* out);
// Reads a whole description, including the item's form through the locator
// decoder; false when it runs past the reader's end or the item's kind has no
// known form (the fields after it could not be found).
bool DecodeWindowDescription(CRecordReader& reader, WindowDescriptionForm* out);
// Decodes a description held alone in bytes; false also when bytes are left over.
bool DecodeWindowDescription(const std::vector<uint8_t>& bytes, WindowDescriptionForm* out);

// A readable multi-line rendering, for the tool.
std::string FormatWindowDescription(const WindowDescriptionForm& description);

// The description file holds the raw description bytes, nothing else.
bool SaveDescriptionFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);
bool LoadDescriptionFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);
// Loads a description file and decodes it; raw may be NULL.
bool LoadDescription(const std::string& path, WindowDescriptionForm* out, std::vector<uint8_t>* raw,
                     std::string* error);
