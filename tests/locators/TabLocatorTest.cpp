// The tab locator (kind 10): in-process against tab controls of the test's
// own thread, and through the agent against the sample's tabs. Ties and
// case, a changed image, every strategy, tabs without text, the form on
// the wire, and the click point's arithmetic on a control whose tab
// rectangles the test chooses.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/TabItemForms.h"
#include "forms/SearchArgument.h"
#include "locators/TabItemLocator.h"
#include "tests/support/WatchSampleSuite.h"

namespace {


struct TabSpec {
    const char* text;  // NULL: inserted without text
    int image;
};

// Tab controls in the test's thread; one of them answers every fetch with
// no text pointer, as controls that keep no tab texts do.
class CLocalTabs {
public:
    CLocalTabs() {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TAB_CLASSES};
        InitCommonControlsEx(&icc);
        m_parentWindow.Reset(CreateWindowExA(0, "STATIC", "tabs", WS_POPUP | WS_VISIBLE, 100, 100, 700, 200, nullptr,
                                             nullptr, nullptr, nullptr));
        m_parent = m_parentWindow.Get();
        m_texts = Make(0, {{"Alpha", 0}, {"Beta", 1}, {"Twin", 2}, {"Gamma", 3}, {"Twin", 2}, {"ALPHA", 1}});
        m_textless = Make(80, {{nullptr, 0}, {nullptr, 1}, {nullptr, 2}, {nullptr, 1}});
        s_pfnTabProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(m_textless, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextlessProc)));
        m_empty = Make(160, {});
    }
    HWND Texts() const { return m_texts; }
    HWND Textless() const { return m_textless; }
    HWND Empty() const { return m_empty; }
    static void SetImage(HWND tab, int index, int image) {
        TCITEMA item = {};
        item.mask = TCIF_IMAGE;
        item.iImage = image;
        SendMessageA(tab, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    static RECT Rect(HWND tab, int index) {
        RECT r = {0, 0, 0, 0};
        SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return r;
    }

private:
    HWND Make(int y, const std::vector<TabSpec>& specs) {
        HWND tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 0, y, 690, 70, m_parent, nullptr,
                                   nullptr, nullptr);
        for (size_t i = 0; i < specs.size(); ++i) {
            TCITEMA item = {};
            item.mask = TCIF_IMAGE | (specs[i].text ? TCIF_TEXT : 0);
            item.iImage = specs[i].image;
            item.pszText = const_cast<char*>(specs[i].text ? specs[i].text : "");
            SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        return tab;
    }
    static LRESULT CALLBACK TextlessProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result = CallWindowProcA(s_pfnTabProc, hwnd, message, wParam, lParam);
        if (message == TCM_GETITEMA && lParam) reinterpret_cast<TCITEMA*>(lParam)->pszText = nullptr;
        return result;
    }
    static inline WNDPROC s_pfnTabProc = nullptr;
    COwnedWindow m_parentWindow;  // the tab controls go with it
    HWND m_parent, m_texts, m_textless, m_empty;
};

class TabLocatorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_tabs.reset(new CLocalTabs()); }
    static void TearDownTestSuite() { s_tabs.reset(); }
    void SetUp() override {
        // Back to the images the tabs started with, tab 0 current.
        const int images[] = {0, 1, 2, 3, 2, 1};
        for (int i = 0; i < 6; ++i) CLocalTabs::SetImage(Texts(), i, images[i]);
        SendMessageA(Texts(), TCM_SETCURSEL, 0, 0);
        SendMessageA(Textless(), TCM_SETCURSEL, 0, 0);
    }
    static HWND Texts() { return s_tabs->Texts(); }
    static HWND Textless() { return s_tabs->Textless(); }

    // A locator that has read a form made from what a controller knows.
    static std::unique_ptr<CTabItemLocator> Recorded(const std::string& text, int index, int image) {
        LocatorForm form = TabItemForm(text, index, image);
        std::vector<BYTE> bytes(EncodedLocatorFormSize(form));
        CWireCursor cursor(bytes.data(), bytes.data() + bytes.size());
        EXPECT_TRUE(EncodeLocatorForm(form, cursor));
        std::unique_ptr<CTabItemLocator> locator(new CTabItemLocator());
        BYTE* p = bytes.data();
        locator->SetDataLimit(bytes.data() + bytes.size());
        locator->ReadData(p);
        EXPECT_FALSE(locator->HasDataOverrun());
        EXPECT_EQ(p, bytes.data() + bytes.size());
        return locator;
    }
    // The index of the tab found, by its rectangle; -1 when not found.
    static int Found(HWND tab, const std::string& text, int index, int image, SearchArgument param) {
        std::unique_ptr<CTabItemLocator> locator = Recorded(text, index, image);
        if (!locator->FindItem(tab, param)) return -1;
        const int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            RECT r = CLocalTabs::Rect(tab, i);
            if (EqualRect(&r, &locator->m_rect)) return i;
        }
        ADD_FAILURE() << "found a rectangle that is no tab's";
        return -2;
    }

    static inline std::unique_ptr<CLocalTabs> s_tabs;
};

