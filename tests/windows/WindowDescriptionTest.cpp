// CWindowRecord and CWindowDescription on windows of known styles: the whole
// serialised description byte by byte, with and without a frame and an item;
// ranges of scroll bars and trackbars; failures; and writes bounded by a
// limit and by the shared record's view.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "channel/AgentDataFile.h"
#include "locators/ItemLocator.h"
#include "common/Owned.h"
#include "tests/windows/TestWindows.h"
#include "windows/WindowDescription.h"

namespace {

const DWORD kTopStyle = WS_POPUP | WS_CLIPSIBLINGS;
const DWORD kChildStyle = WS_CHILD | 0x5;

std::vector<uint8_t> Write(CWindowDescription& d, uint8_t fill = 0xCD) { return Serialized(d, 4096, fill); }

// Bytes of the 19-byte options block with its constructor values.
CBytes& Options(CBytes& b) { return b.WriteU32(0).WriteU32(0).WriteU32(0x42C80000).WriteU32(0x42C80000).WriteU8(1).WriteU8(1).WriteU8(1); }

class DescriptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_top = MakeWindow("VtDescTop", "Golden", kTopStyle, 100, 50, 300, 200);
        m_topOwner.Reset(m_top);
        m_child = MakeWindow("VtDescChild", "", kChildStyle, 10, 20, 30, 40, m_top, 77);
        ASSERT_NE(m_child, nullptr);
        ASSERT_EQ(static_cast<DWORD>(GetWindowLongA(m_top, GWL_STYLE)), kTopStyle);
        ASSERT_EQ(GetWindowLongA(m_top, GWL_EXSTYLE), 0);
    }

    // The top window's record: no parent, screen rectangle, one descendant.
    void TopRecord(CBytes& b, uint32_t noFrame) {
        b.WriteU32(0).WriteU32(kTopStyle).WriteU32(0).WriteU32(noFrame).WriteU32(1).WriteU32(0).WriteU32(0);
        b.WriteU32(100).WriteU32(50).WriteU32(400).WriteU32(250).Text("VtDescTop", 0xCD).WriteU32(0);
    }
    COwnedWindow m_topOwner;
    HWND m_top, m_child;
};

TEST_F(DescriptionTest, WindowWithoutFrameGoldenBytes) {
    CWindowDescription d;
    EXPECT_TRUE(d.Describe(m_top));
    CBytes b;
    TopRecord(b, 1);
    b.WriteU16(0).WriteU32(0).Text(OwnModulePath(), 0xCD).WriteU32(0).WriteU8(0).WriteU32(0x300).WriteU32(0);
    Options(b);
    EXPECT_EQ(Write(d), b.Get());
    EXPECT_EQ(d.m_hwnd, m_top);
}

TEST_F(DescriptionTest, ChildWithFrameGoldenBytes) {
    CWindowDescription d;
    EXPECT_TRUE(d.Describe(m_child));
    CBytes b;
    // The child: rectangle in the parent's client coordinates, no range.
    b.WriteU32(0).WriteU32(kChildStyle).WriteU32(77).WriteU32(0).WriteU32(0).WriteU32(0).WriteU32(0);
    b.WriteU32(10).WriteU32(20).WriteU32(40).WriteU32(60).Text("VtDescChild", 0xCD).Text("VtDescTop", 0xCD);
    // The frame's record, its no-frame word cleared; depth 1.
    TopRecord(b, 0);
    b.WriteU16(1).WriteU32(0).Text(OwnModulePath(), 0xCD).WriteU32(0).WriteU8(0).WriteU32(0x300);
    b.WriteU32(71 + 111 + 108 + 100 + 101 + 110);  // "Golden"
    Options(b);
    EXPECT_EQ(Write(d), b.Get());
}

