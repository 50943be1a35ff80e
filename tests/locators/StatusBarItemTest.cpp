// Status-bar panes of the sample's status bar through the agent's
// requests: recording, finding by number with the text refreshed, pane
// numbers out of range (negative ones included), the numbered description,
// over-long texts, and hit tests on gaps and misses.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "forms/ItemKinds.h"
#include "forms/ListBoxItemForm.h"
#include "locators/StatusBarItemLocator.h"
#include "tests/locators/ItemsBed.h"

namespace {

typedef TItemForm<ListBoxItemFields> PaneForm;

class StatusBarItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_record.Ok());
        m_status = ItemsControl(sample::kItemsStatusId);
        ASSERT_NE(m_status, nullptr);
        ItemsMessage(sample::kMsgListBoxFill, sample::kListBoxDefaultCount);
        ItemsMessage(sample::kMsgStatusChange, 0);
    }
    RECT PaneRect(int pane) {
        RECT rect = {0, 0, 0, 0};
        SendMessageA(m_status, SB_GETRECT, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    static PaneForm Form(int pane, const std::string& text = std::string()) {
        PaneForm form;
        form.fields.nIndex = pane;
        form.fields.text = text;
        return form;
    }
    LocateReply<ListBoxItemFields> Locate(const PaneForm& form) { return m_record.Locate(m_status, kItemKindStatusBar, form, SearchArgument()); }

    CRecordBed m_record;
    HWND m_status = nullptr;
};

TEST_F(StatusBarItemTest, ProbeRecordsNumberAndText) {
    ProbeReply<ListBoxItemFields> reply = m_record.Probe<ListBoxItemFields>(m_status, kItemKindStatusBar, 1);
    ASSERT_TRUE(reply.ok && reply.hasItem);
    EXPECT_EQ(reply.kind, 11u);
    EXPECT_EQ(reply.form.fields.nIndex, 1);
    EXPECT_EQ(reply.form.fields.text, "Line 1");
    for (uint32_t pane : {4u, 100u, 0xFFFFFFFFu}) {
        ProbeReply<ListBoxItemFields> rejected = m_record.Probe<ListBoxItemFields>(m_status, kItemKindStatusBar, pane);
        ASSERT_TRUE(rejected.ok && rejected.hasItem);
        EXPECT_EQ(rejected.form.fields.nIndex, -1) << "pane " << pane;
    }
}

TEST_F(StatusBarItemTest, FoundByNumberWithTheTextRefreshed) {
    ItemsMessage(sample::kMsgStatusChange, 7);
    LocateReply<ListBoxItemFields> reply = Locate(Form(0, "Ready"));
    ASSERT_TRUE(reply.ok && reply.hasForm);
    EXPECT_TRUE(reply.found);
    EXPECT_EQ(reply.form.fields.text, "Busy 7");
    const RECT expected = PaneRect(0);
    EXPECT_TRUE(EqualRect(&reply.form.base.rect, &expected)) << RectText(reply.form.base.rect) << " vs " << RectText(expected);
    // A pane without text keeps the recorded one.
    LocateReply<ListBoxItemFields> empty = Locate(Form(2, "old"));
    EXPECT_TRUE(empty.found);
    EXPECT_EQ(empty.form.fields.text, "old");
    EXPECT_TRUE(Locate(Form(3)).found) << "the last pane";
}

TEST_F(StatusBarItemTest, PaneNumbersOutOfRangeFail) {
    for (int pane : {4, 5, 1000, -1, -2, static_cast<int>(0x80000000u)}) {
        LocateReply<ListBoxItemFields> reply = Locate(Form(pane, "x"));
        ASSERT_TRUE(reply.ok) << pane;
        EXPECT_FALSE(reply.found) << "pane " << pane << " found at " << RectText(reply.form.base.rect);
    }
}

TEST_F(StatusBarItemTest, DescriptionNumbersPanesFromOne) {
    CStatusBarItemLocator locator;
    locator.LoadItem(m_status, 2);  // the empty pane
    EXPECT_STREQ(locator.GetDescription(), "the no. 3 status bar item");
    locator.LoadItem(m_status, 0);
    EXPECT_STREQ(locator.GetDescription(), "the 'Ready' status bar item");
}

TEST_F(StatusBarItemTest, TextsLongerThanTheBufferAreCut) {
    const std::string longText(33000, 'y');
    ASSERT_TRUE(SendMessageA(m_status, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(longText.c_str())));
    const size_t length = LOWORD(SendMessageA(m_status, SB_GETTEXTLENGTHA, 2, 0));
    ProbeReply<ListBoxItemFields> reply = m_record.Probe<ListBoxItemFields>(m_status, kItemKindStatusBar, 2);
    SendMessageA(m_status, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(""));
    ASSERT_TRUE(reply.ok && reply.hasItem);
    EXPECT_EQ(reply.form.fields.text.size(), length < 32766 ? length : 32766u);
}

TEST_F(StatusBarItemTest, HitTestsOnGapsAndMisses) {
    const RECT line = PaneRect(1);
    const RECT screen = ToScreen(m_status, line);
    ItemAtReply hit = m_record.ItemAt(m_status, kItemKindStatusBar, POINT{screen.left, screen.top});
    ASSERT_TRUE(hit.ok);
    EXPECT_EQ(hit.index, 1);
    EXPECT_TRUE(EqualRect(&hit.rect, &line)) << RectText(hit.rect) << " vs " << RectText(line);
    // The right edge is outside the pane: in the gap or the next pane.
    EXPECT_NE(m_record.ItemAt(m_status, kItemKindStatusBar, POINT{screen.right, screen.top + 2}).index, 1);
    RECT bar;
    GetWindowRect(m_status, &bar);
    ItemAtReply above = m_record.ItemAt(m_status, kItemKindStatusBar, POINT{screen.left + 3, bar.top - 2});
    EXPECT_EQ(above.index, -1);
    EXPECT_TRUE(IsZero(above.rect)) << RectText(above.rect);
}

}  // namespace