TEST_F(TabLocatorTest, TwinsAreToldApartByTheRecordedIndexElseTheLaterOneWins) {
    EXPECT_EQ(Found(Texts(), "Twin", 2, 2, SearchStrategy::kTextFirst), 2);
    EXPECT_EQ(Found(Texts(), "Twin", 4, 2, SearchStrategy::kTextFirst), 4);
    EXPECT_EQ(Found(Texts(), "Twin", 0, 2, SearchStrategy::kTextFirst), 4) << "neither twin at the recorded index: the higher one";
    EXPECT_EQ(Found(Texts(), "Twin", 9, 2, SearchStrategy::kImageFirst), 4);
    // Text equal but the image of neither: the later weak match.
    EXPECT_EQ(Found(Texts(), "Twin", 2, 3, SearchStrategy::kTextFirst), 4);
}

TEST_F(TabLocatorTest, TextsAreComparedWithLetterCase) {
    EXPECT_EQ(Found(Texts(), "Alpha", 0, 0, SearchStrategy::kTextFirst), 0);
    // "ALPHA" with Alpha's image and index: only tab 5 has that text.
    EXPECT_EQ(Found(Texts(), "ALPHA", 0, 0, SearchStrategy::kTextFirst), 5);
    EXPECT_EQ(Found(Texts(), "alpha", 7, 3, SearchStrategy::kTextFirst), 3) << "no text matches: image 3 decides (Gamma)";
    EXPECT_EQ(Found(Texts(), "alpha", 7, 9, SearchStrategy::kTextFirst), -1);
}

TEST_F(TabLocatorTest, ChangedImageIsFoundByTextAndThroughImageFirstFallback) {
    CLocalTabs::SetImage(Texts(), 3, 0);  // Gamma loses image 3, which no other tab has
    EXPECT_EQ(Found(Texts(), "Gamma", 3, 3, SearchStrategy::kTextFirst), 3);
    EXPECT_EQ(Found(Texts(), "Gamma", 3, 3, SearchStrategy::kImageFirst), 3);
    // Image first prefers another tab with the recorded image over the text.
    EXPECT_EQ(Found(Texts(), "Beta", 1, 2, SearchStrategy::kImageFirst), 4) << "image 2 with another text: a weak match, the later twin";
    EXPECT_EQ(Found(Texts(), "Beta", 1, 2, SearchStrategy::kTextFirst), 1);
}

TEST_F(TabLocatorTest, RecordedIndexAndCurrentTabStrategies) {
    EXPECT_EQ(Found(Texts(), "nothing", 2, 9, SearchStrategy::kRecordedIndex), 2);
    EXPECT_EQ(Found(Texts(), "Alpha", 6, 0, SearchStrategy::kRecordedIndex), -1) << "index equal to the count";
    EXPECT_EQ(Found(Texts(), "Alpha", -1, 0, SearchStrategy::kRecordedIndex), -1);
    EXPECT_EQ(Found(Texts(), "Alpha", -7, 0, SearchStrategy::kRecordedIndex), -1);
    SendMessageA(Texts(), TCM_SETCURSEL, 3, 0);
    EXPECT_EQ(Found(Texts(), "Alpha", 0, 0, SearchStrategy::kCurrent), 3);
    EXPECT_EQ(Found(Texts(), "Alpha", 0, 0, SearchArgument(SearchStrategy::kCurrent, static_cast<ReportedPart>(7))), 3) << "bits above 2 do not matter";
    SendMessageA(Texts(), TCM_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Found(Texts(), "Alpha", 0, 0, SearchStrategy::kCurrent), -1);
    EXPECT_EQ(Found(s_tabs->Empty(), "Alpha", 0, 0, SearchStrategy::kRecordedIndex), -1) << "a control without tabs";
}

