// Fuzz target for the text field codecs (plain and terminated) as a locator
// uses them: bounded by a limit, measuring first, then reading into a
// destination of a stated size. Input: a byte whose bit 0 picks the
// terminated variant, a byte with the destination size (0: the measured
// size), then the record.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "locators/TerminatedTextFieldCodec.h"
#include "locators/TextFieldCodec.h"

namespace {
struct CCodecs {
    CTextFieldCodec plain;
    CTerminatedTextFieldCodec terminated;
    CTextFieldCodec& Pick(bool bTerminated) { return bTerminated ? terminated : plain; }
};

// Reads the field at p into a destination of nDestSize bytes (0: the
// measured size) with a codec bounded by pLimit (nullptr: unbounded).
// False when the codec refuses it.
bool ReadField(bool bTerminated, BYTE* p, const BYTE* pLimit, size_t nDestSize, std::string& text, size_t& nTaken) {
    CCodecs measuring;
    CTextFieldCodec& measure = measuring.Pick(bTerminated);
    if (pLimit) measure.SetLimit(pLimit);
    BYTE* pAt = p;
    uint32_t nMeasured = 0;
    measure.ReadText(pAt, nullptr, nMeasured);
    FUZZ_REQUIRE(pAt == p);
    if (measure.HasOverrun()) {
        FUZZ_REQUIRE(nMeasured == 0);
        return false;
    }
    uint32_t nWord = 0;
    std::memcpy(&nWord, p, 4);
    FUZZ_REQUIRE(nMeasured == nWord + 1);

    CCodecs reading;
    CTextFieldCodec& read = reading.Pick(bTerminated);
    if (pLimit) read.SetLimit(pLimit);
    if (nDestSize) read.SetDestinationSize(nDestSize);
    const size_t nBlock = nDestSize ? nDestSize : nMeasured;
    std::vector<char> dest(nBlock, 'x');
    uint32_t nLength = 0;
    read.ReadText(pAt, dest.data(), nLength);
    FUZZ_REQUIRE(!read.HasOverrun());
    FUZZ_REQUIRE(nLength == nWord);
    FUZZ_REQUIRE(std::memchr(dest.data(), 0, dest.size()) != nullptr);
    text = dest.data();
    nTaken = static_cast<size_t>(pAt - p);
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const bool bTerminated = (data[0] & 1) != 0;
    const size_t nDestSize = data[1];
    const CBlock record = CopyOf(data + 2, size - 2);
    BYTE* pBegin = record.Data();
    BYTE* pLimit = record.End();

    std::string text;
    size_t nTaken = 0;
    if (!ReadField(bTerminated, pBegin, pLimit, nDestSize, text, nTaken)) return 0;
    FUZZ_REQUIRE(nTaken <= record.Size());
    if (nDestSize) FUZZ_REQUIRE(text.size() < nDestSize);

    // The codec agrees with the cursor it is built on.
    CWireCursor cursor(pBegin, pLimit);
    std::string viaCursor;
    FUZZ_REQUIRE(cursor.ReadText(viaCursor, bTerminated ? TextField::Terminated : TextField::Plain,
                                 nDestSize ? nDestSize - 1 : SIZE_MAX));
    FUZZ_REQUIRE(cursor.Offset() == nTaken);
    // The measured size may cut a UTF-16 text that became longer in ANSI.
    FUZZ_REQUIRE(viaCursor.substr(0, text.size()) == text);

    // Written back with a bounded codec into exactly its size...
    CCodecs writing;
    CTextFieldCodec& write = writing.Pick(bTerminated);
    const int nFieldSize = write.GetTextFieldSize(text.c_str());
    FUZZ_REQUIRE(nFieldSize >= static_cast<int>(CWireCursor::TextFieldSize(text.size(), TextField::Plain)));
    const CBlock out(static_cast<size_t>(nFieldSize));
    write.SetLimit(out.End());
    BYTE* pOut = out.Data();
    uint32_t nWritten = 0;
    write.WriteText(pOut, text.c_str(), nWritten);
    FUZZ_REQUIRE(!write.HasOverrun() && nWritten == text.size());
    const size_t nField = static_cast<size_t>(pOut - out.Data());
    FUZZ_REQUIRE(nField == CWireCursor::TextFieldSize(text.size(), bTerminated ? TextField::Terminated
                                                                               : TextField::Plain));

    // ...is refused in one byte less...
    if (nField > 0) {
        const CBlock small(nField - 1);
        CCodecs shorts;
        CTextFieldCodec& shortWrite = shorts.Pick(bTerminated);
        BYTE* pSmall = small.Data();
        shortWrite.SetLimit(small.End());
        uint32_t n = 0;
        shortWrite.WriteText(pSmall, text.c_str(), n);
        FUZZ_REQUIRE(shortWrite.HasOverrun() && pSmall == small.Data());
    }

    // ...and reads back the same, bounded and unbounded (a field the codec
    // wrote itself is trusted).
    for (const BYTE* pBound : {static_cast<const BYTE*>(out.End()), static_cast<const BYTE*>(nullptr)}) {
        std::string again;
        size_t nAgain = 0;
        FUZZ_REQUIRE(ReadField(bTerminated, out.Data(), pBound, 0, again, nAgain));
        FUZZ_REQUIRE(again == text && nAgain == nField);
    }
    return 0;
}
