// Toolbar buttons of the sample's toolbar through the agent's requests: the
// 39-byte form and what it carries, finding by command identifier after a
// reorder, the lowest index among equal identifiers, and hit tests on
// edges and misses.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "forms/ItemKinds.h"
#include "forms/ToolbarItemForm.h"
#include "tests/locators/ItemsBed.h"

namespace {

typedef TItemForm<ToolbarItemFields> ToolbarForm;

class ToolbarItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_record.Ok());
        m_toolbar = ItemsControl(sample::kItemsToolbarId);
        ASSERT_NE(m_toolbar, nullptr);
        ItemsMessage(sample::kMsgToolbarDefault);
        ASSERT_EQ(SendMessageA(m_toolbar, TB_BUTTONCOUNT, 0, 0), sample::kToolbarButtonCount);
    }
    RECT ButtonRect(int index) {
        RECT rect = {0, 0, 0, 0};
        SendMessageA(m_toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    int IndexOf(int command) { return static_cast<int>(SendMessageA(m_toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0)); }
    static ToolbarForm Form(int command) {
        ToolbarForm form;
        form.fields.idCommand = command;
        return form;
    }
    void ExpectFoundAt(int command, int index, const char* what) {
        LocateReply<ToolbarItemFields> reply = m_record.Locate(m_toolbar, kItemKindToolbar, Form(command), SearchArgument());
        ASSERT_TRUE(reply.ok && reply.hasForm) << what;
        EXPECT_TRUE(reply.found) << what;
        const RECT expected = ButtonRect(index);
        EXPECT_TRUE(EqualRect(&reply.form.base.rect, &expected))
            << what << ": came " << RectText(reply.form.base.rect) << ", expected button " << index << " at " << RectText(expected);
    }

    CRecordBed m_record;
    HWND m_toolbar = nullptr;
};

TEST_F(ToolbarItemTest, ProbeRecordsTheButtonRecordAndNeverSelected) {
    SendMessageA(m_toolbar, TB_PRESSBUTTON, sample::kCmdItemsCut, TRUE);
    ProbeReply<ToolbarItemFields> reply = m_record.Probe<ToolbarItemFields>(m_toolbar, kItemKindToolbar, 4);
    SendMessageA(m_toolbar, TB_PRESSBUTTON, sample::kCmdItemsCut, FALSE);
    ASSERT_TRUE(reply.ok && reply.hasItem);
    EXPECT_EQ(reply.kind, 4u);
    const ToolbarItemFields& f = reply.form.fields;
    EXPECT_EQ(f.idCommand, sample::kCmdItemsCut);
    EXPECT_EQ(f.iBitmap, I_IMAGENONE);
    EXPECT_EQ(f.dwData, static_cast<uint32_t>(sample::kCmdItemsCut));
    EXPECT_TRUE(f.fsState & TBSTATE_PRESSED) << "state " << int(f.fsState);
    EXPECT_EQ(reply.form.base.bSelected, 0) << "a pressed button is not recorded as selected";
}

TEST_F(ToolbarItemTest, PointerSizedFieldsTravelAsTheirLow32Bits) {
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_LPARAM;
    info.lParam = static_cast<DWORD_PTR>(0xCAFEBABEu) | (sizeof(DWORD_PTR) > 4 ? static_cast<DWORD_PTR>(0x1234) << (4 * sizeof(DWORD_PTR)) : 0);
    ASSERT_TRUE(SendMessageA(m_toolbar, TB_SETBUTTONINFOA, sample::kCmdItemsOpen, reinterpret_cast<LPARAM>(&info)));
    ProbeReply<ToolbarItemFields> reply = m_record.Probe<ToolbarItemFields>(m_toolbar, kItemKindToolbar, 1);
    ASSERT_TRUE(reply.ok && reply.hasItem);
    EXPECT_EQ(reply.form.fields.dwData, 0xCAFEBABEu);
    EXPECT_EQ(reply.form.fields.idCommand, sample::kCmdItemsOpen);
}

TEST_F(ToolbarItemTest, FormIs39BytesWithTheTextIndexBeforeTheState) {
    ToolbarForm form = Form(sample::kCmdItemsSave);
    form.fields.iBitmap = 0x11111111;
    form.fields.iString = 0x22222222;
    form.fields.fsState = 0x33;
    form.fields.fsStyle = 0x44;
    form.fields.dwData = 0x55555555;
    CWireCursor w = m_record.Begin();
    w.WriteU16(kItemKindToolbar).WriteU32(0);
    ASSERT_TRUE(WriteForm(w, form));
    ASSERT_EQ(w.Offset(), 10u + 39u);
    w.WriteU32(0);
    m_record.LocateItem(m_toolbar);
    const BYTE* reply = m_record.View() + 8;  // header, found, then the form
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(reply + 29), 0x22222222u) << "iString at 29";
    EXPECT_EQ(reply[33], 0x33) << "fsState at 33";
    EXPECT_EQ(reply[34], 0x44) << "fsStyle at 34";
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(reply + 35), 0x55555555u) << "dwData at 35";
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(m_record.View() + 4), 1u) << "found";
}

