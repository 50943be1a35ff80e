// What every fuzz target checks of a reader: a form read from any bytes is
// written back, read again and written again, and the two writings agree
// byte for byte; the writer fills exactly the size the sizer states and
// never writes into a buffer too small for it. Buffers are heap blocks of
// their exact size, so that the sanitizer sees any byte past them.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "FuzzBlock.h"
#include "forms/FormTransfer.h"
#include "forms/WireCursor.h"

// A broken promise: printed, then the process stops as a crash that the
// fuzzer records.
#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// The input in a block of its own size.
inline CBlock CopyOf(const uint8_t* data, size_t size) { return CBlock(data, size); }

inline CWireCursor ReadCursor(const CBlock& block) {
    return CWireCursor(static_cast<const BYTE*>(block.Data()), block.End());
}

// Writes through write(cursor) into a block of exactly nSize bytes; the
// cursor must end at the block's end.
template <class TWrite>
Bytes WriteExactly(uint64_t nSize, TWrite write) {
    FUZZ_REQUIRE(nSize < (1u << 30));
    CBlock out(static_cast<size_t>(nSize));
    CWireCursor cursor(out.Data(), out.End());
    FUZZ_REQUIRE(write(cursor));
    FUZZ_REQUIRE(cursor.Ok() && cursor.Offset() == out.Size());
    return out.Copy();
}

// A block one byte short must refuse the writing, and no byte of it may lie
// past the block (the sanitizer watches).
template <class TWrite>
void RequireRefusedWhenShort(uint64_t nSize, TWrite write) {
    if (nSize == 0) return;
    CBlock out(static_cast<size_t>(nSize - 1));
    CWireCursor cursor(out.Data(), out.End());
    FUZZ_REQUIRE(!write(cursor) || !cursor.Ok());
}

// The round trip of a form type: read at the input, write, read the writing,
// write again; both writings agree and each read of a writing takes it whole.
template <class TForm>
void RequireFormRoundTrip(const uint8_t* data, size_t size) {
    const CBlock input = CopyOf(data, size);
    CWireCursor cursor = ReadCursor(input);
    TForm form;
    if (!ReadForm(cursor, form)) {
        FUZZ_REQUIRE(!cursor.Ok());
        return;
    }
    FUZZ_REQUIRE(cursor.Offset() <= input.Size());
    auto writeForm = [](const TForm& f) {
        return [&f](CWireCursor& c) { return WriteForm(c, f); };
    };
    const Bytes first = WriteExactly(FormSize(form), writeForm(form));
    RequireRefusedWhenShort(first.size(), writeForm(form));
    FUZZ_REQUIRE(FormSize(form, true) >= first.size());

    const CBlock firstBlock(first.data(), first.size());
    CWireCursor again = ReadCursor(firstBlock);
    TForm second;
    FUZZ_REQUIRE(ReadForm(again, second));
    FUZZ_REQUIRE(again.Offset() == first.size());
    const Bytes rewritten = WriteExactly(FormSize(second), writeForm(second));
    FUZZ_REQUIRE(rewritten == first);
}