TEST_F(TabLocatorTest, TabsWithoutTextAreFoundByImageOrAsTheCurrentTab) {
    CTabItemLocator probe;
    EXPECT_FALSE(probe.HasItemText(Textless()));
    EXPECT_TRUE(probe.HasItemText(Texts()));
    EXPECT_TRUE(probe.HasItemText(s_tabs->Empty())) << "a control without tabs counts as one with texts";
    for (uint32_t strategy : {0u, 1u, 2u}) {  // text first, image first, and one no kind names
        EXPECT_EQ(Found(Textless(), "", 3, 1, static_cast<SearchStrategy>(strategy)), 1) << "strategy " << strategy << ": first tab with image 1";
        EXPECT_EQ(Found(Textless(), "", 0, 2, static_cast<SearchStrategy>(strategy)), 2) << "strategy " << strategy;
        EXPECT_EQ(Found(Textless(), "", 0, -1, static_cast<SearchStrategy>(strategy)), -1) << "strategy " << strategy << ": image -1 never matches";
    }
    SendMessageA(Textless(), TCM_SETCURSEL, 2, 0);
    for (uint32_t strategy : {5u, 6u, 7u}) {
        EXPECT_EQ(Found(Textless(), "", 0, 1, static_cast<SearchStrategy>(strategy)), 2) << "strategy " << strategy << ": the current tab";
    }
    EXPECT_EQ(Found(Textless(), "", 3, 0, SearchStrategy::kRecordedIndex), 3);
}

TEST_F(TabLocatorTest, LoadItemRecordsTheTabAndWhetherItIsCurrent) {
    SendMessageA(Texts(), TCM_SETCURSEL, 3, 0);
    CTabItemLocator current;
    current.SetTag(0xAB);
    EXPECT_EQ(current.LoadItem(Texts(), 3), nullptr);
    CTabItemLocator::Form form = current.MakeForm();
    EXPECT_EQ(form.fields.text, "Gamma");
    EXPECT_EQ(form.fields.iImage, 3);
    EXPECT_EQ(form.fields.nIndex, 3);
    EXPECT_EQ(form.fields.bCurrent, 1u);
    EXPECT_EQ(form.fields.mask, 3u);
    EXPECT_EQ(form.fields.cchTextMax, 256);
    EXPECT_EQ(form.base.bSelected, 1);
    EXPECT_EQ(form.base.dwFlags, 1u) << "the tag byte is discarded";
    EXPECT_STREQ(current.GetDescription(), "the 'Gamma' tab");

    CTabItemLocator other;
    other.LoadItem(Texts(), 1);
    EXPECT_EQ(other.MakeForm().fields.bCurrent, 0u);
    EXPECT_EQ(other.m_bSelected, 0);

    CTabItemLocator textless;
    textless.LoadItem(Textless(), 2);
    CTabItemLocator::Form bare = textless.MakeForm();
    EXPECT_EQ(bare.base.dwFlags, 0u);
    EXPECT_EQ(bare.fields.text, "");
    EXPECT_EQ(bare.fields.iImage, 2);
    EXPECT_STREQ(textless.GetDescription(), "a tab");
    // Declared size: an empty terminated text counts 5.
    EXPECT_EQ(textless.GetDataSize(), 21 + 24 + 5);
    EXPECT_EQ(current.GetDataSize(), 21 + 24 + 7 + 5);
}

