// List-view (kind 7) and menu-bar (kind 3) items of the sample application,
// which runs in a process of its own: items are taken under screen points,
// recorded by the agent inside the sample, and located again after the
// sample changed its list or its menu bar. Where an item now is comes from
// a model of the sample's list kept here (the sample's orders are
// deterministic) and is checked by hit-testing the centre of the rectangle
// the agent returned.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "forms/ItemKinds.h"
#include "sample/SampleProtocol.h"
#include "tests/support/SharedSampleSuite.h"

namespace {

const int kItems = 50;

// The sample's item i before any change: text and image.
std::string OriginalText(int i) {
    if (i == 10 || i == 20 || i == 30) return "Twin";
    char text[32];
    std::snprintf(text, sizeof(text), "Item %04d", i);
    return text;
}
int OriginalImage(int i) { return i % 4; }

// Where the sample's original items stand: order[row] is the original index
// of the item shown at row (-1 for items inserted later).
struct ListModel {
    std::vector<int> order;
    void Reset(int count) {
        order.resize(count);
        for (int i = 0; i < count; ++i) order[i] = i;
    }
    void Reverse() { std::reverse(order.begin(), order.end()); }
    // The sample's deterministic shuffle.
    void Shuffle(unsigned seed) {
        unsigned state = seed * 2654435761u + 1;
        for (size_t i = order.size(); i > 1; --i) {
            state = state * 1103515245u + 12345u;
            std::swap(order[i - 1], order[(state >> 8) % i]);
        }
    }
    void InsertFront(int count) { order.insert(order.begin(), count, -1); }
    int RowOf(int original) const {
        auto it = std::find(order.begin(), order.end(), original);
        return it == order.end() ? -1 : static_cast<int>(it - order.begin());
    }
};

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

class SampleItemTest : public CSharedSampleSuite<SampleItemTest> {
public:
    static constexpr const char* kArguments = "--no-dialog";
    static constexpr size_t kRecordSize = CAgentClient::kDefaultRecordSize;

protected:
    void SetUp() override {
        CSharedSampleSuite::SetUp();
        if (HasFatalFailure()) return;
        m_frame = s_app->Frame();
        m_list = s_app->Control(sample::kListViewId);
        ASSERT_NE(m_list, nullptr);
        // Back to 50 forward items at the top, nothing selected, the four
        // menus with their own names.
        ASSERT_EQ(s_app->Send(sample::kMsgSetItemCount, kItems), 1);
        ASSERT_EQ(s_app->Send(sample::kMsgSelectItem, static_cast<WPARAM>(-1)), 1);
        ASSERT_EQ(s_app->Send(sample::kMsgScrollTop), 1);
        m_model.Reset(kItems);
        FindFirstRow();
    }

    // Item 0's rectangle, found by hit-testing down the list view's left
    // edge from its client origin (the header's height is not known here).
    void FindFirstRow() {
        RECT client;
        ASSERT_TRUE(GetClientRect(m_list, &client));
        for (int y = 0; y < client.bottom; y += 3) {
            ItemAtResult at = AtClient({20, y});
            ASSERT_EQ(at.status, AgentStatus::Ok);
            if (at.index >= 0) {
                ASSERT_EQ(at.index, 0);
                m_firstRow = at.rect;
                ASSERT_GT(m_firstRow.bottom, m_firstRow.top);
                return;
            }
        }
        FAIL() << "no list item under the list view's left edge";
    }
    int RowHeight() const { return m_firstRow.bottom - m_firstRow.top; }
    // Screen point inside row (while the list shows its first item at the top).
    POINT RowPoint(int row, int x = 30) const {
        POINT p = {x, m_firstRow.top + row * RowHeight() + RowHeight() / 2};
        ClientToScreen(m_list, &p);
        return p;
    }

    ItemAtResult AtScreen(POINT p) { return GetItemRect(*s_client, m_list, kItemKindListView, p.x, p.y); }
    ItemAtResult AtClient(POINT p) {
        ClientToScreen(m_list, &p);
        return AtScreen(p);
    }
    // Index of the item under the centre of a rectangle in list-view client coordinates.
    int IndexAtCentre(const RECT& r) { return AtClient(Centre(r)).index; }