TEST_F(DescriptionTest, AttachedItemWritesKindAndTheLocatorsFormBeforeTheChecksum) {
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 1, "&Alpha");
    AppendMenuA(menu, MF_STRING, 2, "&Beta");
    HWND framed = MakeWindow("VtDescMenu", "M", WS_OVERLAPPED | WS_CAPTION, 0, 0, 200, 100, nullptr,
                             reinterpret_cast<UINT_PTR>(menu));
    const COwnedWindow framedOwner(framed);
    ASSERT_NE(framed, nullptr);

    CWindowDescription withItem, without;
    EXPECT_EQ(withItem.AttachItem(framed, 1, kItemKindMenuBar, 0), nullptr);
    ASSERT_NE(withItem.GetItem(), nullptr);
    withItem.Describe(framed);
    without.Describe(framed);
    const std::vector<uint8_t> plain = Write(without), item = Write(withItem);

    // What the same locator writes on its own.
    CItemLocatorPtr alone(CreateItemLocator(kItemKindMenuBar, 0));
    alone->LoadItem(framed, 1);
    std::vector<uint8_t> form(512, 0xCD);
    BYTE* cursor = form.data();
    alone->WriteData(cursor);
    form.resize(cursor - form.data());

    // Identical up to the flags, which gain bit 5; then kind and form.
    const size_t flagsAt = plain.size() - 19 - 4 - 4;
    ASSERT_EQ(item.size(), plain.size() + 4 + form.size());
    EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + flagsAt, item.begin()));
    CBytes tail;
    tail.WriteU32(0x320).WriteU32(kItemKindMenuBar).Raw(form).WriteU32(0);  // a captioned window has no frame
    Options(tail);
    EXPECT_EQ(std::vector<uint8_t>(item.begin() + flagsAt, item.end()), tail.Get());
}

TEST_F(DescriptionTest, UnknownKindAttachesNothingAndASecondAttachReusesTheLocator) {
    CWindowDescription d;
    EXPECT_EQ(d.AttachItem(m_top, 0, 5, 0), nullptr);
    EXPECT_EQ(d.AttachItem(m_top, 0, -1, 0), nullptr);
    EXPECT_EQ(d.GetItem(), nullptr);
    EXPECT_EQ(d.m_dwDescFlags, 0x300u);

    d.AttachItem(m_top, 0, kItemKindListView, 0);
    CItemLocator* first = d.GetItem();
    ASSERT_NE(first, nullptr);
    d.AttachItem(m_top, 0, kItemKindMenuBar, 0);
    EXPECT_EQ(d.GetItem(), first);
    EXPECT_EQ(first->m_nKind, kItemKindListView);
    EXPECT_EQ(d.m_nItemKind, static_cast<uint32_t>(kItemKindMenuBar));
    EXPECT_EQ(d.m_dwDescFlags, 0x320u);
}

TEST_F(DescriptionTest, HandleThatIsNotAWindowChangesNothingAndWritesAnEmptyDescription) {
    CWindowDescription d;
    HWND gone = MakeWindow("VtDescChild", "", WS_POPUP, 0, 0, 5, 5);
    DestroyWindow(gone);
    EXPECT_FALSE(d.Describe(gone));
    EXPECT_FALSE(d.Describe(nullptr));
    EXPECT_EQ(d.m_hwnd, nullptr);
    CBytes b;
    b.WriteU32(0).WriteU32(0).WriteU32(0).WriteU32(1).WriteU32(0).WriteU32(0).WriteU32(0).WriteU32(0).WriteU32(0).WriteU32(0).WriteU32(0).WriteU32(0).WriteU32(0);
    b.WriteU16(0).WriteU32(0).WriteU32(0).WriteU32(0).WriteU8(0).WriteU32(0x300).WriteU32(0);
    Options(b);
    EXPECT_EQ(Write(d), b.Get());
}

TEST(WindowRecordRange, ScrollBarAndTrackbarReportTheirRangesOtherWindowsZero) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HWND top = MakeWindow("VtRangeTop", "r", WS_POPUP, 0, 0, 300, 100);
    const COwnedWindow topOwner(top);
    HWND bar = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | SBS_HORZ, 0, 0, 200, 16, top, nullptr, nullptr, nullptr);
    HWND track = CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD, 0, 20, 200, 30, top, nullptr, nullptr, nullptr);
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(track, nullptr);
    SetScrollRange(bar, SB_CTL, -3, 77, FALSE);
    SendMessageA(track, TBM_SETRANGE, FALSE, MAKELONG(5, 95));

    CWindowRecord rBar, rTrack, rTop;
    rBar.FillFromWindow(bar);
    rTrack.FillFromWindow(track);
    rTop.FillFromWindow(top);
    EXPECT_EQ(static_cast<int>(rBar.m_nRange1), -3);
    EXPECT_EQ(rBar.m_nRange2, 77u);
    EXPECT_EQ(rTrack.m_nRange1, 5u);
    EXPECT_EQ(rTrack.m_nRange2, 95u);
    EXPECT_EQ(rTop.m_nRange1, 0u);
    EXPECT_EQ(rTop.m_nRange2, 0u);
    EXPECT_STREQ(rBar.m_szParentClassName, "VtRangeTop");
    EXPECT_EQ(rTop.m_nDescendants, 2u);
}