TEST_F(TabLocatorTest, FormOnTheWireIsBaseThenSixValuesThenTerminatedText) {
    std::unique_ptr<CTabItemLocator> locator = Recorded("abc", 4, -1);
    locator->m_rect = {1, 2, 3, 4};
    locator->m_item.lParam = 0x11223344;
    std::vector<BYTE> out(200, 0xEE);
    BYTE* p = out.data();
    locator->SetDataLimit(out.data() + out.size());
    locator->WriteData(p);
    ASSERT_EQ(p - out.data(), 21 + 24 + 10);
    auto u32 = [&](size_t at) {
        uint32_t v;
        std::memcpy(&v, out.data() + at, 4);
        return v;
    };
    EXPECT_EQ(u32(0), 1u);
    EXPECT_EQ(u32(4), 3u) << "right before top";
    EXPECT_EQ(u32(8), 2u);
    EXPECT_EQ(u32(21), 3u) << "mask";
    EXPECT_EQ(u32(25), 256u) << "cchTextMax";
    EXPECT_EQ(u32(29), 0xFFFFFFFFu) << "image";
    EXPECT_EQ(u32(33), 4u) << "index";
    EXPECT_EQ(u32(37), 0u) << "current";
    EXPECT_EQ(u32(41), 0x11223344u) << "lParam";
    EXPECT_EQ(u32(45), 3u);
    EXPECT_EQ(out[49], 0x00);
    EXPECT_EQ(out[50], 0x01);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&out[51]), 3), "abc");
    EXPECT_EQ(out[54], 0xEE) << "the terminator slot is skipped, not written";
    EXPECT_EQ(out[55], 0xEE);
}

TEST_F(TabLocatorTest, HitTestGivesTheTabAndItsRectangleOrAMiss) {
    CTabItemLocator locator;
    for (int i : {0, 3, 5}) {
        RECT r = CLocalTabs::Rect(Texts(), i);
        POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(Texts(), &p);
        int index = -9;
        RECT got = locator.ItemFromPoint(Texts(), p.x, p.y, &index);
        EXPECT_EQ(index, i);
        EXPECT_TRUE(EqualRect(&got, &r)) << "tab " << i;
    }
    POINT below = {300, 60};
    ClientToScreen(Texts(), &below);
    int index = -9;
    RECT miss = locator.ItemFromPoint(Texts(), below.x, below.y, &index);
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(IsRectEmpty(&miss) && miss.left == 0 && miss.top == 0);
}

// A window that answers the tab messages with rectangles the test chooses.
struct FakeTabs {
    std::vector<RECT> rects;
    int hit = -1;
    UINT hitFlags = TCHT_NOWHERE;
};
FakeTabs g_fake;

LRESULT CALLBACK FakeTabProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case TCM_GETITEMCOUNT: return static_cast<LRESULT>(g_fake.rects.size());
    case TCM_HITTEST:
        reinterpret_cast<TCHITTESTINFO*>(lParam)->flags = g_fake.hitFlags;
        return g_fake.hit;
    case TCM_GETITEMRECT:
        if (wParam >= g_fake.rects.size()) return 0;
        *reinterpret_cast<RECT*>(lParam) = g_fake.rects[wParam];
        return 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class TabGapPointTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = FakeTabProc;
        wc.lpszClassName = "VintrelFakeTabs";
        RegisterClassA(&wc);
        s_parent.Reset(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 50, 50, 400, 200, nullptr, nullptr,
                                       nullptr, nullptr));
        s_tab = CreateWindowExA(0, "VintrelFakeTabs", "", WS_CHILD | WS_VISIBLE, 10, 10, 300, 40, s_parent.Get(),
                                nullptr, nullptr, nullptr);
    }
    static void TearDownTestSuite() { s_parent.Reset(); }
    void SetUp() override {
        // 300 x 40 inside the parent: the middle is (150, 20).
        SetWindowPos(s_tab, nullptr, 10, 10, 300, 40, SWP_NOZORDER);
        g_fake = FakeTabs();
    }
    POINT Gap() {
        POINT p = {-1, -1};
        CTabItemLocator().GetTabGapPoint(&p, s_tab);
        ScreenToClient(s_tab, &p);
        return p;
    }
    static inline COwnedWindow s_parent;
    static inline HWND s_tab = nullptr;
};