    // What a recorder does: the item under a screen point, recorded by the
    // agent inside the sample.
    LocatorForm RecordAt(POINT screen, int* index) {
        ItemAtResult at = AtScreen(screen);
        EXPECT_EQ(at.status, AgentStatus::Ok);
        *index = at.index;
        ProbeResult probe = ProbeWindow(*s_client, m_list, true, kItemKindListView, static_cast<uint32_t>(at.index), 0);
        EXPECT_EQ(probe.status, AgentStatus::Ok);
        EXPECT_TRUE(probe.description.hasItem);
        EXPECT_EQ(probe.description.nItemKind, kItemKindListView);
        return probe.description.item;
    }
    LocatorForm RecordRow(int row) {
        int index = -1;
        LocatorForm form = RecordAt(RowPoint(row), &index);
        EXPECT_EQ(index, row);
        return form;
    }
    // A form made by hand from what the controller knows about an item.
    static LocatorForm KnownForm(const std::string& text, int index, int image) {
        return ListViewItemForm(text, index, image);
    }

    // Locates the form and checks the rectangle lies in the list view's
    // client area over the item now at expectedRow.
    void ExpectFoundAt(const LocatorForm& form, SearchArgument param, int expectedRow, const char* what) {
        SCOPED_TRACE(what);
        LocateResult found = LocateItem(*s_client, m_list, kItemKindListView, 0, form, param);
        ASSERT_EQ(found.status, AgentStatus::Ok);
        ASSERT_TRUE(found.found);
        ASSERT_TRUE(found.hasForm);
        RECT client;
        GetClientRect(m_list, &client);
        const RECT& r = found.form.rect;
        EXPECT_GT(r.bottom, r.top);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.bottom, client.bottom);
        EXPECT_EQ(IndexAtCentre(r), expectedRow);
        // What was recorded travels back unchanged.
        EXPECT_EQ(found.form.Text(), form.Text());
        EXPECT_EQ(found.form.listView.iItem, form.listView.iItem);
    }

    // The sample's menu bar as the agent's hit test sees it, scanned left to
    // right along the middle of the band between the caption and the
    // frame's client area (this process cannot read another process's menu
    // in Wine). Rectangles in the frame's client coordinates, by position.
    std::vector<RECT> ScanMenuBar() {
        std::vector<RECT> items;
        RECT window;
        GetWindowRect(m_frame, &window);
        POINT origin = {0, 0};
        ClientToScreen(m_frame, &origin);
        const int y = origin.y - GetSystemMetrics(SM_CYMENU) / 2;
        // The items lie side by side: a few misses after the last one end the bar.
        int misses = 0;
        for (int x = window.left; x < window.right;) {
            ItemAtResult at = GetItemRect(*s_client, m_frame, kItemKindMenuBar, x, y);
            EXPECT_EQ(at.status, AgentStatus::Ok);
            if (at.index < 0) {
                if (!items.empty() && ++misses > 4) break;
                x += 2;
                continue;
            }
            misses = 0;
            EXPECT_EQ(at.index, static_cast<int>(items.size())) << "positions run left to right";
            // The rectangle holds the point it was found under, and lies in the band.
            EXPECT_LE(at.rect.left + origin.x, x);
            EXPECT_GE(at.rect.right + origin.x, x);
            EXPECT_LT(at.rect.top, 0);
            EXPECT_LE(at.rect.bottom, 0);
            EXPECT_GE(at.rect.top, -GetSystemMetrics(SM_CYMENU) - 2);
            if (at.index != static_cast<int>(items.size())) break;
            items.push_back(at.rect);
            x = at.rect.right + origin.x + 1;
        }
        return items;
    }
    // Screen point at the centre of a rectangle in the frame's client coordinates.
    POINT FrameScreenCentre(const RECT& r) {
        POINT p = Centre(r);
        ClientToScreen(m_frame, &p);
        return p;
    }
    void ResetMenuBar() {
        std::vector<RECT> bar = ScanMenuBar();
        if (bar.size() == 5) s_app->Send(sample::kMsgToggleExtraMenu);
        const char* menus[] = {"&File", "&Edit", "&View", "&Help"};
        for (int i = 0; i < 4; ++i) ASSERT_TRUE(s_app->Rename(sample::kCopyDataMenuBase + i, menus[i]));
    }
    LocatorForm MenuForm(int position, const char* text) { return MenuBarItemForm(position, text); }

    HWND m_frame = nullptr, m_list = nullptr;
    RECT m_firstRow = {0, 0, 0, 0};
    ListModel m_model;
};

// ---- taking and recording items under screen points ------------------------------

