// List-box items of the sample's list box through the agent's requests:
// recording, the exact-then-prefix search with the recorded index breaking
// ties, scrolling one line at a time, search by index, the older form,
// rejected indexes, over-long texts, and hit tests on edges and misses.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "forms/ItemKinds.h"
#include "forms/ListBoxItemForm.h"
#include "locators/ListBoxItemLocator.h"
#include "tests/locators/ItemsBed.h"

namespace {

typedef TItemForm<ListBoxItemFields> ListBoxForm;

class ListBoxItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_record.Ok());
        m_list = ItemsControl(sample::kItemsListBoxId);
        ASSERT_NE(m_list, nullptr);
        ASSERT_EQ(ItemsMessage(sample::kMsgListBoxFill, sample::kListBoxDefaultCount), 1);
        ItemsMessage(sample::kMsgListBoxSetTop, 0);
    }
    int Top() { return static_cast<int>(ItemsMessage(sample::kMsgListBoxGetTop)); }
    RECT ItemRect(int index) {
        RECT rect = {0, 0, 0, 0};
        SendMessageA(m_list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    static ListBoxForm Form(const std::string& text, int index) {
        ListBoxForm form;
        form.fields.text = text;
        form.fields.nIndex = index;
        return form;
    }
    LocateReply<ListBoxItemFields> Locate(const ListBoxForm& form) { return m_record.Locate(m_list, kItemKindListBox, form, SearchArgument()); }
    void ExpectFoundAt(const ListBoxForm& form, int index, const char* what) {
        LocateReply<ListBoxItemFields> reply = Locate(form);
        ASSERT_TRUE(reply.ok && reply.hasForm) << what;
        EXPECT_TRUE(reply.found) << what;
        const RECT expected = ItemRect(index);
        EXPECT_TRUE(EqualRect(&reply.form.base.rect, &expected))
            << what << ": came " << RectText(reply.form.base.rect) << ", expected item " << index << " at " << RectText(expected);
    }
    // The item is within the list box's window.
    void ExpectVisible(int index) {
        RECT item = ToScreen(m_list, ItemRect(index));
        RECT window;
        GetWindowRect(m_list, &window);
        EXPECT_LE(item.bottom, window.bottom) << "item " << index << " below the window, top index " << Top();
        EXPECT_GE(item.top, window.top) << "item " << index << " above the window, top index " << Top();
    }

    CRecordBed m_record;
    HWND m_list = nullptr;
};

TEST_F(ListBoxItemTest, ProbeRecordsIndexAndTextWithTheCurrentMarker) {
    ProbeReply<ListBoxItemFields> reply = m_record.Probe<ListBoxItemFields>(m_list, kItemKindListBox, 12);
    ASSERT_TRUE(reply.ok && reply.hasItem);
    EXPECT_EQ(reply.kind, 9u);
    EXPECT_EQ(reply.form.fields.nIndex, 12);
    EXPECT_EQ(reply.form.fields.text, "apple");
    // In a locate reply the marker sits behind the base form: length | bit 31.
    ExpectFoundAt(reply.form, 12, "recorded item");
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(m_record.View() + 8 + 21), 0x80000005u);
}

TEST_F(ListBoxItemTest, RejectedIndexWritesMinusOne) {
    for (uint32_t index : {60u, 1000u, 0xFFFFFFFFu, 0x80000000u}) {
        ProbeReply<ListBoxItemFields> reply = m_record.Probe<ListBoxItemFields>(m_list, kItemKindListBox, index);
        ASSERT_TRUE(reply.ok && reply.hasItem) << index;
        EXPECT_EQ(reply.form.fields.nIndex, -1) << "index " << index;
        EXPECT_TRUE(reply.form.fields.text.empty()) << "index " << index;
    }
    CListBoxItemLocator locator;
    EXPECT_STREQ(locator.GetDescription(), "a list box item");
}

