// Fuzz target for the bounded cursor itself. Input: a count byte, that many
// operation bytes, then the record. Each operation (low nibble: what, high
// nibble: a parameter) reads a field; the fields read are written back into
// a block of exactly their size and read again with the same operations,
// and must come back the same. A failed cursor stays failed, stays where it
// was and yields zeros and empty texts.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"

namespace {
enum Op : uint8_t { kU8, kU16, kU32, kF32, kText, kTextTerminated, kTextCut, kTextTerminatedCut, kSkip, kBytes, kPeek,
                    kOpCount };

struct Field {
    uint8_t op = 0;
    uint8_t parameter = 0;
    uint32_t value = 0;
    std::string text;
    Bytes bytes;
};

TextField VariantOf(uint8_t op) {
    return (op == kTextTerminated || op == kTextTerminatedCut) ? TextField::Terminated : TextField::Plain;
}

// The cut of a text never ends inside a double-byte character.
void RequireWholeCharacters(const std::string& text, const std::string& whole) {
    FUZZ_REQUIRE(whole.compare(0, text.size(), text) == 0);
    size_t i = 0;
    while (i < text.size()) i += (IsDBCSLeadByte(static_cast<BYTE>(whole[i])) && i + 1 < whole.size()) ? 2 : 1;
    FUZZ_REQUIRE(i == text.size());
}

// Reads one field; false when the cursor failed on it.
bool ReadField(CWireCursor& c, uint8_t code, Field& f) {
    f.op = static_cast<uint8_t>((code & 0x0F) % kOpCount);
    f.parameter = static_cast<uint8_t>(code >> 4);
    const size_t nBefore = c.Offset();
    switch (f.op) {
    case kU8: f.value = c.ReadU8(); break;
    case kU16: f.value = c.ReadU16(); break;
    case kU32: f.value = c.ReadU32(); break;
    case kF32: {
        const float value = c.ReadF32();
        std::memcpy(&f.value, &value, 4);
        break;
    }
    case kText:
    case kTextTerminated: c.ReadText(f.text, VariantOf(f.op)); break;
    case kTextCut:
    case kTextTerminatedCut: {
        const size_t nMax = static_cast<size_t>(f.parameter) * 3;
        CWireCursor whole = c;
        std::string uncut;
        whole.ReadText(uncut, VariantOf(f.op));
        c.ReadText(f.text, VariantOf(f.op), nMax);
        FUZZ_REQUIRE(c.Ok() == whole.Ok() && c.Offset() == whole.Offset());
        FUZZ_REQUIRE(f.text.size() <= nMax);
        RequireWholeCharacters(f.text, uncut);
        break;
    }
    case kSkip: {
        const Bytes skipped(c.Position(), c.Position() + (c.Fits(f.parameter) ? f.parameter : 0));
        if (c.Skip(f.parameter)) f.bytes = skipped;
        break;
    }
    case kBytes:
        f.bytes.assign(f.parameter, 0xEE);
        c.ReadBytes(f.bytes.data(), f.bytes.size());
        break;
    default: {
        uint32_t n = 0;
        const bool bPeeked = c.PeekTextLength(n);
        FUZZ_REQUIRE(bPeeked == c.Fits(4));
        FUZZ_REQUIRE(c.Offset() == nBefore);
        f.value = n;
        break;
    }
    }
    if (!c.Ok()) {
        // Nothing was taken, and what came out is empty.
        FUZZ_REQUIRE(c.Offset() == nBefore);
        FUZZ_REQUIRE(f.value == 0 && f.text.empty());
        for (uint8_t b : f.bytes) FUZZ_REQUIRE(b == 0);
        return false;
    }
    return true;
}

uint64_t FieldSize(const Field& f) {
    switch (f.op) {
    case kU8: return 1;
    case kU16: return 2;
    case kU32:
    case kF32:
    case kPeek: return f.op == kPeek ? 0 : 4;
    case kSkip:
    case kBytes: return f.bytes.size();
    default: return CWireCursor::TextFieldSize(f.text.size(), VariantOf(f.op));
    }
}

bool WriteField(CWireCursor& c, const Field& f) {
    switch (f.op) {
    case kU8: c.WriteU8(static_cast<uint8_t>(f.value)); break;
    case kU16: c.WriteU16(static_cast<uint16_t>(f.value)); break;
    case kU32: c.WriteU32(f.value); break;
    case kF32: {
        float value;
        std::memcpy(&value, &f.value, 4);
        c.WriteF32(value);
        break;
    }
    case kSkip:
    case kBytes: c.WriteBytes(f.bytes.data(), f.bytes.size()); break;
    case kPeek: break;
    default: c.WriteText(f.text, VariantOf(f.op)); break;
    }
    return c.Ok();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const size_t nOps = data[0] % 32 < size - 1 ? data[0] % 32 : size - 1;
    const Bytes ops(data + 1, data + 1 + nOps);
    const CBlock record = CopyOf(data + 1 + nOps, size - 1 - nOps);

    CWireCursor cursor = ReadCursor(record);
    std::vector<Field> fields;
    for (uint8_t code : ops) {
        Field f;
        if (!ReadField(cursor, code, f)) break;
        fields.push_back(f);
    }
    if (!cursor.Ok()) {
        // A failed cursor stays failed whatever comes next.
        const size_t nAt = cursor.Offset();
        for (uint8_t code : ops) {
            Field f;
            FUZZ_REQUIRE(!ReadField(cursor, code, f));
        }
        FUZZ_REQUIRE(cursor.Offset() == nAt && cursor.Remaining() == 0);
    }

    uint64_t nSize = 0;
    for (const Field& f : fields) nSize += FieldSize(f);
    auto writeAll = [&fields](CWireCursor& c) {
        for (const Field& f : fields) {
            if (!WriteField(c, f)) return false;
        }
        return true;
    };
    // The terminator slots of terminated texts are left as they are: zeros here.
    const Bytes written = WriteExactly(nSize, writeAll);
    RequireRefusedWhenShort(nSize, writeAll);

    const CBlock writtenBlock(written.data(), written.size());
    CWireCursor again = ReadCursor(writtenBlock);
    for (size_t i = 0; i < fields.size(); ++i) {
        Field f;
        FUZZ_REQUIRE(ReadField(again, ops[i], f));
        // A peek sees the length word as written, which differs from the
        // read one for a UTF-16 or cut text.
        FUZZ_REQUIRE((f.op == kPeek || f.value == fields[i].value) && f.text == fields[i].text &&
                     f.bytes == fields[i].bytes);
    }
    FUZZ_REQUIRE(again.Offset() == written.size());
    return 0;
}
