// Text fields: the written bytes, the three layouts the reader accepts, the
// terminator slot, measuring, and the bounds the record does not carry
// (fields past the record's end, texts longer than their buffer).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "locators/ListViewItemLocator.h"
#include "locators/MenuBarItemLocator.h"
#include "locators/TerminatedTextFieldCodec.h"
#include "locators/TextFieldCodec.h"

namespace {

std::vector<BYTE> Field(uint32_t n, std::vector<BYTE> body) {
    std::vector<BYTE> f(4 + body.size());
    std::memcpy(f.data(), &n, 4);
    std::copy(body.begin(), body.end(), f.begin() + 4);
    return f;
}

TEST(TextFieldCodec, WritesLengthMarkersAndCharacters) {
    BYTE buffer[16];
    std::memset(buffer, 0xEE, sizeof(buffer));
    BYTE* cursor = buffer;
    uint32_t n = 99;
    CTextFieldCodec plain;
    plain.WriteText(cursor, "abc", n);
    const BYTE expected[] = {3, 0, 0, 0, 0, 1, 'a', 'b', 'c'};
    EXPECT_EQ(cursor - buffer, 9);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(std::memcmp(buffer, expected, 9), 0);
    EXPECT_EQ(plain.GetTextFieldSize("abc"), 9);

    std::memset(buffer, 0xEE, sizeof(buffer));
    cursor = buffer;
    CTerminatedTextFieldCodec terminated;
    terminated.WriteText(cursor, "abc", n);
    EXPECT_EQ(cursor - buffer, 10);
    EXPECT_EQ(std::memcmp(buffer, expected, 9), 0);
    EXPECT_EQ(buffer[9], 0xEE) << "the terminator slot is skipped, not stored";
    EXPECT_EQ(terminated.GetTextFieldSize("abc"), 10);
}

TEST(TextFieldCodec, EmptyTextIsTheLengthWordAlone) {
    for (bool term : {false, true}) {
        CTerminatedTextFieldCodec t;
        CTextFieldCodec p;
        CTextFieldCodec& codec = term ? static_cast<CTextFieldCodec&>(t) : p;
        BYTE buffer[8];
        std::memset(buffer, 0xEE, sizeof(buffer));
        BYTE* cursor = buffer;
        uint32_t n = 5;
        codec.WriteText(cursor, NULL, n);
        EXPECT_EQ(cursor - buffer, 4);
        EXPECT_EQ(n, 0u);
        EXPECT_EQ(buffer[0] | buffer[1] | buffer[2] | buffer[3], 0);
        char dest[4] = "zz";
        cursor = buffer;
        codec.ReadText(cursor, dest, n);
        EXPECT_EQ(cursor - buffer, 4);
        EXPECT_STREQ(dest, "");
        EXPECT_EQ(codec.GetTextFieldSize(""), term ? 5 : 4);
    }
}

TEST(TextFieldCodec, ReadsBareAnsiMarkedAnsiAndUtf16) {
    CTerminatedTextFieldCodec codec;
    char dest[16];
    uint32_t n = 0;

    std::vector<BYTE> bare = Field(3, {'x', 'y', 'z', 0xEE});
    BYTE* cursor = bare.data();
    codec.ReadText(cursor, dest, n);
    EXPECT_STREQ(dest, "xyz");
    EXPECT_EQ(cursor - bare.data(), 4 + 3 + 1);

    std::vector<BYTE> wide = Field(2, {0, 0, 'h', 0, 'i', 0, 0xEE});
    cursor = wide.data();
    codec.ReadText(cursor, dest, n);
    EXPECT_STREQ(dest, "hi");
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(cursor - wide.data(), 4 + 2 + 4 + 1) << "one slot byte after UTF-16, not two";

    CTextFieldCodec plain;
    cursor = wide.data();
    plain.ReadText(cursor, dest, n);
    EXPECT_EQ(cursor - wide.data(), 4 + 2 + 4);

    // An embedded NUL cuts the text; the cursor still passes all characters.
    std::vector<BYTE> nul = Field(4, {0, 1, 'a', 0, 'b', 'c'});
    cursor = nul.data();
    plain.ReadText(cursor, dest, n);
    EXPECT_STREQ(dest, "a");
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(cursor - nul.data(), 10);
}

TEST(TextFieldCodec, MeasuringGivesLengthPlusOneAndLeavesTheCursor) {
    std::vector<BYTE> f = Field(5, {0, 1, 'h', 'e', 'l', 'l', 'o', 0});
    CTerminatedTextFieldCodec codec;
    BYTE* cursor = f.data();
    uint32_t n = 0;
    codec.ReadText(cursor, NULL, n);
    EXPECT_EQ(n, 6u);
    EXPECT_EQ(cursor, f.data());
}

// --- bounds the wire format leaves to the reader ---------------------------

TEST(TextFieldBounds, AFieldRunningPastTheLimitIsRefusedWithoutMovingTheCursor) {
    std::vector<BYTE> f = Field(100, {0, 1, 'a', 'b'});
    for (uint32_t n : {100u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        std::memcpy(f.data(), &n, 4);
        CTerminatedTextFieldCodec codec;
        codec.SetLimit(f.data() + f.size());
        BYTE* cursor = f.data();
        uint32_t length = 1;
        codec.ReadText(cursor, NULL, length);
        EXPECT_TRUE(codec.HasOverrun()) << n;
        EXPECT_EQ(cursor, f.data());
        char dest[8] = "zz";
        codec.ReadText(cursor, dest, length);
        EXPECT_EQ(cursor, f.data());
        EXPECT_STREQ(dest, "");
    }
    // Not even the layout bytes or the terminator slot may lie past it.
    std::vector<BYTE> slotless = Field(2, {0, 1, 'a', 'b'});
    CTerminatedTextFieldCodec codec;
    codec.SetLimit(slotless.data() + slotless.size());
    BYTE* cursor = slotless.data();
    char dest[8];
    uint32_t n = 0;
    codec.ReadText(cursor, dest, n);
    EXPECT_TRUE(codec.HasOverrun());
    EXPECT_EQ(cursor, slotless.data());

    BYTE room[8];
    CTerminatedTextFieldCodec writer;
    writer.SetLimit(room + 8);
    cursor = room;
    writer.WriteText(cursor, "ab", n);  // needs 9
    EXPECT_TRUE(writer.HasOverrun());
    EXPECT_EQ(cursor, room);
}

TEST(TextFieldBounds, ConvertedTextLongerThanTheBufferIsCut) {
    // 300 UTF-16 units into a 256-byte buffer.
    std::vector<BYTE> body = {0, 0};
    for (int i = 0; i < 300; ++i) {
        body.push_back('w');
        body.push_back(0);
    }
    std::vector<BYTE> f = Field(300, body);
    CTextFieldCodec codec;
    codec.SetDestinationSize(256);
    char dest[256 + 8];
    std::memset(dest, 0x55, sizeof(dest));
    BYTE* cursor = f.data();
    uint32_t n = 0;
    codec.ReadText(cursor, dest, n);
    EXPECT_EQ(lstrlenA(dest), 255);
    EXPECT_EQ(static_cast<BYTE>(dest[256]), 0x55);
    EXPECT_EQ(cursor - f.data(), static_cast<ptrdiff_t>(f.size()));

    // Without a stated size the measured size (n + 1) is the bound: a text
    // whose ANSI form needs more bytes than units stops there.
    const WCHAR wideText[] = {0x00E4, 0x4E2D, 0x6587, 0};  // a-umlaut and two CJK signs
    const int ansiSize = WideCharToMultiByte(CP_ACP, 0, wideText, -1, NULL, 0, NULL, NULL);
    std::vector<BYTE> g = Field(3, {0, 0});
    for (int i = 0; i < 3; ++i) {
        g.push_back(static_cast<BYTE>(wideText[i] & 0xFF));
        g.push_back(static_cast<BYTE>(wideText[i] >> 8));
    }
    CTextFieldCodec measured;
    cursor = g.data();
    measured.ReadText(cursor, NULL, n);
    ASSERT_EQ(n, 4u);
    std::vector<char> exact(n + 4, 0x55);
    measured.ReadText(cursor, exact.data(), n);
    EXPECT_LE(lstrlenA(exact.data()), 3) << "ANSI form needs " << ansiSize;
    EXPECT_EQ(exact[4], 0x55);
}

TEST(TextFieldBounds, MenuBarTextOver255CharactersIsCutAndTheFormStillConsumed) {
    std::vector<BYTE> form(25, 0);
    form[21] = 1;  // position
    std::vector<BYTE> body = {0, 1};
    body.insert(body.end(), 400, 'M');
    body.push_back(0);  // slot
    std::vector<BYTE> text = Field(400, body);
    form.insert(form.end(), text.begin(), text.end());
    CMenuBarItemLocator locator;
    locator.SetDataLimit(form.data() + form.size());
    BYTE* cursor = form.data();
    locator.ReadData(cursor);
    EXPECT_FALSE(locator.HasDataOverrun());
    EXPECT_EQ(cursor - form.data(), static_cast<ptrdiff_t>(form.size()));
    EXPECT_EQ(lstrlenA(locator.m_szText), 255);
    EXPECT_EQ(locator.m_nPosition, 1);
}

TEST(TextFieldBounds, ListViewTextBeyondTheSixteenBitBufferIsCut) {
    const uint32_t n = 40000;
    std::vector<BYTE> form(53, 0);
    form[21] = 4;  // iItem
    std::vector<BYTE> body = {0, 1};
    body.insert(body.end(), n, 'L');
    body.push_back(0);
    std::vector<BYTE> text = Field(n, body);
    form.insert(form.end(), text.begin(), text.end());
    CListViewItemLocator locator;
    locator.SetDataLimit(form.data() + form.size());
    BYTE* cursor = form.data();
    locator.ReadData(cursor);
    EXPECT_FALSE(locator.HasDataOverrun());
    EXPECT_EQ(cursor - form.data(), static_cast<ptrdiff_t>(form.size()));
    ASSERT_NE(locator.m_item.pszText, nullptr);
    EXPECT_EQ(lstrlenA(locator.m_item.pszText), 32766);
    EXPECT_EQ(locator.m_item.iItem, 4);

    // Past the limit: refused, nothing allocated from the bogus length.
    CListViewItemLocator refused;
    refused.SetDataLimit(form.data() + 53 + 10);
    cursor = form.data();
    refused.ReadData(cursor);
    EXPECT_TRUE(refused.HasDataOverrun());
    EXPECT_EQ(refused.m_item.pszText, nullptr);
}

}  // namespace
