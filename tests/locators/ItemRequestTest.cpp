// "TavmorGetItemRect" and "TavmorLocateItem" through the real agent library
// and the controller client, against a real menu bar and list view: the
// request and reply bytes, hit tests, the list-view strategies and their
// ranking, rectangle parts, scrolling, and records that do not fit.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "client/ItemRequests.h"
#include "locators/ListViewItemLocator.h"
#include "tests/locators/ControlBed.h"
#include "tests/support/HookedSample.h"

namespace {

class ItemRequestTest : public ::testing::Test {
protected:
    // One bed for the whole suite: creating and destroying the windows is
    // the slow part under Wine.
    static void SetUpTestSuite() {
        s_bed.reset(new CControlBed());
        s_bed->Create(50);
    }
    static void TearDownTestSuite() { s_bed.reset(); }
    void SetUp() override { Open(CAgentClient::kDefaultRecordSize); }
    void Open(size_t recordSize) {
        ASSERT_NE(m_bed.List(), nullptr);
        m_client.reset(new CAgentClient());
        std::string error;
        ASSERT_TRUE(OpenTestClient(*m_client, recordSize, &error)) << error;
        ASSERT_TRUE(m_client->Hook(m_bed.Frame()));
    }
    void TearDown() override { m_client.reset(); }

    LocatorForm ListForm(const char* text, int index, int image) { return ListViewItemForm(text, index, image); }
    LocateResult LocateList(const LocatorForm& form, SearchArgument param) {
        return LocateItem(*m_client, m_bed.List(), kItemKindListView, 0, form, param);
    }
    static bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
    static bool IsZero(const RECT& r) { return !r.left && !r.top && !r.right && !r.bottom; }

