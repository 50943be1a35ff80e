// Big, virtual and owner-drawn controls of the sample, in a process of its
// own, through the agent: the owner-data list view of a million rows (item
// under a point, record, locate by text, index and selection, scrolling into
// view; the application's own search taken only where it passes the
// locator's comparison), the owner-drawn list boxes with and without
// strings, the toolbar whose texts come from its string pool, and the tree
// of 10,000 nodes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/LocatorForm.h"
#include "client/ToolbarButtonText.h"
#include "common/Owned.h"
#include "locators/ToolbarItemLocator.h"
#include "sample/SampleProtocol.h"
#include "tests/support/SharedSampleSuite.h"

namespace {

const int kToolbar = 4, kListView = 7, kTree = 8, kListBox = 9;

std::string RectText(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

POINT CentreOnScreen(HWND hwnd, const RECT& r) {
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(hwnd, &p);
    return p;
}

LocatorForm ListBoxForm(const std::string& text, int index) {
    LocatorForm form;
    form.nKind = kListBox;
    form.listBox.text = text;
    form.listBox.nIndex = index;
    return form;
}

class VirtualControlsTest : public CSharedSampleSuite<VirtualControlsTest> {
public:
    static constexpr const char* kArguments = "--no-dialog --virtual";
    static constexpr size_t kRecordSize = CAgentClient::kDefaultRecordSize;

protected:
    void SetUp() override {
        CSharedSampleSuite::SetUp();
        if (HasFatalFailure()) return;
        m_window = reinterpret_cast<HWND>(s_app->Send(sample::kMsgGetVirtualWindow));
        ASSERT_NE(m_window, nullptr) << "the sample opened no virtual window";
        m_list = GetDlgItem(m_window, sample::kVirtualListId);
        ASSERT_NE(m_list, nullptr);
        // Every test starts from the window as it was opened.
        ASSERT_EQ(Virtual(sample::kMsgVirtualSetRows, sample::kVirtualDefaultRows), 1);
        Virtual(sample::kMsgVirtualSetOffset, 0);
        Virtual(sample::kMsgVirtualFindMode, 0);
        Virtual(sample::kMsgVirtualSelect, static_cast<WPARAM>(-1));
        Virtual(sample::kMsgVirtualScrollTop);
        Virtual(sample::kMsgVirtualFillLines, sample::kVirtualDefaultLines);
    }
    LRESULT Virtual(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(m_window, message, wParam, lParam);
    }
    LocateResult Locate(HWND window, int kind, const LocatorForm& form, uint32_t strategy) {
        return LocateItem(*s_client, window, kind, 0, form, strategy, 20000);
    }
    // Row's rectangle as the list view reports it (found by index, which
    // brings it into view).
    RECT RowRect(int row) {
        LocateResult r = Locate(m_list, kListView, ListViewItemForm("", row, 0), 3);
        EXPECT_TRUE(r.status == AgentStatus::Ok && r.found) << "row " << row << " by index";
        return r.form.rect;
    }
    // Found by text first, at the rectangle of row `expected`.
    void ExpectTextFindsRow(const LocatorForm& form, int expected, const std::string& what) {
        LocateResult r = Locate(m_list, kListView, form, 0);
        ASSERT_EQ(r.status, AgentStatus::Ok) << what;
        ASSERT_TRUE(r.found) << what << ": not found, expected row " << expected;
        const RECT want = RowRect(expected);
        EXPECT_TRUE(EqualRect(&r.form.rect, &want))
            << what << ": came " << RectText(r.form.rect) << ", expected row " << expected << " at " << RectText(want);
    }
    // An item of a list box counts as in view when it lies within the list
    // box's window (its border included), as the list box's scrolling has it.
    void ExpectInsideWindow(HWND hwnd, const RECT& rect, const std::string& what) {
        RECT window, item = rect;
        GetWindowRect(hwnd, &window);
        MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&item), 2);
        EXPECT_GE(item.top, window.top) << what << ": " << RectText(item) << " above " << RectText(window);
        EXPECT_LE(item.bottom, window.bottom) << what << ": " << RectText(item) << " below " << RectText(window);
    }
    void ExpectInsideClient(HWND hwnd, const RECT& rect, const std::string& what) {
        RECT client;
        GetClientRect(hwnd, &client);
        EXPECT_GE(rect.top, client.top) << what << ": " << RectText(rect) << " above the client area";
        EXPECT_LE(rect.bottom, client.bottom) << what << ": " << RectText(rect) << " below " << RectText(client);
    }
    RECT ListBoxItemRect(HWND list, int index) {
        RECT rect = {0, 0, 0, 0};
        SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }

    HWND m_window = nullptr;
    HWND m_list = nullptr;
};

// ---- owner-data list view -------------------------------------------------------

TEST_F(VirtualControlsTest, MillionRowsRecordedAndFoundNearTheEndByTextIndexAndSelection) {
    const int row = sample::kVirtualDefaultRows - 10;
    ProbeResult probe = ProbeWindow(*s_client, m_list, true, kListView, static_cast<uint32_t>(row), 0, 20000);
    ASSERT_EQ(probe.status, AgentStatus::Ok);
    ASSERT_TRUE(probe.description.hasItem);
    LocatorForm recorded = probe.description.item;
    EXPECT_EQ(recorded.listView.text, "Row 0999990");
    EXPECT_EQ(recorded.listView.iItem, row);
    EXPECT_EQ(recorded.listView.iImage, row % 4);

    // Recorded elsewhere, so that the recorded place does not decide.
    LocatorForm moved = recorded;
    moved.listView.iItem = 5;
    Virtual(sample::kMsgVirtualCount, 2);
    LocateResult byText = Locate(m_list, kListView, moved, 0);
    ASSERT_EQ(byText.status, AgentStatus::Ok);
    ASSERT_TRUE(byText.found);
    EXPECT_GT(Virtual(sample::kMsgVirtualCount, 0), 0) << "the application's own search was not asked";
    EXPECT_LT(Virtual(sample::kMsgVirtualCount, 1), 1000) << "texts asked for: the rows were walked";
    ExpectInsideClient(m_list, byText.form.rect, "found by text");

    Virtual(sample::kMsgVirtualScrollTop);
    LocateResult byIndex = Locate(m_list, kListView, recorded, 3);
    ASSERT_TRUE(byIndex.status == AgentStatus::Ok && byIndex.found);
    EXPECT_TRUE(EqualRect(&byIndex.form.rect, &byText.form.rect))
        << "by index " << RectText(byIndex.form.rect) << ", by text " << RectText(byText.form.rect);

    // Under a point: the row the search brought into view.
    const POINT centre = CentreOnScreen(m_list, byIndex.form.rect);
    ItemAtResult at = GetItemRect(*s_client, m_list, kListView, centre.x, centre.y);
    ASSERT_EQ(at.status, AgentStatus::Ok);
    EXPECT_EQ(at.index, row);
    EXPECT_TRUE(EqualRect(&at.rect, &byIndex.form.rect)) << RectText(at.rect);

    const int selected = row - 500;
    ASSERT_EQ(Virtual(sample::kMsgVirtualSelect, static_cast<WPARAM>(selected)), 1);
    Virtual(sample::kMsgVirtualScrollTop);
    LocateResult bySelection = Locate(m_list, kListView, recorded, 4);
    ASSERT_TRUE(bySelection.status == AgentStatus::Ok && bySelection.found);
    ExpectInsideClient(m_list, bySelection.form.rect, "found by selection");
    const RECT want = RowRect(selected);
    EXPECT_TRUE(EqualRect(&bySelection.form.rect, &want)) << RectText(bySelection.form.rect) << " vs " << RectText(want);

    // Recording the selected row marks it selected.
    ProbeResult selectedProbe = ProbeWindow(*s_client, m_list, true, kListView, static_cast<uint32_t>(selected), 0);
    ASSERT_TRUE(selectedProbe.status == AgentStatus::Ok && selectedProbe.description.hasItem);
    EXPECT_EQ(selectedProbe.description.item.bSelected, 1);
}