TEST_F(DescriptionTest, BoundedWriteNeverTouchesBytesAtOrPastTheLimit) {
    CWindowDescription d;
    d.AttachItem(m_child, 0, kItemKindListView, 0);
    d.Describe(m_child);
    const std::vector<uint8_t> whole = Write(d);
    for (size_t limit = 0; limit <= whole.size(); ++limit) {
        std::vector<uint8_t> buffer(whole.size() + 16, 0xEE);
        BYTE* cursor = buffer.data();
        d.SetDataLimit(buffer.data() + limit);
        d.WriteData(cursor);
        const bool overrun = d.HasDataOverrun();
        d.SetDataLimit(nullptr);
        ASSERT_LE(cursor, buffer.data() + limit) << limit;
        for (size_t i = limit; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xEE) << "limit " << limit << " byte " << i;
        if (limit < whole.size()) {
            ASSERT_TRUE(overrun) << limit;
        } else {
            ASSERT_FALSE(overrun);
            // The terminator slots are skipped, not written: compare with a
            // whole write over the same fill.
            std::vector<uint8_t> again(whole.size() + 16, 0xEE);
            BYTE* c2 = again.data();
            d.SetDataLimit(again.data() + again.size());
            d.WriteData(c2);
            d.SetDataLimit(nullptr);
            EXPECT_EQ(buffer, again);
        }
    }
}

TEST_F(DescriptionTest, DataFileRefusesADescriptionThatDoesNotFitTheView) {
    COwnedHandle mapping(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "TavmorAgentMapFile"));
    ASSERT_TRUE(mapping);
    COwnedView viewOwner(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    uint8_t* view = static_cast<uint8_t*>(viewOwner.Get());
    ASSERT_NE(view, nullptr);
    std::memset(view, 0xAB, 4096);
    const uint32_t request = RecordHeader::kRequestWord;
    std::memcpy(view, &request, 4);

    CWindowDescription d;
    d.Describe(m_child);
    const size_t size = Write(d).size();
    {
        CAgentDataFile file;
        ASSERT_NE(file.Attach(), nullptr);
        ASSERT_GE(file.Remaining(), size + 8);
        // Fill the record until the description no longer fits.
        while (file.Remaining() >= size) file.WriteDWord(0xABABABAB);
        ASSERT_GE(file.Remaining() + 4, size);
        BYTE* at = file.GetCursor();
        const size_t room = file.Remaining();
        EXPECT_FALSE(file.WriteWindowInfo(d));
        EXPECT_TRUE(file.HasOverrun());
        // What was written before the field that did not fit is the
        // description's own beginning; the cursor has not moved.
        const std::vector<uint8_t> whole = Write(d, 0xAB);
        EXPECT_EQ(file.GetCursor(), at);
        ASSERT_GT(room, 44u);
        EXPECT_TRUE(std::equal(at, at + 44, whole.begin()));
    }
    uint32_t header = 0;
    std::memcpy(&header, view, 4);
    EXPECT_EQ(header, RecordHeader::kOverrunWord);

    // With room, the description lands at the cursor and the cursor moves past it.
    std::memcpy(view, &request, 4);
    {
        CAgentDataFile file;
        ASSERT_NE(file.Attach(), nullptr);
        file.Rewind(true);
        EXPECT_TRUE(file.WriteWindowInfo(d));
        EXPECT_EQ(file.GetCursor(), file.GetViewBase() + 4 + size);
    }
    std::memcpy(&header, view, 4);
    EXPECT_EQ(header, 0u);
}

}  // namespace