TEST_F(TabGapPointTest, OverlappingTabsGiveTheBoundaryTruncatedTowardTheLeftTab) {
    g_fake.rects = {{0, 0, 50, 20}, {48, 0, 100, 20}, {98, 0, 160, 20}};
    g_fake.hit = 2;
    g_fake.hitFlags = TCHT_ONITEM;
    POINT p = Gap();
    EXPECT_EQ(p.x, 99);
    EXPECT_EQ(p.y, 20);
    // Gaps of 3 and 0.
    g_fake.rects = {{0, 0, 50, 20}, {53, 0, 100, 20}};
    g_fake.hit = 1;
    EXPECT_EQ(Gap().x, 51);
    g_fake.rects = {{0, 0, 50, 20}, {55, 0, 100, 20}};
    EXPECT_EQ(Gap().x, 52) << "half of 5 is cut to 2";
    g_fake.rects = {{0, 0, 50, 20}, {47, 0, 100, 20}};
    EXPECT_EQ(Gap().x, 49) << "half of -3 is cut to -1";
    g_fake.rects = {{0, 0, 50, 20}, {50, 0, 100, 20}};
    EXPECT_EQ(Gap().x, 50);
    // Tab 0 under the middle pairs it with tab 1.
    g_fake.hit = 0;
    EXPECT_EQ(Gap().x, 50);
}

TEST_F(TabGapPointTest, RowsSplitVerticallyAndASingleTabGivesItsLeftEdgePlusTwo) {
    g_fake.rects = {{0, 0, 150, 18}, {0, 22, 150, 39}};
    g_fake.hit = 1;
    g_fake.hitFlags = TCHT_ONITEM;
    POINT p = Gap();
    EXPECT_EQ(p.x, 150) << "x keeps the middle";
    EXPECT_EQ(p.y, 20) << "18 plus half the gap of 4";
    g_fake.rects = {{7, 0, 200, 20}};
    g_fake.hit = 0;
    p = Gap();
    EXPECT_EQ(p.x, 9);
    EXPECT_EQ(p.y, 20);
}

TEST_F(TabGapPointTest, MissKeepsTheMiddleAndAHiddenPointMovesToRowTwo) {
    g_fake.rects = {{0, 0, 50, 20}, {50, 0, 100, 20}};
    g_fake.hit = -1;
    g_fake.hitFlags = TCHT_NOWHERE;
    POINT p = Gap();
    EXPECT_EQ(p.x, 150);
    EXPECT_EQ(p.y, 20);
    g_fake.hit = 1;  // an index with NOWHERE is still a miss
    EXPECT_EQ(Gap().x, 150);
    // The parent clips the control's lower part: the middle is not visible.
    SetWindowPos(s_tab, nullptr, 10, 180, 300, 40, SWP_NOZORDER);
    g_fake.hitFlags = TCHT_NOWHERE;
    p = Gap();
    EXPECT_EQ(p.x, 150);
    EXPECT_EQ(p.y, 2);
}

// Through the agent, in the sample: recorded tabs found again after the
// sample changed its tabs.
class SampleTabTest : public CWatchSampleSuite<SampleTabTest> {
protected:
    void SetUp() override {
        CWatchSampleSuite::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(ToWatch(sample::kMsgWatchResetTabs), 1);
        m_texts = WatchControl(sample::kTabTextId);
        m_textless = WatchControl(sample::kTabNoTextId);
        ASSERT_TRUE(m_texts && m_textless);
    }
    RECT TabRect(HWND tab, int index) {
        return SendForRect(Client(), tab, TCM_GETITEMRECT, static_cast<uint32_t>(index), PointerPlacement::InLParam)
            .rect;
    }
    void ExpectFoundAt(HWND tab, const LocatorForm& form, SearchArgument param, int expected, const char* what) {
        SCOPED_TRACE(what);
        LocateResult reply = LocateItem(Client(), tab, kItemKindTab, 0, form, param);
        ASSERT_EQ(reply.status, AgentStatus::Ok) << AgentStatusText(reply.status);
        ASSERT_EQ(reply.found, expected >= 0);
        if (expected < 0) return;
        RECT want = TabRect(tab, expected);
        EXPECT_TRUE(EqualRect(&reply.form.rect, &want))
            << "got " << reply.form.rect.left << "," << reply.form.rect.top << " want " << want.left << ","
            << want.top;
        EXPECT_EQ(reply.form.tab.text, form.tab.text) << "the recorded form travels back";
        EXPECT_EQ(reply.form.tab.nIndex, form.tab.nIndex);
    }
    HWND m_texts = nullptr, m_textless = nullptr;
};