TEST_F(VirtualControlsTest, ApplicationsAnswersCountOnlyWhenTheyPassTheLocatorsComparison) {
    ASSERT_EQ(Virtual(sample::kMsgVirtualSetRows, 20000), 1);
    const LocatorForm form = ListViewItemForm("Row 0015000", 5, 15000 % 4);
    const char* modes[] = {"answered", "not handled (0)", "always -1", "always the next row"};
    for (WPARAM mode = 0; mode < 4; ++mode) {
        ASSERT_EQ(Virtual(sample::kMsgVirtualFindMode, mode), 1);
        Virtual(sample::kMsgVirtualCount, 2);
        ExpectTextFindsRow(form, 15000, modes[mode]);
        const LRESULT texts = Virtual(sample::kMsgVirtualCount, 1);
        if (mode == 0) {
            EXPECT_LT(texts, 1000) << "a correct answer was not taken";
        } else {
            EXPECT_GE(texts, 15000) << modes[mode] << ": found without the walk";
        }
    }
    ASSERT_EQ(Virtual(sample::kMsgVirtualFindMode, 0), 1);

    // The application ignores case (LVFI_STRING); the locator does not: no
    // row has the text, and the search falls back to the image, which takes
    // the last row with image 0 (19996), not row 15000.
    ExpectTextFindsRow(ListViewItemForm("row 0015000", 5, 0), 19996, "a text in other letter case");

    // Equal texts: rows 10, 20, 30 read "Twin" with images 2, 0, 2. The
    // application's answers and the walk agree on every choice.
    struct Case {
        int index, image, expected;
        const char* what;
    } cases[] = {{5, 2, 30, "strong matches: the last"},
                 {10, 2, 10, "exact at the recorded index"},
                 {20, 0, 20, "exact, the only one with its image"},
                 {5, 1, 30, "weak matches only: the last"}};
    for (WPARAM mode : {0u, 1u}) {
        ASSERT_EQ(Virtual(sample::kMsgVirtualFindMode, mode), 1);
        for (const Case& c : cases) {
            ExpectTextFindsRow(ListViewItemForm("Twin", c.index, c.image), c.expected,
                               std::string(c.what) + (mode ? " (walked)" : " (asked)"));
        }
    }
    ASSERT_EQ(Virtual(sample::kMsgVirtualFindMode, 0), 1);

    // The rows moved: row i now shows what row i + 100 showed.
    ASSERT_EQ(Virtual(sample::kMsgVirtualSetOffset, 100), 1);
    ExpectTextFindsRow(form, 14900, "after the rows moved up by 100");
}

// ---- owner-drawn list boxes ------------------------------------------------------

TEST_F(VirtualControlsTest, OwnerDrawnListBoxWithStringsRecordedFoundAndHit) {
    HWND list = GetDlgItem(m_window, sample::kVirtualStringsListId);
    ASSERT_NE(list, nullptr);
    ProbeResult probe = ProbeWindow(*s_client, list, true, kListBox, 150, 0);
    ASSERT_TRUE(probe.status == AgentStatus::Ok && probe.description.hasItem);
    EXPECT_EQ(probe.description.item.listBox.text, "Line 00150");
    EXPECT_EQ(probe.description.item.listBox.nIndex, 150);

    LocateResult found = Locate(list, kListBox, probe.description.item, 0);
    ASSERT_TRUE(found.status == AgentStatus::Ok && found.found);
    RECT want = ListBoxItemRect(list, 150);
    EXPECT_TRUE(EqualRect(&found.form.rect, &want)) << RectText(found.form.rect) << " vs " << RectText(want);
    ExpectInsideWindow(list, found.form.rect, "line 150");

    const POINT centre = CentreOnScreen(list, found.form.rect);
    ItemAtResult at = GetItemRect(*s_client, list, kListBox, centre.x, centre.y);
    ASSERT_EQ(at.status, AgentStatus::Ok);
    EXPECT_EQ(at.index, 150);

    // Equal texts at 7 and 70: the recorded index, else the highest.
    for (int recordedAt : {70, 7, 3}) {
        LocateResult pair = Locate(list, kListBox, ListBoxForm("Pair", recordedAt), 0);
        ASSERT_TRUE(pair.status == AgentStatus::Ok && pair.found) << recordedAt;
        const int expected = recordedAt == 7 ? 7 : 70;
        want = ListBoxItemRect(list, expected);
        EXPECT_TRUE(EqualRect(&pair.form.rect, &want)) << "recorded at " << recordedAt << ": " << RectText(pair.form.rect);
    }
}

