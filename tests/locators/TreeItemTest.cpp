// Tree items of the sample's tree view through the agent's requests: what
// the info probe records, the two searches and their order by strategy,
// twins, changed images, shortened paths, expansion side effects, the
// selected item, rectangle parts, hit tests, and handles, depths and
// ancestor counts that come from outside.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "forms/ItemKinds.h"
#include "forms/TreeItemForm.h"
#include "locators/GrowArray.h"
#include "locators/TreeItemLocator.h"
#include "tests/locators/ItemsBed.h"

namespace {

typedef TItemForm<TreeItemFields> TreeForm;

class TreeItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_record.Ok());
        m_tree = ItemsControl(sample::kItemsTreeId);
        ASSERT_NE(m_tree, nullptr);
        ASSERT_EQ(ItemsMessage(sample::kMsgTreeDefault), sample::kTreeNodeCount);
        ItemsMessage(sample::kMsgTreeSelect, 0);
    }

    HTREEITEM Node(int id) { return reinterpret_cast<HTREEITEM>(ItemsMessage(sample::kMsgTreeGetItem, id)); }
    static uint32_t Low32(HTREEITEM h) { return static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(h)); }
    RECT NodeRect(int id, bool bTextOnly = true) {
        RECT rect = {0, 0, 0, 0};
        HTREEITEM h = Node(id);
        std::memcpy(&rect, &h, sizeof(h));
        if (!SendMessageA(m_tree, TVM_GETITEMRECT, bTextOnly ? 1 : 0, reinterpret_cast<LPARAM>(&rect))) SetRectEmpty(&rect);
        return rect;
    }
    bool Expanded(int id) { return ItemsMessage(sample::kMsgTreeIsExpanded, id) != 0; }

    static TreeForm Form(const char* text, int image, std::vector<std::string> path) {
        TreeForm form;
        form.fields.text = text;
        form.fields.iImage = image;
        form.fields.cchTextMax = 256;
        form.fields.mask = 3;
        for (const std::string& step : path) {
            TreePathStep s;
            s.text = step;
            form.fields.path.push_back(s);
        }
        return form;
    }
    LocateReply<TreeItemFields> Locate(const TreeForm& form, SearchArgument param) {
        return m_record.Locate(m_tree, kItemKindTree, form, param);
    }
    // Expects the item found to be node id (text rectangle unless asked).
    void ExpectFound(const TreeForm& form, SearchArgument param, int id, const char* what) {
        LocateReply<TreeItemFields> reply = Locate(form, param);
        ASSERT_TRUE(reply.ok && reply.hasForm) << what;
        EXPECT_TRUE(reply.found) << what << ": expected node " << id;
        const RECT expected = NodeRect(id, param.part != ReportedPart::kWholeLine);
        EXPECT_TRUE(EqualRect(&reply.form.base.rect, &expected))
            << what << ": came " << RectText(reply.form.base.rect) << ", expected node " << id << " at " << RectText(expected);
    }
    void ExpectNotFound(const TreeForm& form, SearchArgument param, const char* what) {
        LocateReply<TreeItemFields> reply = Locate(form, param);
        ASSERT_TRUE(reply.ok) << what;
        EXPECT_FALSE(reply.found) << what << ": found at " << RectText(reply.form.base.rect);
    }

    CRecordBed m_record;
    HWND m_tree = nullptr;
};

// ---- recording through the info probe ---------------------------------------

TEST_F(TreeItemTest, ProbeRecordsItemWithAncestryRootFirst) {
    ItemsMessage(sample::kMsgTreeSelect, 4);
    ProbeReply<TreeItemFields> reply = m_record.Probe<TreeItemFields>(m_tree, kItemKindTree, Low32(Node(4)));
    ASSERT_TRUE(reply.ok && reply.hasItem);
    EXPECT_EQ(reply.kind, 8u);
    const TreeItemFields& f = reply.form.fields;
    EXPECT_EQ(f.text, "Summary");
    EXPECT_EQ(f.iImage, 3);
    EXPECT_EQ(f.lParam, 4u);
    EXPECT_EQ(f.hItem, Low32(Node(4)));
    EXPECT_EQ(f.cchTextMax, 256);
    EXPECT_EQ(f.mask, 0x7Fu);
    EXPECT_EQ(reply.form.base.bSelected, 1);
    ASSERT_EQ(f.path.size(), 3u);
    const char* texts[] = {"Documents", "Reports", "2025"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(f.path[i].text, texts[i]) << "ancestor " << i;
        EXPECT_EQ(f.path[i].iImage, i) << "ancestor " << i;
    }
    // A root item has no ancestors.
    ProbeReply<TreeItemFields> root = m_record.Probe<TreeItemFields>(m_tree, kItemKindTree, Low32(Node(9)));
    ASSERT_TRUE(root.ok && root.hasItem);
    EXPECT_EQ(root.form.fields.text, "Projects");
    EXPECT_TRUE(root.form.fields.path.empty());
    EXPECT_EQ(root.form.base.bSelected, 0);
}