TEST_F(SampleItemTest, ItemUnderAScreenPointIsRecordedWithItsTextImageAndIndex) {
    for (int row : {0, 5, 13}) {
        int index = -1;
        ItemAtResult at = AtScreen(RowPoint(row));
        LocatorForm form = RecordAt(RowPoint(row), &index);
        ASSERT_EQ(index, row);
        EXPECT_EQ(form.Text(), OriginalText(row));
        EXPECT_EQ(form.listView.iImage, OriginalImage(row));
        EXPECT_EQ(form.listView.iItem, row);
        EXPECT_FALSE(form.bSelected);
        // The rectangle is the row's, in the list view's client coordinates.
        EXPECT_EQ(at.rect.top, m_firstRow.top + row * RowHeight());
        EXPECT_EQ(at.rect.bottom - at.rect.top, RowHeight());
    }
    // Points outside every item: the header, left of the list, below the last item.
    POINT header = {30, m_firstRow.top / 2};
    EXPECT_EQ(AtClient(header).index, -1);
    RECT window;
    GetWindowRect(m_list, &window);
    EXPECT_EQ(AtScreen({window.left - 5, RowPoint(2).y}).index, -1);
    ASSERT_EQ(s_app->Send(sample::kMsgSetItemCount, 3), 1);
    EXPECT_EQ(AtScreen(RowPoint(2)).index, 2);
    ItemAtResult below = AtScreen(RowPoint(4));
    EXPECT_EQ(below.index, -1);
    EXPECT_TRUE(IsRectEmpty(&below.rect));
}

TEST_F(SampleItemTest, SelectedItemIsRecordedAsSelected) {
    ASSERT_EQ(s_app->Send(sample::kMsgSelectItem, 6), 1);
    LocatorForm form = RecordRow(6);
    EXPECT_TRUE(form.bSelected);
    EXPECT_FALSE(RecordRow(7).bSelected);
}

// ---- the list changes, the recorded items are found where they went -------------

TEST_F(SampleItemTest, RecordedItemsAreFoundAtTheirRowsAfterReverseAndShuffle) {
    const int rows[] = {1, 7, 14};
    std::vector<LocatorForm> forms;
    for (int row : rows) forms.push_back(RecordRow(row));

    ASSERT_EQ(s_app->Send(sample::kMsgReverseItems), 1);
    m_model.Reverse();
    for (size_t k = 0; k < forms.size(); ++k) {
        ExpectFoundAt(forms[k], SearchStrategy::kTextFirst, m_model.RowOf(rows[k]), "reversed, text first");
        ExpectFoundAt(forms[k], SearchStrategy::kImageFirst, m_model.RowOf(rows[k]), "reversed, image first");
    }

    ASSERT_EQ(s_app->Send(sample::kMsgShuffle, 7), 1);
    m_model.Shuffle(7);
    for (size_t k = 0; k < forms.size(); ++k) {
        ExpectFoundAt(forms[k], SearchStrategy::kTextFirst, m_model.RowOf(rows[k]), "shuffled");
    }
}

TEST_F(SampleItemTest, TwinsAreToldApartByImageAfterAShuffle) {
    // "Twin" at 10 (image 2), 20 (image 0), 30 (image 2): only 20's image is its own.
    LocatorForm twin = KnownForm("Twin", 20, OriginalImage(20));
    ExpectFoundAt(twin, SearchStrategy::kTextFirst, 20, "in place");
    for (unsigned seed : {3u, 11u}) {
        ASSERT_EQ(s_app->Send(sample::kMsgShuffle, seed), 1);
        m_model.Shuffle(seed);
        ExpectFoundAt(twin, SearchStrategy::kTextFirst, m_model.RowOf(20), "shuffled");
    }
}

TEST_F(SampleItemTest, InsertedItemsMoveTheRecordedOnesButNotTheRecordedIndex) {
    LocatorForm first = RecordRow(0), fourth = RecordRow(4);
    ASSERT_EQ(s_app->Send(sample::kMsgInsertFront, 3), 1);
    m_model.InsertFront(3);
    ExpectFoundAt(first, SearchStrategy::kTextFirst, 3, "first item");
    ExpectFoundAt(fourth, SearchStrategy::kTextFirst, 7, "fifth item");
    // By index, the row stays: it now holds an inserted item.
    ExpectFoundAt(fourth, SearchStrategy::kRecordedIndex, 4, "by index");
    int index = -1;
    LocatorForm inserted = RecordAt(RowPoint(1), &index);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(inserted.Text().compare(0, 4, "New "), 0) << inserted.Text();
    EXPECT_EQ(inserted.listView.iImage, 3);
}