    static inline std::unique_ptr<CControlBed> s_bed;
    CControlBed& m_bed = *s_bed;
    std::unique_ptr<CAgentClient> m_client;
};


// ---- the request and reply bytes -------------------------------------------

TEST_F(ItemRequestTest, KindsWithoutLocatorReplyFoundZeroAndNothingElse) {
    for (uint16_t kind : {uint16_t(5), uint16_t(0xFFFF), uint16_t(14), uint16_t(2), uint16_t(0x100)}) {
        CWireCursor w = m_client->BeginRequest();
        w.WriteU16(kind).WriteU32(0);
        for (int i = 0; i < 16; ++i) w.WriteU32(0xABABABAB);
        CWireCursor reply;
        ASSERT_EQ(m_client->Send(m_bed.List(), m_client->Messages().nLocateItem, 0, w, &reply), AgentStatus::Ok) << kind;
        EXPECT_EQ(reply.ReadU32(), 0u) << kind;
        const uint8_t* view = m_client->View();
        for (int i = 8; i < 10 + 64; ++i) {
            if (view[i] != (i < 10 ? 0 : 0xAB)) {
                ADD_FAILURE() << "kind " << kind << ": byte " << i << " changed";
                break;
            }
        }
    }
}

TEST_F(ItemRequestTest, SearchArgumentIsReadBehindTheFormTheLocatorConsumed) {
    // An empty text: the form takes 57 bytes although GetDataSize says 58.
    LocatorForm form = ListForm("", 2, 77);
    CWireCursor w = m_client->BeginRequest();
    w.WriteU16(kItemKindListView).WriteU32(0);
    ASSERT_TRUE(EncodeLocatorForm(form, w));
    ASSERT_EQ(w.Offset(), 10u + 57u);
    w.WriteU32(SearchArgument(SearchStrategy::kRecordedIndex)).WriteU32(0);  // at 10 + n; text first would find nothing
    CWireCursor reply;
    ASSERT_EQ(m_client->Send(m_bed.List(), m_client->Messages().nLocateItem, 0, w, &reply), AgentStatus::Ok);
    EXPECT_EQ(reply.ReadU32(), 1u);
    LocatorForm back;
    ASSERT_TRUE(DecodeLocatorForm(kItemKindListView, reply, &back));
    EXPECT_TRUE(SameRect(back.rect, m_bed.ItemRect(2, LVIR_BOUNDS)));
    EXPECT_EQ(back.listView.iItem, 2);
}

TEST_F(ItemRequestTest, GetItemRectReplyIsIndexAndRectInRectOrder) {
    RECT r = m_bed.ItemRect(3, LVIR_BOUNDS);
    POINT p = {r.left + 5, (r.top + r.bottom) / 2};
    ClientToScreen(m_bed.List(), &p);
    CWireCursor w = m_client->BeginRequest();
    w.WriteU32(kItemKindListView).WriteI32(p.x).WriteI32(p.y).WriteU32(0);
    CWireCursor reply;
    ASSERT_EQ(m_client->Send(m_bed.List(), m_client->Messages().nGetItemRect, 0, w, &reply), AgentStatus::Ok);
    EXPECT_EQ(reply.ReadI32(), 3);
    EXPECT_EQ(reply.ReadI32(), r.left);
    EXPECT_EQ(reply.ReadI32(), r.top);
    EXPECT_EQ(reply.ReadI32(), r.right);
    EXPECT_EQ(reply.ReadI32(), r.bottom);

    ItemAtResult miss = GetItemRect(*m_client, m_bed.List(), kItemKindListView, -3000, -3000);
    ASSERT_EQ(miss.status, AgentStatus::Ok);
    EXPECT_EQ(miss.index, -1);
    EXPECT_TRUE(IsZero(miss.rect));
    ItemAtResult refused = GetItemRect(*m_client, m_bed.List(), 5, p.x, p.y);
    EXPECT_EQ(refused.index, -1);
    EXPECT_TRUE(IsZero(refused.rect));
}

// ---- menu bar ---------------------------------------------------------------

TEST_F(ItemRequestTest, MenuBarHitTestCountsRightAndBottomEdgesAsInside) {
    const int last = GetMenuItemCount(m_bed.Menu()) - 1;
    RECT screen = m_bed.MenuItemScreenRect(last);
    ASSERT_GT(screen.right, screen.left);
    RECT client = screen;
    MapWindowPoints(nullptr, m_bed.Frame(), reinterpret_cast<POINT*>(&client), 2);
    EXPECT_LT(client.top, 0) << "menu-bar rectangles lie above the client area";

    ItemAtResult right = GetItemRect(*m_client, m_bed.Frame(), kItemKindMenuBar, screen.right, (screen.top + screen.bottom) / 2);
    EXPECT_EQ(right.index, last);
    EXPECT_TRUE(SameRect(right.rect, client));
    ItemAtResult bottom = GetItemRect(*m_client, m_bed.Frame(), kItemKindMenuBar, screen.left + 2, screen.bottom);
    EXPECT_EQ(bottom.index, last);
    ItemAtResult past = GetItemRect(*m_client, m_bed.Frame(), kItemKindMenuBar, screen.right + 1, screen.top);
    EXPECT_EQ(past.index, -1);
    EXPECT_TRUE(IsZero(past.rect));
    RECT first = m_bed.MenuItemScreenRect(0);
    EXPECT_EQ(GetItemRect(*m_client, m_bed.Frame(), kItemKindMenuBar, first.left, first.top).index, 0);
}

TEST_F(ItemRequestTest, MenuBarItemIsFoundByPositionAlone) {
    LocatorForm form;
    form.nKind = kItemKindMenuBar;
    form.menuBar.nPosition = 1;
    form.menuBar.text = "&Renamed";
    LocateResult found = LocateItem(*m_client, m_bed.Frame(), kItemKindMenuBar, 0, form, SearchArgument());
    ASSERT_EQ(found.status, AgentStatus::Ok);
    EXPECT_TRUE(found.found);
    RECT expected = m_bed.MenuItemScreenRect(1);
    MapWindowPoints(nullptr, m_bed.Frame(), reinterpret_cast<POINT*>(&expected), 2);
    EXPECT_TRUE(SameRect(found.form.rect, expected));
    EXPECT_EQ(found.form.Text(), "&Renamed");

    form.menuBar.nPosition = GetMenuItemCount(m_bed.Menu());
    EXPECT_FALSE(LocateItem(*m_client, m_bed.Frame(), kItemKindMenuBar, 0, form, SearchArgument()).found);
    form.menuBar.nPosition = -1;
    EXPECT_FALSE(LocateItem(*m_client, m_bed.Frame(), kItemKindMenuBar, 0, form, SearchArgument()).found);
}

TEST_F(ItemRequestTest, WindowWithoutMenuBarHasNoMenuItems) {
    RECT r;
    GetWindowRect(m_bed.Plain(), &r);
    ItemAtResult at = GetItemRect(*m_client, m_bed.Plain(), kItemKindMenuBar, r.left + 20, r.top + 20);
    ASSERT_EQ(at.status, AgentStatus::Ok);
    EXPECT_EQ(at.index, -1);
    EXPECT_TRUE(IsZero(at.rect));
    LocatorForm form;
    form.nKind = kItemKindMenuBar;
    LocateResult found = LocateItem(*m_client, m_bed.Plain(), kItemKindMenuBar, 0, form, SearchArgument());
    ASSERT_EQ(found.status, AgentStatus::Ok);
    EXPECT_FALSE(found.found);
    EXPECT_TRUE(found.hasForm);
}

// ---- list view ---------------------------------------------------------------

TEST_F(ItemRequestTest, AWindowThatIsNoListViewHasNoListItemUnderAnyPoint) {
    // Such a window answers the list view's hit test with 0: that is no hit.
    RECT r;
    GetWindowRect(m_bed.Plain(), &r);
    for (POINT p : {POINT{r.left + 20, r.top + 40}, POINT{r.left + 1, r.bottom - 2}}) {
        ItemAtResult at = GetItemRect(*m_client, m_bed.Plain(), kItemKindListView, p.x, p.y);
        ASSERT_EQ(at.status, AgentStatus::Ok);
        EXPECT_EQ(at.index, -1) << p.x << "," << p.y;
        EXPECT_TRUE(IsZero(at.rect));
    }
}

TEST_F(ItemRequestTest, EqualTextsAreToldApartByRecordedIndexThenByTheLaterItem) {
    // "Twin" at 10 (image 2), 20 (image 0), 30 (image 2).
    LocateResult exact = LocateList(ListForm("Twin", 10, 2), SearchStrategy::kTextFirst);
    ASSERT_TRUE(exact.found);
    EXPECT_TRUE(SameRect(exact.form.rect, m_bed.ItemRect(10, LVIR_BOUNDS)));
    LocateResult later = LocateList(ListForm("Twin", 12, 2), SearchStrategy::kTextFirst);
    ASSERT_TRUE(later.found);
    EXPECT_TRUE(SameRect(later.form.rect, m_bed.ItemRect(30, LVIR_BOUNDS)));
    LocateResult byImage = LocateList(ListForm("Twin", 30, 0), SearchStrategy::kTextFirst);
    ASSERT_TRUE(byImage.found);
    EXPECT_TRUE(SameRect(byImage.form.rect, m_bed.ItemRect(20, LVIR_BOUNDS)));
}

TEST_F(ItemRequestTest, TextsAreComparedCaseSensitively) {
    EXPECT_FALSE(LocateList(ListForm("item 0003", 3, 9), SearchStrategy::kTextFirst).found);
    LocateResult exactCase = LocateList(ListForm("Item 0003", 3, 9), SearchStrategy::kTextFirst);  // image differs: weak match
    ASSERT_TRUE(exactCase.found);
    EXPECT_TRUE(SameRect(exactCase.form.rect, m_bed.ItemRect(3, LVIR_BOUNDS)));
}

TEST_F(ItemRequestTest, ChangedImageIsFoundByTextFirstButImageFirstPrefersTheImage) {
    m_bed.SetImage(7, 1);
    LocateResult textFirst = LocateList(ListForm("Item 0007", 7, 3), SearchStrategy::kTextFirst);
    ASSERT_TRUE(textFirst.found);
    EXPECT_TRUE(SameRect(textFirst.form.rect, m_bed.ItemRect(7, LVIR_BOUNDS)));
    // Image first: the last other item with image 3 wins over the renamed one.
    LocateResult imageFirst = LocateList(ListForm("Item 0007", 7, 3), SearchStrategy::kImageFirst);
    ASSERT_TRUE(imageFirst.found);
    EXPECT_TRUE(SameRect(imageFirst.form.rect, m_bed.ItemRect(47, LVIR_BOUNDS)));
    // With an image nobody has, image first falls back to the text.
    LocateResult fallback = LocateList(ListForm("Item 0007", 7, 9), SearchStrategy::kImageFirst);
    ASSERT_TRUE(fallback.found);
    EXPECT_TRUE(SameRect(fallback.form.rect, m_bed.ItemRect(7, LVIR_BOUNDS)));
    m_bed.SetImage(7, 3);
}

TEST_F(ItemRequestTest, IndexStrategyRefusesIndicesOutsideTheList) {
    const int count = ListView_GetItemCount(m_bed.List());
    EXPECT_FALSE(LocateList(ListForm("x", count, 0), SearchStrategy::kRecordedIndex).found);
    EXPECT_FALSE(LocateList(ListForm("x", -1, 0), SearchStrategy::kRecordedIndex).found);
    EXPECT_FALSE(LocateList(ListForm("x", -7, 0), SearchStrategy::kRecordedIndex).found);
    LocateResult last = LocateList(ListForm("x", count - 1, 0), SearchStrategy::kRecordedIndex);
    ASSERT_TRUE(last.found);
    EXPECT_TRUE(SameRect(last.form.rect, m_bed.ItemRect(count - 1, LVIR_BOUNDS)));
}

TEST_F(ItemRequestTest, SelectedStrategyTakesTheFirstSelectedItem) {
    m_bed.Select(-1);
    EXPECT_FALSE(LocateList(ListForm("x", 0, 0), SearchStrategy::kCurrent).found);
    m_bed.Select(9);
    m_bed.Select(4);
    LocateResult first = LocateList(ListForm("x", 0, 0), SearchStrategy::kCurrent);
    ASSERT_TRUE(first.found);
    EXPECT_TRUE(SameRect(first.form.rect, m_bed.ItemRect(4, LVIR_BOUNDS)));
    m_bed.Select(-1);
}

TEST_F(ItemRequestTest, PartCodeChoosesTheRectangle) {
    LocatorForm form = ListForm("Item 0005", 5, 1);
    const ReportedPart kUnnamed = static_cast<ReportedPart>(5);
    struct { SearchArgument param; int part; } cases[] = {
        {ReportedPart::kLabel, LVIR_LABEL},
        {ReportedPart::kIcon, LVIR_ICON},
        {ReportedPart::kSelectBounds, LVIR_SELECTBOUNDS},
        {ReportedPart::kWholeLine, LVIR_BOUNDS},
        {kUnnamed, LVIR_BOUNDS},
        {ReportedPart::kWhole, LVIR_BOUNDS},
        {SearchArgument(SearchStrategy::kRecordedIndex, ReportedPart::kLabel), LVIR_LABEL}};
    for (const auto& c : cases) {
        LocateResult found = LocateList(form, c.param);
        ASSERT_TRUE(found.found) << std::hex << c.param.Wire();
        EXPECT_TRUE(SameRect(found.form.rect, m_bed.ItemRect(5, c.part))) << std::hex << c.param.Wire();
    }
    EXPECT_FALSE(SameRect(m_bed.ItemRect(5, LVIR_LABEL), m_bed.ItemRect(5, LVIR_BOUNDS)));
}

// ---- records that do not fit ------------------------------------------------

TEST_F(ItemRequestTest, TextFieldPastTheRecordFailsTheRequestAsOverrun) {
    Open(4096);
    ASSERT_EQ(m_client->RecordSize(), 4096u);
    CWireCursor w = m_client->BeginRequest();
    w.WriteU16(kItemKindListView).WriteU32(0);
    LocatorForm form = ListForm("", 1, 1);
    ASSERT_TRUE(EncodeLocatorForm(form, w));
    // Overwrite the empty text's length with one that runs past the view.
    const size_t lengthAt = w.Offset() - 4;
    const uint32_t length = 5000;
    std::memcpy(m_client->View() + lengthAt, &length, 4);
    m_client->View()[lengthAt + 4] = 0;
    m_client->View()[lengthAt + 5] = 1;
    CWireCursor reply;
    EXPECT_EQ(m_client->Send(m_bed.List(), m_client->Messages().nLocateItem, 0, w, &reply), AgentStatus::Overrun);

    // A menu-bar form whose text length is the largest the word holds.
    CWireCursor m = m_client->BeginRequest();
    m.WriteU16(kItemKindMenuBar).WriteU32(0);
    LocatorForm menu;
    menu.nKind = kItemKindMenuBar;
    ASSERT_TRUE(EncodeLocatorForm(menu, m));
    const uint32_t huge = 0xFFFFFFFF;
    std::memcpy(m_client->View() + m.Offset() - 4, &huge, 4);
    m_client->View()[m.Offset()] = 'x';
    EXPECT_EQ(m_client->Send(m_bed.Frame(), m_client->Messages().nLocateItem, 0, m, &reply), AgentStatus::Overrun);
}

TEST_F(ItemRequestTest, OverLongTextsAreCutAndTheRequestStillAnswered) {
    // Menu-bar text of 600 characters: cut to 255; the search argument behind it is still found.
    CWireCursor w = m_client->BeginRequest();
    w.WriteU16(kItemKindMenuBar).WriteU32(0);
    LocatorForm menu;
    menu.nKind = kItemKindMenuBar;
    menu.menuBar.nPosition = 2;
    menu.menuBar.text.assign(600, 'T');
    ASSERT_TRUE(EncodeLocatorForm(menu, w));
    w.WriteU32(0);
    CWireCursor reply;
    ASSERT_EQ(m_client->Send(m_bed.Frame(), m_client->Messages().nLocateItem, 0, w, &reply), AgentStatus::Ok);
    EXPECT_EQ(reply.ReadU32(), 1u);
    LocatorForm back;
    ASSERT_TRUE(DecodeLocatorForm(3, reply, &back));
    EXPECT_EQ(back.Text(), std::string(255, 'T'));
    EXPECT_EQ(back.menuBar.nPosition, 2);

    // List-view text of 40000 characters: cut to the largest buffer; found by index.
    LocatorForm list = ListForm("", 6, 2);
    list.listView.text.assign(40000, 'L');
    LocateResult found = LocateList(list, SearchStrategy::kRecordedIndex);
    ASSERT_EQ(found.status, AgentStatus::Ok);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.form.Text().size(), 32766u);
    list.listView.iImage = 9;  // no image to fall back on: the cut text matches nothing
    EXPECT_FALSE(LocateList(list, SearchStrategy::kTextFirst).found);
}

}  // namespace