TEST_F(VirtualControlsTest, OwnerDrawnListBoxWithoutStringsRecordsNoTextAndFindsByIndex) {
    HWND list = GetDlgItem(m_window, sample::kVirtualDataListId);
    ASSERT_NE(list, nullptr);
    ProbeResult probe = ProbeWindow(*s_client, list, true, kListBox, 150, 0);
    ASSERT_TRUE(probe.status == AgentStatus::Ok && probe.description.hasItem);
    const LocatorForm recorded = probe.description.item;
    EXPECT_TRUE(recorded.listBox.text.empty()) << "the item's data was recorded as its text: "
                                               << recorded.listBox.text.size() << " bytes";
    EXPECT_EQ(recorded.listBox.nIndex, 150);
    EXPECT_EQ(recorded.Description(), "a list box item");

    LocateResult found = Locate(list, kListBox, recorded, 0);
    ASSERT_TRUE(found.status == AgentStatus::Ok && found.found);
    RECT want = ListBoxItemRect(list, 150);
    EXPECT_TRUE(EqualRect(&found.form.rect, &want)) << RectText(found.form.rect) << " vs " << RectText(want);
    ExpectInsideWindow(list, found.form.rect, "item 150, found by index");

    const POINT centre = CentreOnScreen(list, found.form.rect);
    ItemAtResult at = GetItemRect(*s_client, list, kListBox, centre.x, centre.y);
    ASSERT_EQ(at.status, AgentStatus::Ok);
    EXPECT_EQ(at.index, 150);

    // A recording made before: the bytes of the item's data as its text.
    // The list box's searches would compare item data with the text's
    // address and find nothing; the index still finds the item.
    const ULONG_PTR data = static_cast<ULONG_PTR>(SendMessageA(list, LB_GETITEMDATA, 150, 0));
    char bytes[sizeof(data) + 1] = {0};
    std::memcpy(bytes, &data, sizeof(data));
    ASSERT_GT(std::strlen(bytes), 0u);
    Virtual(sample::kMsgVirtualListBoxTop, sample::kVirtualDataListId, 0);
    LocateResult older = Locate(list, kListBox, ListBoxForm(bytes, 150), 0);
    ASSERT_TRUE(older.status == AgentStatus::Ok && older.found) << "an older recording was not found";
    want = ListBoxItemRect(list, 150);
    EXPECT_TRUE(EqualRect(&older.form.rect, &want)) << RectText(older.form.rect) << " vs " << RectText(want);

    // By position: after the lines were reversed, index 150 is another swatch.
    ASSERT_EQ(Virtual(sample::kMsgVirtualReverseLines), 1);
    LocateResult reversed = Locate(list, kListBox, recorded, 0);
    ASSERT_TRUE(reversed.status == AgentStatus::Ok && reversed.found);
    want = ListBoxItemRect(list, 150);
    EXPECT_TRUE(EqualRect(&reversed.form.rect, &want));
    LocateResult beyond = Locate(list, kListBox, ListBoxForm("", sample::kVirtualDefaultLines), 0);
    ASSERT_EQ(beyond.status, AgentStatus::Ok);
    EXPECT_FALSE(beyond.found) << "an index past the end was found";
}

// ---- toolbar with a string pool ------------------------------------------------

TEST_F(VirtualControlsTest, ToolbarButtonsWithPoolTextsShowTheTextTheToolbarReports) {
    HWND toolbar = GetDlgItem(m_window, sample::kVirtualToolbarId);
    ASSERT_NE(toolbar, nullptr);
    ProbeResult probe = ProbeWindow(*s_client, toolbar, true, kToolbar, 1, 0);
    ASSERT_TRUE(probe.status == AgentStatus::Ok && probe.description.hasItem);
    const LocatorForm& recorded = probe.description.item;
    EXPECT_EQ(recorded.toolbar.idCommand, sample::kCmdVirtualBeta);
    EXPECT_GE(recorded.toolbar.iString, 0);
    EXPECT_LT(recorded.toolbar.iString, 16) << "iString is no index into the pool";
    EXPECT_EQ(ReadToolbarButtonText(toolbar, recorded.toolbar.idCommand), "Beta");
    EXPECT_EQ(ReadToolbarButtonText(toolbar, sample::kCmdVirtualGamma), "Gamma");
    EXPECT_EQ(ReadToolbarButtonText(toolbar, 4242), "") << "a button that does not exist";

    LocateResult found = Locate(toolbar, kToolbar, recorded, 0);
    ASSERT_TRUE(found.status == AgentStatus::Ok && found.found);
    const POINT centre = CentreOnScreen(toolbar, found.form.rect);
    ItemAtResult at = GetItemRect(*s_client, toolbar, kToolbar, centre.x, centre.y);
    ASSERT_EQ(at.status, AgentStatus::Ok);
    EXPECT_EQ(at.index, 1);
}