TEST_F(SampleItemTest, RenamedItemsAreRecordedWithTheirNewTextAndFoundAfterAMove) {
    // A plain new name, one with characters above 0x7F, and one longer than
    // the 255 characters a list-view fetch returns.
    const std::string names[] = {"Renamed eight", "Gr\xF6\xDF" "e \xE9t\xE9", std::string(300, 'W')};
    const int rows[] = {8, 9, 11};
    std::vector<LocatorForm> forms;
    for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(s_app->Rename(static_cast<ULONG_PTR>(rows[k]), names[k]));
        forms.push_back(RecordRow(rows[k]));
        EXPECT_EQ(forms.back().Text(), names[k].substr(0, 255));
    }
    // Moved, so that neither the recorded index nor any other row matches by chance.
    ASSERT_EQ(s_app->Send(sample::kMsgReverseItems), 1);
    m_model.Reverse();
    for (int k = 0; k < 3; ++k) ExpectFoundAt(forms[k], SearchStrategy::kTextFirst, m_model.RowOf(rows[k]), names[k].c_str());

}

// ---- scrolling, selection and rectangle parts -------------------------------------

TEST_F(SampleItemTest, ItemScrolledOutOfViewIsScrolledBackBeforeItsRectangleIsTaken) {
    LocatorForm second = RecordRow(1);
    // Selecting the last item scrolls the list down and row 1 out of view.
    ASSERT_EQ(s_app->Send(sample::kMsgSelectItem, kItems - 1), 1);
    ASSERT_NE(AtScreen(RowPoint(1)).index, 1) << "the list did not scroll";
    ExpectFoundAt(second, SearchStrategy::kTextFirst, 1, "after scrolling away");

    // Down again; the parts of the rectangle all lie over the same item.
    ASSERT_EQ(s_app->Send(sample::kMsgSelectItem, kItems - 1), 1);
    LocateResult icon = LocateItem(*s_client, m_list, kItemKindListView, 0, second, SearchArgument(ReportedPart::kIcon));
    LocateResult label = LocateItem(*s_client, m_list, kItemKindListView, 0, second, SearchArgument(ReportedPart::kLabel));
    LocateResult bounds = LocateItem(*s_client, m_list, kItemKindListView, 0, second, SearchArgument(SearchStrategy::kTextFirst));
    ASSERT_TRUE(icon.found && label.found && bounds.found);
    EXPECT_EQ(IndexAtCentre(icon.form.rect), 1);
    EXPECT_EQ(IndexAtCentre(label.form.rect), 1);
    EXPECT_LT(icon.form.rect.left, label.form.rect.left);
    EXPECT_LE(bounds.form.rect.left, icon.form.rect.left);
    EXPECT_GE(bounds.form.rect.right, label.form.rect.right);
    EXPECT_EQ(icon.form.rect.top, bounds.form.rect.top);
}

TEST_F(SampleItemTest, SelectedStrategyFindsTheSelectionWhereverTheListIsScrolled) {
    LocatorForm anything = KnownForm("not in the list", 0, 9);
    LocateResult none = LocateItem(*s_client, m_list, kItemKindListView, 0, anything, SearchArgument(SearchStrategy::kCurrent));
    ASSERT_EQ(none.status, AgentStatus::Ok);
    EXPECT_FALSE(none.found);

    ASSERT_EQ(s_app->Send(sample::kMsgSelectItem, 37), 1);
    ASSERT_EQ(s_app->Send(sample::kMsgScrollTop), 1);
    ExpectFoundAt(anything, SearchStrategy::kCurrent, 37, "selected below the view");
    ASSERT_EQ(s_app->Send(sample::kMsgReverseItems), 1);  // rebuilt: the selection is gone
    EXPECT_FALSE(LocateItem(*s_client, m_list, kItemKindListView, 0, anything, SearchArgument(SearchStrategy::kCurrent)).found);
}

// ---- the sample's menu bar -----------------------------------------------------------

