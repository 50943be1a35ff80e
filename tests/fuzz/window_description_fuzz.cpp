// Fuzz target for the window description as the controller decodes it: head,
// the attached item of any kind, tail. A decoded description is encoded with
// the same forms, decoded and encoded again; both encodings agree.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "client/LocatorForm.h"
#include "client/WindowDescriptionReader.h"
#include "forms/WindowDescriptionForm.h"

namespace {
uint64_t EncodedSize(const WindowDescriptionForm& d) {
    uint64_t nSize = FormSize(static_cast<const WindowDescriptionHead&>(d)) +
                     FormSize(static_cast<const WindowDescriptionTail&>(d));
    if (d.HasItem()) nSize += 4 + EncodedLocatorFormSize(d.item);
    return nSize;
}

bool Encode(const WindowDescriptionForm& d, CWireCursor& c) {
    if (!WriteForm(c, static_cast<const WindowDescriptionHead&>(d))) return false;
    if (d.HasItem() && !(c.WriteU32(static_cast<uint32_t>(d.nItemKind)).Ok() && EncodeLocatorForm(d.item, c))) {
        return false;
    }
    return WriteForm(c, static_cast<const WindowDescriptionTail&>(d));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CBlock input = CopyOf(data, size);
    CWireCursor cursor = ReadCursor(input);
    WindowDescriptionForm d;
    if (!DecodeWindowDescription(cursor, &d)) return 0;
    FUZZ_REQUIRE(cursor.Ok() && cursor.Offset() <= input.Size());
    FUZZ_REQUIRE(d.hasFrame == d.HasFrame() && d.hasItem == d.HasItem());
    if (d.hasItem) FUZZ_REQUIRE(d.item.nKind == d.nItemKind);
    const std::string text = FormatWindowDescription(d);
    FUZZ_REQUIRE(!text.empty());

    auto encode = [](const WindowDescriptionForm& form) {
        return [&form](CWireCursor& c) { return Encode(form, c); };
    };
    const Bytes first = WriteExactly(EncodedSize(d), encode(d));
    RequireRefusedWhenShort(first.size(), encode(d));
    WindowDescriptionForm again;
    FUZZ_REQUIRE(DecodeWindowDescription(first, &again));  // takes the bytes whole
    const Bytes second = WriteExactly(EncodedSize(again), encode(again));
    FUZZ_REQUIRE(second == first);
    return 0;
}