TEST_F(ListBoxItemTest, ExactMatchBeforePrefixRecordedIndexBreaksTies) {
    ExpectFoundAt(Form("APPLE", 12), 12, "exact, case-insensitive, at the recorded index");
    ExpectFoundAt(Form("Apple", 3), 45, "exact, recorded index not a match: the highest");
    ExpectFoundAt(Form("apple", 20), 45, "the prefix match at the recorded index does not count");
    ExpectFoundAt(Form("Apple p", 20), 20, "prefix only");
    ExpectFoundAt(Form("banana", 0), 30, "prefix, case-insensitive");
    LocateReply<ListBoxItemFields> none = Locate(Form("Cherry", 5));
    ASSERT_TRUE(none.ok);
    EXPECT_FALSE(none.found);
}

TEST_F(ListBoxItemTest, ItemBelowIsScrolledIntoViewItemAboveBecomesTheTop) {
    ExpectFoundAt(Form("Entry 55", 0), 55, "below the visible part");
    EXPECT_GT(Top(), 0);
    ExpectVisible(55);
    // Scrolled until the item's bottom is inside: the item is the last
    // visible line, and one line less would leave it below.
    const int top = Top();
    EXPECT_LT(top, 55);
    ItemsMessage(sample::kMsgListBoxSetTop, static_cast<WPARAM>(top - 1));
    RECT window;
    GetWindowRect(m_list, &window);
    EXPECT_GT(ToScreen(m_list, ItemRect(55)).bottom, window.bottom) << "top " << top << " is not the least that shows item 55";
    ItemsMessage(sample::kMsgListBoxSetTop, static_cast<WPARAM>(top));
    ItemsMessage(sample::kMsgListBoxSetTop, 40);
    ExpectFoundAt(Form("Banana split", 0), 30, "above the visible part");
    EXPECT_EQ(Top(), 30);
}

TEST_F(ListBoxItemTest, ScrollingEndsAtTheEndOfALongList) {
    ASSERT_EQ(ItemsMessage(sample::kMsgListBoxFill, 10000), 1);
    ExpectFoundAt(Form("Entry 9999", 0), 9999, "the last of 10000");
    ExpectVisible(9999);
    ItemsMessage(sample::kMsgListBoxSetTop, 0);
    ExpectFoundAt(Form("Entry 5000", 0), 5000, "the middle of 10000");
    ExpectVisible(5000);
}

TEST_F(ListBoxItemTest, WithoutTextTheIndexIsUsed) {
    ExpectFoundAt(Form("", 7), 7, "index 7, no text");
    EXPECT_EQ(Top(), 0);
    // Found by index, an item out of view is brought into view as well.
    ExpectFoundAt(Form("", 58), 58, "index 58, below the visible part");
    ExpectVisible(58);
    ExpectFoundAt(Form("", 2), 2, "index 2, above the visible part");
    EXPECT_EQ(Top(), 2);
    for (int index : {60, 1000, -1, -60}) {
        LocateReply<ListBoxItemFields> reply = Locate(Form("", index));
        ASSERT_TRUE(reply.ok);
        EXPECT_FALSE(reply.found) << "index " << index << " found at " << RectText(reply.form.base.rect);
    }
}