TEST_F(SampleItemTest, MenuBarItemsAreTakenUnderPointsOnTheBarOfAnotherProcess) {
    ResetMenuBar();
    const char* texts[] = {"&File", "&Edit", "&View", "&Help"};
    std::vector<RECT> bar = ScanMenuBar();
    ASSERT_EQ(bar.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            EXPECT_GE(bar[i].left, bar[i - 1].right) << "items do not overlap";
        }
        ProbeResult probe = ProbeWindow(*s_client, m_frame, true, kItemKindMenuBar, static_cast<uint32_t>(i), 0);
        ASSERT_EQ(probe.status, AgentStatus::Ok);
        ASSERT_TRUE(probe.description.hasItem);
        EXPECT_EQ(probe.description.item.menuBar.nPosition, i);
        EXPECT_EQ(probe.description.item.Text(), texts[i]);
        // Found again by position: the rectangle the hit test gave.
        LocateResult found = LocateItem(*s_client, m_frame, kItemKindMenuBar, 0, probe.description.item, SearchArgument());
        ASSERT_EQ(found.status, AgentStatus::Ok);
        ASSERT_TRUE(found.found);
        EXPECT_TRUE(SameRect(found.form.rect, bar[i])) << i;
    }
    // The caption above the bar and the client area below it hold no menu item.
    POINT above = FrameScreenCentre(bar[0]), below = above;
    above.y += bar[0].top - 8;
    below.y = FrameScreenCentre({0, 8, 0, 8}).y;
    EXPECT_EQ(GetItemRect(*s_client, m_frame, kItemKindMenuBar, above.x, above.y).index, -1);
    EXPECT_EQ(GetItemRect(*s_client, m_frame, kItemKindMenuBar, below.x, below.y).index, -1);
}

TEST_F(SampleItemTest, MenuBarItemsAreLocatedByPositionAfterAMenuIsInsertedOrRenamed) {
    ResetMenuBar();
    const std::vector<RECT> before = ScanMenuBar();
    ASSERT_EQ(before.size(), 4u);
    ProbeResult help = ProbeWindow(*s_client, m_frame, true, kItemKindMenuBar, 3, 0);
    ASSERT_EQ(help.status, AgentStatus::Ok);
    ASSERT_EQ(help.description.item.Text(), "&Help");

    // "&Tools" goes in before "&Help": position 3 is now Tools, Help moved right.
    ASSERT_EQ(s_app->Send(sample::kMsgToggleExtraMenu), 1);
    const std::vector<RECT> tools = ScanMenuBar();
    ASSERT_EQ(tools.size(), 5u);
    EXPECT_EQ(tools[3].left, before[3].left) << "Tools starts where Help did";
    EXPECT_GT(tools[4].left, before[3].left);
    LocateResult three = LocateItem(*s_client, m_frame, kItemKindMenuBar, 0, help.description.item, SearchArgument());
    ASSERT_EQ(three.status, AgentStatus::Ok);
    ASSERT_TRUE(three.found);
    EXPECT_TRUE(SameRect(three.form.rect, tools[3]));
    EXPECT_EQ(three.form.Text(), "&Help") << "the text is carried for display only";
    LocateResult four = LocateItem(*s_client, m_frame, kItemKindMenuBar, 0, MenuForm(4, "&Help"), SearchArgument());
    ASSERT_TRUE(four.found);
    EXPECT_TRUE(SameRect(four.form.rect, tools[4]));
    POINT centre = FrameScreenCentre(four.form.rect);
    EXPECT_EQ(GetItemRect(*s_client, m_frame, kItemKindMenuBar, centre.x, centre.y).index, 4);
    EXPECT_FALSE(LocateItem(*s_client, m_frame, kItemKindMenuBar, 0, MenuForm(5, ""), SearchArgument()).found);

    // A longer name for "&Edit" widens it and pushes the items behind it right.
    ASSERT_TRUE(s_app->Rename(sample::kCopyDataMenuBase + 1, "&Edit and a much longer name"));
    const std::vector<RECT> renamed = ScanMenuBar();
    ASSERT_EQ(renamed.size(), 5u);
    EXPECT_GT(renamed[1].right - renamed[1].left, before[1].right - before[1].left);
    LocateResult view = LocateItem(*s_client, m_frame, kItemKindMenuBar, 0, MenuForm(2, "&View"), SearchArgument());
    ASSERT_TRUE(view.found);
    EXPECT_TRUE(SameRect(view.form.rect, renamed[2]));
    EXPECT_GT(view.form.rect.left, before[2].left);
    ProbeResult edit = ProbeWindow(*s_client, m_frame, true, kItemKindMenuBar, 1, 0);
    ASSERT_EQ(edit.status, AgentStatus::Ok);
    EXPECT_EQ(edit.description.item.Text(), "&Edit and a much longer name");
}

}  // namespace