TEST_F(TreeItemTest, RecordedFormFindsItsItemAgainAfterTheTreeWasRebuilt) {
    ProbeReply<TreeItemFields> recorded = m_record.Probe<TreeItemFields>(m_tree, kItemKindTree, Low32(Node(22)));
    ASSERT_TRUE(recorded.ok && recorded.hasItem);
    ItemsMessage(sample::kMsgTreeReorder);
    ItemsMessage(sample::kMsgTreeCollapseAll);
    // Node 22's twins (4, 8, 11) come first in pre-order: only the path
    // search tells them apart.
    ExpectFound(recorded.form, SearchStrategy::kPathFirst, 22, "recorded Archive/Reports/2025/Summary, path first");
    EXPECT_TRUE(Expanded(19)) << "the path's ancestors are expanded on the way";
}

TEST_F(TreeItemTest, MadeUpHandlesAreNotUsed) {
    // Low 32 bits of no item of this tree: the item is not loaded, and the
    // reply says so with an empty record.
    for (uint32_t handle : {0x12345678u, 0xFFFFFFFFu, 1u, Low32(Node(4)) + 8u}) {
        ProbeReply<TreeItemFields> reply = m_record.Probe<TreeItemFields>(m_tree, kItemKindTree, handle);
        ASSERT_TRUE(reply.ok && reply.hasItem) << std::hex << handle;
        EXPECT_EQ(reply.form.fields.hItem, 0u) << std::hex << handle;
        EXPECT_TRUE(reply.form.fields.text.empty()) << std::hex << handle << ": " << reply.form.fields.text;
        EXPECT_TRUE(reply.form.fields.path.empty()) << std::hex << handle;
    }
    // The tree is intact.
    EXPECT_EQ(SendMessageA(m_tree, TVM_GETCOUNT, 0, 0), sample::kTreeNodeCount);
}