TEST_F(ListBoxItemTest, OlderFormReadsAsTheCurrentOne) {
    // Marker with bit 31 clear: the text length; the index; the text in
    // field layout without its length word; then the search argument.
    CWireCursor w = m_record.Begin();
    w.WriteU16(kItemKindListBox).WriteU32(0);
    WriteForm(w, ItemFormBase());
    w.WriteU32(5).WriteI32(12).WriteU8(0).WriteU8(1).WriteBytes("APPLE", 5).WriteU8(0).WriteU32(0);
    ASSERT_TRUE(w.Ok());
    m_record.LocateItem(m_list);
    LocateReply<ListBoxItemFields> older = m_record.ReadLocate<ListBoxItemFields>();
    LocateReply<ListBoxItemFields> current = Locate(Form("APPLE", 12));
    ASSERT_TRUE(older.ok && older.hasForm && current.ok && current.hasForm);
    EXPECT_TRUE(older.found);
    EXPECT_EQ(older.form.fields.text, current.form.fields.text);
    EXPECT_EQ(older.form.fields.nIndex, current.form.fields.nIndex);
    EXPECT_TRUE(EqualRect(&older.form.base.rect, &current.form.base.rect))
        << RectText(older.form.base.rect) << " vs " << RectText(current.form.base.rect);

    // An empty older text is the index alone.
    w = m_record.Begin();
    w.WriteU16(kItemKindListBox).WriteU32(0);
    WriteForm(w, ItemFormBase());
    w.WriteU32(0).WriteI32(7).WriteU32(0);
    m_record.LocateItem(m_list);
    LocateReply<ListBoxItemFields> empty = m_record.ReadLocate<ListBoxItemFields>();
    ASSERT_TRUE(empty.ok && empty.hasForm);
    EXPECT_TRUE(empty.found);
    const RECT seven = ItemRect(7);
    EXPECT_TRUE(EqualRect(&empty.form.base.rect, &seven)) << RectText(empty.form.base.rect);

    // An older text longer than the record is refused, not read beyond it.
    w = m_record.Begin();
    w.WriteU16(kItemKindListBox).WriteU32(0);
    WriteForm(w, ItemFormBase());
    w.WriteU32(0x7FFFFFF0u).WriteI32(7).WriteU8(0).WriteU8(1);
    m_record.LocateItem(m_list);
    const uint32_t header = *reinterpret_cast<const uint32_t*>(m_record.View());
    const uint32_t found = *reinterpret_cast<const uint32_t*>(m_record.View() + 4);
    EXPECT_TRUE(header == 0xFFFFFFFFu || (header == 0 && found == 0)) << std::hex << header << " " << found;
}

TEST_F(ListBoxItemTest, TextsLongerThanTheBufferAreCut) {
    const std::string longText(40000, 'x');
    const int index = static_cast<int>(SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longText.c_str())));
    ASSERT_GE(index, 0);
    ProbeReply<ListBoxItemFields> reply = m_record.Probe<ListBoxItemFields>(m_list, kItemKindListBox, static_cast<uint32_t>(index));
    ASSERT_TRUE(reply.ok && reply.hasItem);
    EXPECT_EQ(reply.form.fields.text.size(), 32766u);
    EXPECT_EQ(reply.form.fields.nIndex, index);
    // The cut text still finds its item, by prefix.
    ExpectFoundAt(Form(longText, index), index, "40000 characters");
}

TEST_F(ListBoxItemTest, HitTestsOnEdgesAndMisses) {
    ItemsMessage(sample::kMsgListBoxSetTop, 20);
    const RECT item = ItemRect(22);
    const RECT screen = ToScreen(m_list, item);
    ItemAtReply hit = m_record.ItemAt(m_list, kItemKindListBox, POINT{screen.left, screen.top});
    ASSERT_TRUE(hit.ok);
    EXPECT_EQ(hit.index, 22);
    EXPECT_TRUE(EqualRect(&hit.rect, &item)) << "came " << RectText(hit.rect) << ", expected " << RectText(item);
    EXPECT_EQ(m_record.ItemAt(m_list, kItemKindListBox, POINT{screen.left + 3, screen.bottom}).index, 23) << "bottom edge: the next item";
    // Just above the client area (on the border) lies item 19, scrolled out
    // of view: a miss, not a hidden item.
    const RECT top = ToScreen(m_list, ItemRect(20));
    ItemAtReply above = m_record.ItemAt(m_list, kItemKindListBox, POINT{top.left + 3, top.top - 1});
    EXPECT_EQ(above.index, -1);
    EXPECT_TRUE(IsZero(above.rect)) << RectText(above.rect);
    ItemAtReply outside = m_record.ItemAt(m_list, kItemKindListBox, POINT{top.left - 30, top.top + 3});
    EXPECT_EQ(outside.index, -1);
    EXPECT_TRUE(IsZero(outside.rect)) << RectText(outside.rect);
}

}  // namespace