TEST_F(SampleTabTest, TabsAreFoundAgainAfterTheSampleReversedThem) {
    ExpectFoundAt(m_texts, TabItemForm("Gamma", 3, 3), SearchStrategy::kTextFirst, 3, "before");
    ASSERT_EQ(ToWatch(sample::kMsgWatchReverseTabs, sample::kTabTextId), 1);
    ExpectFoundAt(m_texts, TabItemForm("Gamma", 3, 3), SearchStrategy::kTextFirst, 2, "Gamma moved from 3 to 2");
    ExpectFoundAt(m_texts, TabItemForm("Twin", 1, 2), SearchStrategy::kTextFirst, 1, "the twin now at the recorded index");
    ExpectFoundAt(m_texts, TabItemForm("Twin", 2, 2), SearchStrategy::kTextFirst, 3, "no twin at the index: the later one");
    ExpectFoundAt(m_texts, TabItemForm("Gamma", 3, 3), SearchStrategy::kRecordedIndex, 3, "by index: whatever is there now");
    ExpectFoundAt(m_texts, TabItemForm("Gamma", 6, 3), SearchStrategy::kRecordedIndex, -1, "index past the tabs");
}

TEST_F(SampleTabTest, TabRecordedByTheAgentIsFoundAfterReordering) {
    // What a recorder does: the tab under a screen point, then the agent's
    // description of the control with that tab in it.
    RECT gamma = TabRect(m_texts, 3);
    POINT centre = {(gamma.left + gamma.right) / 2, (gamma.top + gamma.bottom) / 2};
    ClientToScreen(m_texts, &centre);
    ItemAtResult at = GetItemRect(Client(), m_texts, kItemKindTab, centre.x, centre.y);
    ASSERT_EQ(at.index, 3);
    EXPECT_TRUE(EqualRect(&at.rect, &gamma));
    ProbeResult probe = ProbeWindow(Client(), m_texts, true, kItemKindTab, 3, 0);
    ASSERT_EQ(probe.status, AgentStatus::Ok) << AgentStatusText(probe.status);
    ASSERT_TRUE(probe.description.hasItem);
    ASSERT_EQ(probe.description.nItemKind, kItemKindTab);
    const LocatorForm& recorded = probe.description.item;
    EXPECT_EQ(recorded.tab.text, "Gamma");
    EXPECT_EQ(recorded.tab.iImage, 3);
    EXPECT_EQ(recorded.tab.nIndex, 3);
    EXPECT_EQ(recorded.tab.bCurrent, 0u);
    EXPECT_EQ(recorded.dwFlags, 1u) << "the control reports tab texts";

    ASSERT_EQ(ToWatch(sample::kMsgWatchReverseTabs, sample::kTabTextId), 1);
    ExpectFoundAt(m_texts, recorded, SearchStrategy::kTextFirst, 2, "recorded Gamma after the reversal");
    ExpectFoundAt(m_texts, recorded, SearchStrategy::kImageFirst, 2, "image first");
}

TEST_F(SampleTabTest, ChangedImageAndTextlessTabsInTheSample) {
    ASSERT_EQ(ToWatch(sample::kMsgWatchSetTabImage, sample::kTabTextId, MAKELPARAM(3, 0)), 1);
    ExpectFoundAt(m_texts, TabItemForm("Gamma", 3, 3), SearchStrategy::kImageFirst, 3, "image changed, found through the text");
    ExpectFoundAt(m_textless, TabItemForm("", 0, 2), SearchStrategy::kTextFirst, 2, "first tab with image 2");
    ExpectFoundAt(m_textless, TabItemForm("", 0, 1), SearchStrategy::kImageFirst, 1, "first of two tabs with image 1");
    ASSERT_EQ(ToWatch(sample::kMsgWatchSetCurrentTab, sample::kTabNoTextId, 3), 1);
    ExpectFoundAt(m_textless, TabItemForm("", 0, 1), static_cast<SearchStrategy>(6), 3, "strategy 6: the current tab");
    ASSERT_EQ(ToWatch(sample::kMsgWatchSetCurrentTab, sample::kTabNoTextId, -1), 1);
    ExpectFoundAt(m_textless, TabItemForm("", 0, 1), SearchStrategy::kCurrent, -1, "no current tab");
}

}  // namespace