TEST_F(ToolbarItemTest, FoundByCommandIdAfterTheButtonsWereReordered) {
    ExpectFoundAt(sample::kCmdItemsCut, 4, "default order");
    ItemsMessage(sample::kMsgToolbarReverse);
    ASSERT_EQ(IndexOf(sample::kCmdItemsCut), 4);  // the middle stays
    ExpectFoundAt(sample::kCmdItemsNew, 8, "New, now last");
    ExpectFoundAt(sample::kCmdItemsHelp, 0, "Help, now first");
    LocateReply<ToolbarItemFields> missing = m_record.Locate(m_toolbar, kItemKindToolbar, Form(999), SearchArgument());
    ASSERT_TRUE(missing.ok);
    EXPECT_FALSE(missing.found);
}

TEST_F(ToolbarItemTest, LowestIndexWinsAmongEqualIds) {
    ExpectFoundAt(0, 3, "separators, default order");
    ItemsMessage(sample::kMsgToolbarReverse);
    ExpectFoundAt(0, 1, "separators, reversed");
}

TEST_F(ToolbarItemTest, HitTestsOnEdgesAndMisses) {
    const RECT open = ButtonRect(1);
    const RECT screen = ToScreen(m_toolbar, open);
    ItemAtReply hit = m_record.ItemAt(m_toolbar, kItemKindToolbar, POINT{screen.left, screen.top});
    ASSERT_TRUE(hit.ok);
    EXPECT_EQ(hit.index, 1) << "top left corner is inside";
    EXPECT_TRUE(EqualRect(&hit.rect, &open)) << "came " << RectText(hit.rect) << ", expected " << RectText(open);
    ItemAtReply right = m_record.ItemAt(m_toolbar, kItemKindToolbar, POINT{screen.right, screen.top + 2});
    EXPECT_NE(right.index, 1) << "the right edge belongs to the next button";
    ItemAtReply bottom = m_record.ItemAt(m_toolbar, kItemKindToolbar, POINT{screen.left + 2, screen.bottom});
    EXPECT_EQ(bottom.index, -1) << "the bottom edge is outside";
    EXPECT_TRUE(IsZero(bottom.rect)) << RectText(bottom.rect);
    const RECT last = ToScreen(m_toolbar, ButtonRect(sample::kToolbarButtonCount - 1));
    RECT bar;
    GetWindowRect(m_toolbar, &bar);
    if (last.right + 3 < bar.right) {
        ItemAtReply beyond = m_record.ItemAt(m_toolbar, kItemKindToolbar, POINT{last.right + 2, last.top + 2});
        EXPECT_EQ(beyond.index, -1) << "right of the last button";
        EXPECT_TRUE(IsZero(beyond.rect)) << RectText(beyond.rect);
    }
}

}  // namespace
