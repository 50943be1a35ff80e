// Requests for toolbar buttons, tree items and status-bar panes sent to a
// window of another class: that window's own messages in the range the
// controls use must never be sent to it with a pointer to a record, since
// it could take them for messages that write something else there. Its
// procedure here answers every such message with "done" and counts them.
#include <gtest/gtest.h>
#include <windows.h>

#include "forms/ListBoxItemForm.h"
#include "forms/ToolbarItemForm.h"
#include "forms/TreeItemForm.h"
#include "tests/locators/ItemsBed.h"

namespace {

int g_nPointerMessages = 0;

LRESULT CALLBACK TrapProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER && message < 0x8000) {
        if (lParam) ++g_nPointerMessages;
        return 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class ForeignWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_record.Ok());
        WNDCLASSA wc = {};
        wc.lpfnWndProc = TrapProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VintrelItemsTrap";
        RegisterClassA(&wc);
        m_trap.Reset(CreateWindowExA(0, "VintrelItemsTrap", "trap", WS_OVERLAPPED | WS_VISIBLE, 300, 300, 200, 200,
                                     nullptr, nullptr, wc.hInstance, nullptr));
        ASSERT_TRUE(m_trap);
        PumpMessages();
        g_nPointerMessages = 0;
    }
    POINT Middle() {
        RECT r;
        GetWindowRect(m_trap.Get(), &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    CRecordBed m_record;
    COwnedWindow m_trap;
};

TEST_F(ForeignWindowTest, ControlMessagesAreNotSentToAWindowOfAnotherClass) {
    HWND trap = m_trap.Get();
    TItemForm<ToolbarItemFields> button;
    button.fields.idCommand = 1;
    EXPECT_FALSE(m_record.Locate(trap, kItemKindToolbar, button, SearchStrategy::kTextFirst).found) << "toolbar";
    TItemForm<TreeItemFields> tree;
    tree.fields.text = "x";
    EXPECT_FALSE(m_record.Locate(trap, kItemKindTree, tree, SearchStrategy::kTextFirst).found) << "tree, walk";
    EXPECT_FALSE(m_record.Locate(trap, kItemKindTree, tree, SearchStrategy::kCurrent).found) << "tree, selected";
    TItemForm<ListBoxItemFields> pane;
    pane.fields.nIndex = 0;
    EXPECT_FALSE(m_record.Locate(trap, kItemKindStatusBar, pane, SearchStrategy::kTextFirst).found) << "status bar";
    for (int kind : {4, 8, 11}) {
        ItemAtReply at = m_record.ItemAt(trap, kind, Middle());
        EXPECT_EQ(at.index, -1) << "kind " << kind;
    }
    EXPECT_TRUE(m_record.Probe<ToolbarItemFields>(trap, 4, 0).ok);
    EXPECT_TRUE(m_record.Probe<TreeItemFields>(trap, 8, 1).ok);
    ProbeReply<ListBoxItemFields> probed = m_record.Probe<ListBoxItemFields>(trap, 11, 0);
    EXPECT_TRUE(probed.ok);
    EXPECT_EQ(probed.form.fields.nIndex, -1);
    EXPECT_EQ(g_nPointerMessages, 0) << "messages with a pointer sent to the foreign window";
}

}  // namespace