TEST_F(TreeItemTest, WriteThenReadReproducesTheLocator) {
    CTreeItemLocator loaded;
    loaded.LoadItem(m_tree, static_cast<int>(Low32(Node(3))));
    ASSERT_EQ(loaded.m_nPathCount, 2);
    std::vector<BYTE> buffer(static_cast<size_t>(loaded.GetDataSize()));
    BYTE* pWrite = buffer.data();
    loaded.SetDataLimit(buffer.data() + buffer.size());
    loaded.WriteData(pWrite);
    ASSERT_FALSE(loaded.HasDataOverrun());
    // The declared size reserves four bytes per ancestor more than written.
    EXPECT_EQ(static_cast<size_t>(pWrite - buffer.data()), buffer.size() - 4 * 2);

    CTreeItemLocator read;
    BYTE* pRead = buffer.data();
    read.SetDataLimit(buffer.data() + buffer.size());
    read.ReadData(pRead);
    ASSERT_FALSE(read.HasDataOverrun());
    EXPECT_EQ(pRead, pWrite);
    EXPECT_STREQ(read.m_item.pszText, "2025");
    EXPECT_EQ(read.m_pathTexts, (std::vector<std::string>{"Documents", "Reports"}));
    EXPECT_EQ(read.m_pathImages, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(read.m_item.iImage, loaded.m_item.iImage);
    EXPECT_EQ(read.m_item.state, loaded.m_item.state);
    EXPECT_EQ(read.m_item.lParam, 3);
    EXPECT_STREQ(read.GetDescription(), "the '2025' tree item");
}

// ---- strategies ----------------------------------------------------------------

TEST_F(TreeItemTest, TwinsWalkFindsFirstInPreOrderPathFindsTheRecordedBranch) {
    const TreeForm twin = Form("Summary", 3, {"Projects", "Alpha"});
    ExpectFound(twin, SearchStrategy::kTextFirst, 4, "strategy 0");
    ExpectFound(twin, static_cast<SearchStrategy>(2), 4, "strategy 2 (walk first, like 0)");
    ExpectFound(twin, SearchStrategy::kPathFirst, 11, "strategy 1");
    ExpectFound(Form("Summary", 3, {"Documents", "Letters"}), SearchStrategy::kPathFirst, 8, "strategy 1, Letters");
}

TEST_F(TreeItemTest, ChangedImageFoundThroughThePathSearch) {
    ASSERT_EQ(ItemsMessage(sample::kMsgTreeSetImage, 12, 0), 1);
    const TreeForm notes = Form("Notes", 2, {"Projects", "Alpha"});
    // Strategy 0: the walk sees Notes only with another image (a fallback),
    // which keeps its pass from the path search; the second pass finds it.
    ExpectFound(notes, SearchStrategy::kTextFirst, 12, "strategy 0");
    ExpectFound(notes, SearchStrategy::kPathFirst, 12, "strategy 1");
    // Without a matching path, the fallback alone is never reported.
    ExpectNotFound(Form("Notes", 2, {"Nowhere", "Else"}), SearchStrategy::kPathFirst, "strategy 1, wrong path");
    ExpectNotFound(Form("Notes", 2, {"Nowhere", "Else"}), SearchStrategy::kTextFirst, "strategy 0, wrong path");
}

TEST_F(TreeItemTest, PathSearchLooksOnlyBelowTheRecordedParent) {
    // Beta sits beside the recorded parent Alpha, not below it: with its
    // image changed, only a search that strayed beside Alpha would take it.
    ASSERT_EQ(ItemsMessage(sample::kMsgTreeSetImage, 13, 0), 1);
    ExpectNotFound(Form("Beta", 1, {"Projects", "Alpha"}), SearchStrategy::kPathFirst, "Beta recorded below Alpha");
    // Alpha recorded below itself: the parent is not its own child.
    ASSERT_EQ(ItemsMessage(sample::kMsgTreeSetImage, 10, 0), 1);
    ExpectNotFound(Form("Alpha", 1, {"Projects", "Alpha"}), SearchStrategy::kPathFirst, "Alpha recorded below Alpha");
    ExpectFound(Form("Beta", 1, {"Projects"}), SearchStrategy::kPathFirst, 13, "Beta below Projects");
}

TEST_F(TreeItemTest, RootItemFoundOnlyByTheWalk) {
    ExpectFound(Form("Projects", 0, {}), SearchStrategy::kTextFirst, 9, "strategy 0");
    ExpectFound(Form("Projects", 0, {}), SearchStrategy::kPathFirst, 9, "strategy 1 (second pass)");
    ASSERT_EQ(ItemsMessage(sample::kMsgTreeSetImage, 9, 3), 1);
    ExpectNotFound(Form("Projects", 0, {}), SearchStrategy::kTextFirst, "root with a changed image");
}

TEST_F(TreeItemTest, ComparisonIsCaseSensitive) {
    ExpectNotFound(Form("summary", 3, {"Projects", "Alpha"}), SearchStrategy::kTextFirst, "lower-case text");
    // With its image changed, Notes is found only through its path.
    ASSERT_EQ(ItemsMessage(sample::kMsgTreeSetImage, 12, 0), 1);
    ExpectNotFound(Form("Notes", 2, {"projects", "alpha"}), SearchStrategy::kPathFirst, "lower-case path");
    ExpectFound(Form("Notes", 2, {"Projects", "Alpha"}), SearchStrategy::kPathFirst, 12, "the path as recorded");
}

TEST_F(TreeItemTest, ShortenedPathMatchedFromTheRootLevel) {
    ItemsMessage(sample::kMsgTreeDropTopLevel);
    // Recorded under Archive/Reports/2025; Archive is gone, and Reports/2025
    // from the root level is first the former Documents branch.
    ExpectFound(Form("Summary", 3, {"Archive", "Reports", "2025"}), SearchStrategy::kPathFirst, 4, "path without its first ancestor");
    ExpectFound(Form("Plan", 2, {"Projects", "Beta"}), SearchStrategy::kPathFirst, 14, "Beta now a root");
}

TEST_F(TreeItemTest, PathSearchExpandsAncestorsButNotTheRecordedParent) {
    ItemsMessage(sample::kMsgTreeCollapseAll);
    ASSERT_FALSE(Expanded(9));
    // Later creates its children only when expanded: not found while it is
    // collapsed, by either search; its ancestor Projects was expanded.
    ExpectNotFound(Form("Later 2", 2, {"Projects", "Later"}), SearchStrategy::kPathFirst, "strategy 1 under collapsed Later");
    ExpectNotFound(Form("Later 2", 2, {"Projects", "Later"}), SearchStrategy::kTextFirst, "strategy 0 under collapsed Later");
    EXPECT_TRUE(Expanded(9)) << "Projects";
    EXPECT_FALSE(Expanded(15)) << "Later, the recorded parent";
    TreeView_Expand(m_tree, Node(15), TVE_EXPAND);
    PumpMessages();
    ExpectFound(Form("Later 2", 2, {"Projects", "Later"}), SearchStrategy::kPathFirst, 17, "after Later was expanded");
}

TEST_F(TreeItemTest, FoundItemIsMadeVisible) {
    ItemsMessage(sample::kMsgTreeCollapseAll);
    ASSERT_FALSE(Expanded(2));
    // The walk sees the collapsed item; TVM_ENSUREVISIBLE expands its
    // ancestors.
    ExpectFound(Form("Budget", 3, {"Documents", "Reports", "2025"}), SearchStrategy::kTextFirst, 5, "strategy 0");
    EXPECT_TRUE(Expanded(1) && Expanded(2) && Expanded(3));
}

TEST_F(TreeItemTest, SelectedItemStrategy) {
    ExpectNotFound(Form("", 0, {}), SearchStrategy::kCurrent, "no selection");
    ASSERT_EQ(ItemsMessage(sample::kMsgTreeSelect, 14), 1);
    ExpectFound(Form("Anything", 0, {}), SearchStrategy::kCurrent, 14, "strategy 4");
}

TEST_F(TreeItemTest, RectanglePartByBits8To10) {
    const TreeForm budget = Form("Budget", 3, {"Documents", "Reports", "2025"});
    ExpectFound(budget, ReportedPart::kWholeLine, 5, "whole line");
    ExpectFound(budget, ReportedPart::kIcon, 5, "part 2: the text");
    LocateReply<TreeItemFields> line = Locate(budget, ReportedPart::kWholeLine);
    LocateReply<TreeItemFields> text = Locate(budget, SearchStrategy::kTextFirst);
    EXPECT_LT(line.form.base.rect.left, text.form.base.rect.left);
    EXPECT_GT(line.form.base.rect.right, text.form.base.rect.right);
}

// ---- hit tests --------------------------------------------------------------------

TEST_F(TreeItemTest, HitTestGivesTheHandleAndTextRectangle) {
    const RECT text = NodeRect(10);  // Alpha, visible below the expanded root Projects
    ASSERT_FALSE(IsZero(text));
    const RECT screen = ToScreen(m_tree, text);
    ItemAtReply hit = m_record.ItemAt(m_tree, kItemKindTree, POINT{screen.left + 2, (screen.top + screen.bottom) / 2});
    ASSERT_TRUE(hit.ok);
    EXPECT_EQ(static_cast<uint32_t>(hit.index), Low32(Node(10)));
    EXPECT_TRUE(EqualRect(&hit.rect, &text)) << "came " << RectText(hit.rect) << ", expected " << RectText(text);

    // Below the last item and outside the tree: misses.
    RECT client;
    GetClientRect(m_tree, &client);
    const RECT last = ToScreen(m_tree, NodeRect(20));
    for (POINT miss : {POINT{last.left + 2, ToScreen(m_tree, client).bottom - 3}, POINT{ToScreen(m_tree, client).left - 20, last.top + 2}}) {
        ItemAtReply reply = m_record.ItemAt(m_tree, kItemKindTree, miss);
        ASSERT_TRUE(reply.ok);
        EXPECT_EQ(reply.index, -1) << miss.x << "," << miss.y;
        EXPECT_TRUE(IsZero(reply.rect)) << RectText(reply.rect);
    }
}

// ---- what comes from outside ------------------------------------------------------

TEST_F(TreeItemTest, TextsLongerThanTheBuffersAreCut) {
    ASSERT_EQ(ItemsMessage(sample::kMsgTreeSetLongText, 12, 3000), 1);
    ProbeReply<TreeItemFields> reply = m_record.Probe<TreeItemFields>(m_tree, kItemKindTree, Low32(Node(12)));
    ASSERT_TRUE(reply.ok && reply.hasItem);
    EXPECT_EQ(reply.form.fields.text, std::string(255, 'L'));
    // A long ancestor text is cut the same way.
    ASSERT_EQ(ItemsMessage(sample::kMsgTreeSetLongText, 10, 600), 1);
    reply = m_record.Probe<TreeItemFields>(m_tree, kItemKindTree, Low32(Node(11)));
    ASSERT_TRUE(reply.ok && reply.hasItem);
    ASSERT_EQ(reply.form.fields.path.size(), 2u);
    EXPECT_EQ(reply.form.fields.path[1].text, std::string(255, 'L'));
    // A form's over-long texts are cut to what a fetch gives, so the
    // recorded item is found again.
    ExpectFound(Form(std::string(3000, 'L').c_str(), 2, {"Projects", std::string(600, 'L')}), SearchStrategy::kPathFirst, 12, "long texts");
}

TEST_F(TreeItemTest, NegativeOrHugeAncestorCountsAreRefused) {
    for (int32_t count : {-1, -1000, 1001, 0x7FFFFFFF, static_cast<int32_t>(0x80000000u), 5000}) {
        CWireCursor w = m_record.Begin();
        w.WriteU16(kItemKindTree).WriteU32(0);
        WriteForm(w, ItemFormBase());
        for (int i = 0; i < 4; ++i) w.WriteI32(0);
        w.WriteI32(count);
        for (int i = 0; i < 5; ++i) w.WriteU32(0);
        w.WriteText("Summary", 7, TextField::Terminated);
        // Enough bytes behind for a few thousand empty ancestors.
        for (int i = 0; i < 10000 && w.Fits(4); ++i) w.WriteU32(0);
        ASSERT_TRUE(w.Ok());
        m_record.LocateItem(m_tree);
        CWireCursor r(m_record.View(), m_record.View() + m_record.Size());
        const uint32_t header = r.ReadU32();
        const uint32_t found = r.ReadU32();
        EXPECT_TRUE(header == 0xFFFFFFFFu || (header == 0 && found == 0))
            << "count " << count << ": header " << std::hex << header << " found " << found;
    }
    EXPECT_EQ(SendMessageA(m_tree, TVM_GETCOUNT, 0, 0), sample::kTreeNodeCount);
}

TEST_F(TreeItemTest, DeepTreesAreSearchedToTheirDepthBoundAndNoFurther) {
    ASSERT_EQ(ItemsMessage(sample::kMsgTreeChain, 1500), 1500);
    // Level 999 is the deepest the walk reaches; Level 1000 lies beyond it.
    ExpectFound(Form("Level 999", 999 % 4, {}), SearchStrategy::kTextFirst, 1000, "Level 999 by the walk");
    ExpectNotFound(Form("Level 1000", 1000 % 4, {}), SearchStrategy::kTextFirst, "Level 1000 by the walk");
    // The info probe meets handles only down to the same depth.
    ProbeReply<TreeItemFields> deep = m_record.Probe<TreeItemFields>(m_tree, kItemKindTree, Low32(Node(1000)));
    ASSERT_TRUE(deep.ok && deep.hasItem);
    EXPECT_EQ(deep.form.fields.text, "Level 999");
    EXPECT_EQ(deep.form.fields.path.size(), 999u);
    ProbeReply<TreeItemFields> beyond = m_record.Probe<TreeItemFields>(m_tree, kItemKindTree, Low32(Node(1200)));
    ASSERT_TRUE(beyond.ok && beyond.hasItem);
    EXPECT_TRUE(beyond.form.fields.text.empty()) << "Level 1199 was loaded";
    // The recorded deep item is found again by its 999-step path.
    ExpectFound(deep.form, SearchStrategy::kPathFirst, 1000, "Level 999 by its path");
}

TEST(GrowArrayTest, GrowsByItsStepAndKeepsTheOrder) {
    CGrowArray array(2, 4);
    EXPECT_EQ(array.GetCapacity(), 2);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(array.Add(static_cast<ULONG_PTR>(100 + i)), i);
        if (i == 2) {
            EXPECT_EQ(array.GetCapacity(), 6);
        }
    }
    EXPECT_EQ(array.GetCapacity(), 10);
    ASSERT_EQ(array.GetCount(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(array.GetAt(i), static_cast<ULONG_PTR>(100 + i));
    // Full pointer-sized values survive.
    const ULONG_PTR big = static_cast<ULONG_PTR>(-1) - 5;
    EXPECT_EQ(array.GetAt(array.Add(big)), big);
}

}  // namespace
