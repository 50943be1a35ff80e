// The locator base form, the factory's table, tags, rectangles and
// descriptions, and the controller's decoder agreeing with the agent's
// ReadData / WriteData byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

#include "client/LocatorForm.h"
#include "forms/ItemKinds.h"
#include "locators/ItemLocator.h"
#include "locators/ListViewItemLocator.h"
#include "locators/MenuBarItemLocator.h"

namespace {

std::unique_ptr<CItemLocator> Make(int kind) { return std::unique_ptr<CItemLocator>(CreateItemLocator(kind, 0)); }

int32_t WordAt(const BYTE* p, size_t offset) {
    int32_t v;
    std::memcpy(&v, p + offset, 4);
    return v;
}

TEST(ItemLocatorFactory, RefusesCodesOutsideTheTableAndStampsTheKind) {
    for (int kind : {-1, 0, 1, 2, 5, 14, 0x7FFF}) EXPECT_EQ(Make(kind), nullptr) << kind;
    for (int kind = 3; kind <= 13; ++kind) {
        if (kind == 5) continue;
        std::unique_ptr<CItemLocator> p = Make(kind);
        ASSERT_NE(p, nullptr) << kind;
        EXPECT_EQ(p->m_nKind, kind);
        EXPECT_EQ(p->m_dwFlags, 1u);
        EXPECT_FALSE(p->HasRect());
    }
}

TEST(ItemLocatorBase, FormIsLeftRightTopBottomFlagsSelected) {
    std::unique_ptr<CItemLocator> p = Make(4);
    SetRect(&p->m_rect, 1, 2, 3, 4);
    // The toolbar kind: the base form, then its own 18 bytes.
    BYTE buffer[48];
    std::memset(buffer, 0xEE, sizeof(buffer));
    BYTE* cursor = buffer;
    p->WriteData(cursor);
    ASSERT_EQ(cursor - buffer, 39);
    EXPECT_EQ(WordAt(buffer, 0), 1);
    EXPECT_EQ(WordAt(buffer, 4), 3);
    EXPECT_EQ(WordAt(buffer, 8), 2);
    EXPECT_EQ(WordAt(buffer, 12), 4);
    EXPECT_EQ(WordAt(buffer, 16), 1);
    EXPECT_EQ(buffer[20], 0);
    EXPECT_EQ(buffer[39], 0xEE);

    std::unique_ptr<CItemLocator> q = Make(4);
    cursor = buffer;
    q->SetDataLimit(buffer + sizeof(buffer));
    q->ReadData(cursor);
    EXPECT_EQ(cursor - buffer, 39);
    EXPECT_TRUE(EqualRect(&q->m_rect, &p->m_rect));
    EXPECT_EQ(q->m_dwFlags, 1u);
    EXPECT_EQ(q->m_bSelected, 0);
}

TEST(ItemLocatorBase, TagAndRectangleFlags) {
    std::unique_ptr<CItemLocator> p = Make(7);
    p->SetTag(0xAB);
    EXPECT_EQ(p->m_dwFlags, 0x00AB0001u);
    EXPECT_EQ(p->GetTag(), 0xAB);
    p->m_dwFlags = 0xFF12FFFF;
    p->SetTag(0x34);
    EXPECT_EQ(p->m_dwFlags, 0xFF34FFFFu);
    EXPECT_FALSE(Make(7)->HasRect());
    p->m_rect = RECT{0, 0, 0, -1};
    EXPECT_TRUE(p->HasRect());
}

TEST(ItemLocatorBase, FieldsThatWouldCrossTheLimitAreNeitherReadNorWritten) {
    std::unique_ptr<CItemLocator> p = Make(4);
    BYTE buffer[21] = {};
    p->SetDataLimit(buffer + 20);
    BYTE* cursor = buffer;
    p->WriteData(cursor);
    EXPECT_TRUE(p->HasDataOverrun());
    EXPECT_EQ(cursor, buffer);
    EXPECT_EQ(WordAt(buffer, 0), 0);  // nothing half written

    p->SetDataLimit(buffer + 20);
    EXPECT_FALSE(p->HasDataOverrun());
    p->ReadData(cursor);
    EXPECT_TRUE(p->HasDataOverrun());
    EXPECT_LE(cursor, buffer + 20);
}

TEST(MenuBarLocatorForm, SizesAndDescriptions) {
    CMenuBarItemLocator empty;
    EXPECT_EQ(empty.GetDataSize(), 30);
    BYTE buffer[600];
    BYTE* cursor = buffer;
    empty.WriteData(cursor);
    EXPECT_EQ(cursor - buffer, 29);
    cursor = buffer;
    CMenuBarItemLocator read;
    read.SetDataLimit(buffer + sizeof(buffer));
    read.ReadData(cursor);
    EXPECT_STREQ(read.GetDescription(), "a menu item");

    CMenuBarItemLocator named;
    lstrcpyA(named.m_szText, "&File");
    named.m_nPosition = 2;
    EXPECT_EQ(named.GetDataSize(), 32 + 5);
    cursor = buffer;
    named.WriteData(cursor);
    EXPECT_EQ(cursor - buffer, 37);
    EXPECT_EQ(WordAt(buffer, 21), 2);
    CMenuBarItemLocator back;
    cursor = buffer;
    back.SetDataLimit(buffer + sizeof(buffer));
    back.ReadData(cursor);
    EXPECT_EQ(cursor - buffer, 37);
    EXPECT_EQ(back.m_nPosition, 2);
    EXPECT_STREQ(back.GetDescription(), "the '&File' menu item");
}

TEST(LocatorDescriptions, LongTextsAreCutAtTheBufferEnd) {
    CMenuBarItemLocator menu;
    std::memset(menu.m_szText, 'm', 255);
    menu.m_szText[255] = '\0';
    menu.m_nTextLength = 255;
    const char* d = menu.GetDescription();
    EXPECT_EQ(lstrlenA(d), 255);
    EXPECT_EQ(std::strncmp(d, "the 'mmm", 8), 0);

    CListViewItemLocator list;
    list.m_item.pszText = list.AllocText(2000);
    std::memset(list.m_item.pszText, 'x', 1999);
    EXPECT_EQ(lstrlenA(list.GetDescription()), 255);
    list.m_item.pszText[0] = '\0';
    EXPECT_STREQ(list.GetDescription(), "a list item");
    lstrcpyA(list.m_item.pszText, "Item 0001");
    EXPECT_STREQ(list.GetDescription(), "the 'Item 0001' list item");
}

TEST(LocatorFormDecoder, ConsumesExactlyWhatTheAgentWrites) {
    CListViewItemLocator list;
    SetRect(&list.m_rect, -5, 6, 70, 80);
    list.m_bSelected = 1;
    list.m_item.iItem = 12;
    list.m_item.iSubItem = 0;
    list.m_item.cchTextMax = 256;
    list.m_item.iImage = 3;
    list.m_item.mask = 15;
    list.m_item.state = 2;
    list.m_item.stateMask = 2;
    list.m_item.lParam = 99;
    list.m_item.pszText = list.AllocText(16);
    lstrcpyA(list.m_item.pszText, "Twin");
    std::vector<BYTE> buffer(200, 0);  // the terminator slot is left as it was
    BYTE* cursor = buffer.data();
    list.WriteData(cursor);
    const size_t written = cursor - buffer.data();
    EXPECT_EQ(static_cast<int>(written), list.GetDataSize());

    CWireCursor r(buffer.data(), buffer.data() + buffer.size());
    LocatorForm form;
    ASSERT_TRUE(DecodeLocatorForm(7, r, &form));
    EXPECT_EQ(r.Offset(), written);
    EXPECT_EQ(form.rect.left, -5);
    EXPECT_EQ(form.rect.bottom, 80);
    EXPECT_TRUE(form.bSelected);
    EXPECT_EQ(form.listView.iItem, 12);
    EXPECT_EQ(form.listView.iImage, 3);
    EXPECT_EQ(form.listView.lParam, 99u);
    EXPECT_EQ(form.Text(), "Twin");
    EXPECT_EQ(EncodedLocatorFormSize(form), written);

    std::vector<uint8_t> again(200, 0);  // the terminator slot is left as it was, on both sides
    CWireCursor w(again.data(), again.data() + again.size());
    ASSERT_TRUE(EncodeLocatorForm(form, w));
    EXPECT_EQ(std::memcmp(again.data(), buffer.data(), written), 0);

    CWireCursor shortReader(buffer.data(), buffer.data() + written - 1);
    EXPECT_FALSE(DecodeLocatorForm(7, shortReader, &form));
    CWireCursor any(buffer.data(), buffer.data() + buffer.size());
    EXPECT_FALSE(DecodeLocatorForm(5, any, &form));
}

TEST(LocatorFormDecoder, AgentAndControllerAgreeOnTheBytesOfEveryKind) {
    size_t count = 0;
    const ItemKindInfo* kinds = AllItemKinds(&count);
    ASSERT_GT(count, 0u);
    for (size_t k = 0; k < count; ++k) {
        const int kind = kinds[k].nCode;
        std::unique_ptr<CItemLocator> agent = Make(kind);
        ASSERT_NE(agent, nullptr) << kinds[k].pszName;
        SetRect(&agent->m_rect, -7, 8, 900, 1000);
        agent->m_dwFlags = 0x00AB0001;
        agent->m_bSelected = 1;
        std::vector<BYTE> written(4096, 0);
        BYTE* cursor = written.data();
        agent->SetDataLimit(written.data() + written.size());
        agent->WriteData(cursor);
        ASSERT_FALSE(agent->HasDataOverrun()) << kinds[k].pszName;
        written.resize(cursor - written.data());

        // The controller reads exactly those bytes and writes them again.
        CWireCursor in(written.data(), written.data() + written.size());
        LocatorForm form;
        ASSERT_TRUE(DecodeLocatorForm(kind, in, &form)) << kinds[k].pszName;
        EXPECT_EQ(in.Remaining(), 0u) << kinds[k].pszName;
        EXPECT_EQ(form.rect.left, -7);
        EXPECT_EQ(form.rect.bottom, 1000);
        EXPECT_EQ(form.dwFlags, 0x00AB0001u);
        std::vector<BYTE> again(written.size(), 0);
        CWireCursor out(again.data(), again.data() + again.size());
        ASSERT_TRUE(EncodeLocatorForm(form, out)) << kinds[k].pszName;
        EXPECT_EQ(again, written) << kinds[k].pszName;
        EXPECT_EQ(EncodedLocatorFormSize(form), written.size()) << kinds[k].pszName;

        // A form cut short by one byte is refused by both sides.
        CWireCursor cut(written.data(), written.data() + written.size() - 1);
        EXPECT_FALSE(DecodeLocatorForm(kind, cut, &form)) << kinds[k].pszName;
        std::unique_ptr<CItemLocator> reader = Make(kind);
        cursor = written.data();
        reader->SetDataLimit(written.data() + written.size() - 1);
        reader->ReadData(cursor);
        EXPECT_TRUE(reader->HasDataOverrun()) << kinds[k].pszName;
        EXPECT_EQ(cursor, written.data()) << kinds[k].pszName;
    }
}

TEST(WireCursor, AnAccessThatDoesNotFitFailsItAndEveryLaterOne) {
    BYTE bytes[10] = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0};
    CWireCursor c(bytes, bytes + sizeof(bytes));
    EXPECT_EQ(c.ReadU32(), 1u);
    EXPECT_EQ(c.ReadU32(), 2u);
    EXPECT_EQ(c.ReadU32(), 0u) << "two bytes are left: nothing is read";
    EXPECT_FALSE(c.Ok());
    EXPECT_EQ(c.Offset(), 8u);
    EXPECT_EQ(c.ReadU8(), 0u) << "a failed cursor stays failed";
    EXPECT_EQ(c.Offset(), 8u);

    const BYTE* constant = bytes;
    CWireCursor reader(constant, constant + sizeof(bytes));
    EXPECT_FALSE(reader.WriteU8(9).Ok()) << "a read-only cursor never writes";
    EXPECT_EQ(bytes[0], 1);

    // A text field is written whole, terminator slot included, or not at all.
    BYTE small[9];
    std::memset(small, 0xEE, sizeof(small));
    CWireCursor w(small, small + sizeof(small));
    EXPECT_FALSE(w.WriteText("abc", 3, TextField::Terminated).Ok());
    for (BYTE b : small) EXPECT_EQ(b, 0xEE);
    CWireCursor plain(small, small + sizeof(small));
    EXPECT_TRUE(plain.WriteText("abc", 3, TextField::Plain).Ok());
    EXPECT_EQ(plain.Remaining(), 0u);
}

}  // namespace

