// The four kinds end to end, in the sample application's own process,
// through the controller client: items recorded with the info probe are
// found again after the sample was restarted and changed (tree reordered
// and collapsed, buttons reordered, list scrolled, pane texts changed), and
// the client's forms find items by what a controller knows. Each item
// found is checked by a hit test at the middle of the rectangle the agent
// reported.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "client/ControlItemForms.h"
#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "sample/SampleProtocol.h"
#include "tests/support/HookedSample.h"

namespace {

struct ItemsControls {
    HWND items = nullptr;
    HWND tree = nullptr;
    HWND toolbar = nullptr;
    HWND list = nullptr;
    HWND status = nullptr;
};

ItemsControls FindControls(CSampleProcess& app) {
    ItemsControls c;
    c.items = reinterpret_cast<HWND>(app.Send(sample::kMsgGetItemsWindow));
    if (!c.items) return c;
    auto control = [&](int id) { return reinterpret_cast<HWND>(SendMessageA(c.items, sample::kMsgGetItemsControl, static_cast<WPARAM>(id), 0)); };
    c.tree = control(sample::kItemsTreeId);
    c.toolbar = control(sample::kItemsToolbarId);
    c.list = control(sample::kItemsListBoxId);
    c.status = control(sample::kItemsStatusId);
    return c;
}

uint32_t TreeNode(const ItemsControls& c, int id) {
    return static_cast<uint32_t>(static_cast<UINT_PTR>(SendMessageA(c.items, sample::kMsgTreeGetItem, static_cast<WPARAM>(id), 0)));
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// Locates form in control and returns the index a hit test at the middle of
// the reported rectangle gives (-2 when the item was not found).
int LocateAndHit(CAgentClient& client, HWND control, const LocatorForm& form, SearchArgument param, LocatorForm* pReply = nullptr) {
    LocateResult found = LocateItem(client, control, form.nKind, 0, form, param);
    EXPECT_EQ(found.status, AgentStatus::Ok) << AgentStatusText(found.status);
    if (!found.found || !found.hasForm) return -2;
    if (pReply) *pReply = found.form;
    POINT middle = {(found.form.rect.left + found.form.rect.right) / 2, (found.form.rect.top + found.form.rect.bottom) / 2};
    ClientToScreen(control, &middle);
    ItemAtResult hit = GetItemRect(client, control, form.nKind, middle.x, middle.y);
    EXPECT_EQ(hit.status, AgentStatus::Ok);
    EXPECT_TRUE(EqualRect(&hit.rect, &found.form.rect)) << "hit " << Describe(hit.rect) << ", located " << Describe(found.form.rect);
    return hit.index;
}

LocatorForm Record(CAgentClient& client, HWND control, int kind, uint32_t index) {
    ProbeResult probe = ProbeWindow(client, control, true, kind, index, 0);
    EXPECT_EQ(probe.status, AgentStatus::Ok) << AgentStatusText(probe.status);
    EXPECT_TRUE(probe.description.hasItem) << "kind " << kind;
    EXPECT_EQ(probe.description.nItemKind, kind);
    return probe.description.item;
}

TEST(SampleProcessItemTest, RecordedItemsAreFoundAgainAfterARestartWithChanges) {
    LocatorForm tree, button, entry, pane;
    {
        CHookedSample sample;
        const std::string error = sample.Start("--no-dialog");
        ASSERT_TRUE(error.empty()) << error;
        const ItemsControls c = FindControls(sample.App());
        ASSERT_TRUE(c.tree && c.toolbar && c.list && c.status);
        tree = Record(sample.Client(), c.tree, kItemKindTree, TreeNode(c, 22));
        button = Record(sample.Client(), c.toolbar, kItemKindToolbar, 1);
        entry = Record(sample.Client(), c.list, kItemKindListBox, 30);
        pane = Record(sample.Client(), c.status, kItemKindStatusBar, 1);
    }
    ASSERT_EQ(tree.tree.text, "Summary");
    ASSERT_EQ(tree.tree.path.size(), 3u);
    EXPECT_EQ(tree.tree.path[0].text, "Archive");
    EXPECT_EQ(button.toolbar.idCommand, sample::kCmdItemsOpen);
    EXPECT_EQ(entry.listBox.text, "Banana split");
    EXPECT_EQ(pane.statusBar.text, "Line 1");

    CHookedSample sample;
    const std::string error = sample.Start("--no-dialog");
    ASSERT_TRUE(error.empty()) << error;
    const ItemsControls c = FindControls(sample.App());
    ASSERT_TRUE(c.tree && c.toolbar && c.list && c.status);
    SendMessageA(c.items, sample::kMsgTreeReorder, 0, 0);
    SendMessageA(c.items, sample::kMsgTreeCollapseAll, 0, 0);
    SendMessageA(c.items, sample::kMsgToolbarReverse, 0, 0);
    SendMessageA(c.items, sample::kMsgListBoxSetTop, 45, 0);
    SendMessageA(c.items, sample::kMsgStatusChange, 5, 0);
    CAgentClient& client = sample.Client();

    // Three other "Summary" items come first in pre-order: the recorded
    // path tells them apart.
    EXPECT_EQ(static_cast<uint32_t>(LocateAndHit(client, c.tree, tree, SearchStrategy::kPathFirst)), TreeNode(c, 22)) << "tree item, path first";
    EXPECT_EQ(SendMessageA(c.items, sample::kMsgTreeIsExpanded, 21, 0), 1) << "the found item was made visible";
    const int open = static_cast<int>(SendMessageA(c.toolbar, TB_COMMANDTOINDEX, sample::kCmdItemsOpen, 0));
    EXPECT_EQ(open, sample::kToolbarButtonCount - 2);
    EXPECT_EQ(LocateAndHit(client, c.toolbar, button, SearchArgument()), open) << "toolbar button after the reorder";
    EXPECT_EQ(LocateAndHit(client, c.list, entry, SearchArgument()), 30) << "list-box item above the visible part";
    EXPECT_EQ(SendMessageA(c.items, sample::kMsgListBoxGetTop, 0, 0), 30);
    LocatorForm refreshed;
    EXPECT_EQ(LocateAndHit(client, c.status, pane, SearchArgument(), &refreshed), 1) << "status-bar pane";
    EXPECT_EQ(refreshed.statusBar.text, "Line 6") << "the pane's new text";
}

class ClientFormsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_sample.reset(new CHookedSample());
        s_error = s_sample->Start("--no-dialog");
    }
    static void TearDownTestSuite() { s_sample.reset(); }
    void SetUp() override {
        ASSERT_TRUE(s_error.empty()) << s_error;
        m_c = FindControls(s_sample->App());
        ASSERT_TRUE(m_c.tree && m_c.toolbar && m_c.list && m_c.status);
        SendMessageA(m_c.items, sample::kMsgTreeDefault, 0, 0);
        SendMessageA(m_c.items, sample::kMsgToolbarDefault, 0, 0);
        SendMessageA(m_c.items, sample::kMsgListBoxFill, sample::kListBoxDefaultCount, 0);
        SendMessageA(m_c.items, sample::kMsgStatusChange, 0, 0);
    }
    CAgentClient& Client() { return s_sample->Client(); }