// The locator itself, in this process: the text of a loaded button, from
// the pool or the button's own, as the toolbar reports it.
TEST(ToolbarButtonText, LoadedButtonKeepsTheTextTheToolbarReports) {
    COwnedWindow host(CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 300, 60, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(host);
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_LIST, 0, 0, 300, 30,
                                   host.Get(), nullptr, nullptr, nullptr);
    ASSERT_NE(toolbar, nullptr);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const LRESULT first = SendMessageA(toolbar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>("Pooled\0Other\0"));
    ASSERT_GE(first, 0);
    TBBUTTON buttons[3] = {};
    const char* ownText = "Own text";
    buttons[0].idCommand = 11;
    buttons[0].iString = static_cast<INT_PTR>(first);
    buttons[1].idCommand = 12;
    buttons[1].iString = reinterpret_cast<INT_PTR>(ownText);
    buttons[2].idCommand = 13;
    buttons[2].iString = -1;
    for (TBBUTTON& b : buttons) {
        b.iBitmap = I_IMAGENONE;
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = BTNS_BUTTON;
    }
    ASSERT_TRUE(SendMessageA(toolbar, TB_ADDBUTTONSA, 3, reinterpret_cast<LPARAM>(buttons)));
    const char* expected[] = {"Pooled", "Own text", nullptr};
    for (int i = 0; i < 3; ++i) {
        CItemLocatorPtr locator(CreateItemLocator(kToolbar, 0));
        ASSERT_TRUE(locator);
        locator->LoadItem(toolbar, i);
        EXPECT_EQ(static_cast<CToolbarItemLocator*>(locator.get())->m_button.idCommand, 11 + i);
        if (expected[i]) {
            ASSERT_NE(locator->GetText(0), nullptr) << "button " << i;
            EXPECT_STREQ(locator->GetText(0), expected[i]);
        } else {
            EXPECT_EQ(locator->GetText(0), nullptr) << "button " << i << " has no text";
        }
        // The text is the button's, not part of its description.
        EXPECT_STREQ(locator->GetDescription(), "a toolbar item");
    }
}

// ---- the tree of 10,000 nodes -----------------------------------------------------

TEST_F(VirtualControlsTest, TreeOfTenThousandNodesRecordedAndFoundAgain) {
    HWND items = reinterpret_cast<HWND>(s_app->Send(sample::kMsgGetItemsWindow));
    ASSERT_NE(items, nullptr);
    HWND tree = GetDlgItem(items, sample::kItemsTreeId);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(SendMessageA(items, sample::kMsgTreeGenerate, 10000, 0), 10000);
    struct Restore {
        HWND items;
        ~Restore() { SendMessageA(items, sample::kMsgTreeDefault, 0, 0); }
    } restore{items};
    const int lastId = 10000;  // node 9999, last in pre-order, on the fifth level
    const LRESULT handle = SendMessageA(items, sample::kMsgTreeGetItem, lastId, 0);
    ASSERT_NE(handle, 0);
    ProbeResult probe = ProbeWindow(*s_client, tree, true, kTree, static_cast<uint32_t>(handle), 0, 20000);
    ASSERT_TRUE(probe.status == AgentStatus::Ok && probe.description.hasItem);
    const LocatorForm recorded = probe.description.item;
    EXPECT_EQ(recorded.tree.text, "Node 9999");
    EXPECT_EQ(recorded.tree.path.size(), 4u) << "ancestors of a fifth-level node";

    for (uint32_t strategy : {0u, 1u}) {
        SendMessageA(items, sample::kMsgTreeCollapseAll, 0, 0);
        LocateResult found = Locate(tree, kTree, recorded, strategy);
        ASSERT_TRUE(found.status == AgentStatus::Ok && found.found) << "strategy " << strategy;
        ExpectInsideClient(tree, found.form.rect, "strategy " + std::to_string(strategy));
        const POINT centre = CentreOnScreen(tree, found.form.rect);
        ItemAtResult at = GetItemRect(*s_client, tree, kTree, centre.x, centre.y);
        ASSERT_EQ(at.status, AgentStatus::Ok);
        EXPECT_EQ(static_cast<uint32_t>(at.index), static_cast<uint32_t>(handle)) << "strategy " << strategy;
    }

    // Collapsed first: collapsing the selected node's parent would select the parent.
    const int selectedId = 5000;
    SendMessageA(items, sample::kMsgTreeCollapseAll, 0, 0);
    ASSERT_EQ(SendMessageA(items, sample::kMsgTreeSelect, selectedId, 0), 1);
    LocateResult bySelection = Locate(tree, kTree, recorded, 4);
    ASSERT_TRUE(bySelection.status == AgentStatus::Ok && bySelection.found);
    ExpectInsideClient(tree, bySelection.form.rect, "the selected node");
    const POINT centre = CentreOnScreen(tree, bySelection.form.rect);
    ItemAtResult at = GetItemRect(*s_client, tree, kTree, centre.x, centre.y);
    EXPECT_EQ(static_cast<uint32_t>(at.index),
              static_cast<uint32_t>(SendMessageA(items, sample::kMsgTreeGetItem, selectedId, 0)));
}

}  // namespace