    static std::unique_ptr<CHookedSample> s_sample;
    static std::string s_error;
    ItemsControls m_c;
};

std::unique_ptr<CHookedSample> ClientFormsTest::s_sample;
std::string ClientFormsTest::s_error;

TEST_F(ClientFormsTest, TreeItemByItsPathOfTexts) {
    EXPECT_EQ(static_cast<uint32_t>(LocateAndHit(Client(), m_c.tree, TreeItemForm({"Projects", "Alpha", "Notes"}, 2), SearchArgument())), TreeNode(m_c, 12));
    EXPECT_EQ(static_cast<uint32_t>(LocateAndHit(Client(), m_c.tree, TreeItemForm({"Documents", "Letters", "Summary"}, 3), SearchStrategy::kPathFirst)), TreeNode(m_c, 8));
    // Image not known: path first takes the text below the path.
    EXPECT_EQ(static_cast<uint32_t>(LocateAndHit(Client(), m_c.tree, TreeItemForm({"Archive", "Reports", "2025"}), SearchStrategy::kPathFirst)), TreeNode(m_c, 21));
    EXPECT_EQ(LocateAndHit(Client(), m_c.tree, TreeItemForm({"Projects", "Gamma"}), SearchStrategy::kPathFirst), -2);
}

TEST_F(ClientFormsTest, ButtonByCommandListItemByTextPaneByNumber) {
    EXPECT_EQ(LocateAndHit(Client(), m_c.toolbar, ToolbarButtonForm(sample::kCmdItemsHelp), SearchArgument()), sample::kToolbarButtonCount - 1);
    EXPECT_EQ(LocateAndHit(Client(), m_c.toolbar, ToolbarButtonForm(4242), SearchArgument()), -2);
    EXPECT_EQ(LocateAndHit(Client(), m_c.list, ListBoxItemForm("banana"), SearchArgument()), 30);
    EXPECT_EQ(LocateAndHit(Client(), m_c.list, ListBoxItemForm("apple", 12), SearchArgument()), 12);
    EXPECT_EQ(LocateAndHit(Client(), m_c.list, ListBoxItemForm("", 3), SearchArgument()), 3);
    LocatorForm pane;
    EXPECT_EQ(LocateAndHit(Client(), m_c.status, StatusBarPaneForm(3), SearchArgument(), &pane), 3);
    EXPECT_EQ(pane.statusBar.text, "60 entries");
    EXPECT_EQ(LocateAndHit(Client(), m_c.status, StatusBarPaneForm(4), SearchArgument()), -2);
    EXPECT_EQ(LocateAndHit(Client(), m_c.status, StatusBarPaneForm(-1), SearchArgument()), -2);
}

}  // namespace
