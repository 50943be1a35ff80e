// The numbers a controller and the agent exchange for item kinds and
// search arguments, written out once: every other test and all the code
// name them. A change here is a change of the wire.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "forms/ItemKinds.h"
#include "forms/SearchArgument.h"

namespace {

TEST(WireCodesTest, EveryKindHasItsCode) {
    EXPECT_EQ(kItemKindMenuBar, 3);
    EXPECT_EQ(kItemKindToolbar, 4);
    EXPECT_EQ(kItemKindPopupMenu, 6);
    EXPECT_EQ(kItemKindListView, 7);
    EXPECT_EQ(kItemKindTree, 8);
    EXPECT_EQ(kItemKindListBox, 9);
    EXPECT_EQ(kItemKindTab, 10);
    EXPECT_EQ(kItemKindStatusBar, 11);
    EXPECT_EQ(kItemKindAccessible, 12);
    EXPECT_EQ(kItemKindScrollingAccessible, 13);

    size_t count = 0;
    const ItemKindInfo* kinds = AllItemKinds(&count);
    ASSERT_EQ(count, 10u) << "a kind was added or dropped: pin its code above";
    std::set<int> codes;
    for (size_t k = 0; k < count; ++k) {
        EXPECT_TRUE(codes.insert(kinds[k].nCode).second) << "code " << kinds[k].nCode << " twice";
        if (k) EXPECT_LT(kinds[k - 1].nCode, kinds[k].nCode) << "the registry is in code order";
    }
    for (int none : {0, 1, 2, 5, 14, 0xFFFF}) EXPECT_EQ(FindItemKind(none), nullptr) << none << " is no kind";
}

TEST(WireCodesTest, SearchArgumentBits) {
    // Bits 0-2: the strategy.
    EXPECT_EQ(SearchArgument().Wire(), 0u);
    EXPECT_EQ(SearchArgument(SearchStrategy::kTextFirst).Wire(), 0u);
    EXPECT_EQ(SearchArgument(SearchStrategy::kImageFirst).Wire(), 1u);
    EXPECT_EQ(SearchArgument(SearchStrategy::kPathFirst).Wire(), 1u);
    EXPECT_EQ(SearchArgument(SearchStrategy::kRecordedIndex).Wire(), 3u);
    EXPECT_EQ(SearchArgument(SearchStrategy::kCurrent).Wire(), 4u);
    // Bits 8-10: the reported part.
    EXPECT_EQ(SearchArgument(ReportedPart::kWhole).Wire(), 0u);
    EXPECT_EQ(SearchArgument(ReportedPart::kWholeLine).Wire(), 0x100u);
    EXPECT_EQ(SearchArgument(ReportedPart::kIcon).Wire(), 0x200u);
    EXPECT_EQ(SearchArgument(ReportedPart::kLabel).Wire(), 0x300u);
    EXPECT_EQ(SearchArgument(ReportedPart::kSelectBounds).Wire(), 0x400u);
    EXPECT_EQ(SearchArgument(SearchStrategy::kRecordedIndex, ReportedPart::kLabel).Wire(), 0x303u);
    // Values no kind names travel as they are, within their three bits.
    EXPECT_EQ(SearchArgument(static_cast<SearchStrategy>(7), static_cast<ReportedPart>(7)).Wire(), 0x707u);
    EXPECT_EQ(SearchArgument(static_cast<SearchStrategy>(9), static_cast<ReportedPart>(9)).Wire(), 0x101u);
    EXPECT_EQ(static_cast<uint32_t>(SearchArgument(ReportedPart::kLabel)), 0x300u) << "the request takes the wire value";
}

TEST(WireCodesTest, SearchArgumentFromTheWire) {
    for (uint32_t wire : {0u, 1u, 3u, 4u, 0x100u, 0x303u, 0x404u, 0x707u}) {
        EXPECT_EQ(SearchArgument::FromWire(wire).Wire(), wire) << std::hex << wire;
    }
    // Bits beside the two fields are not read.
    const SearchArgument noisy = SearchArgument::FromWire(0xFFFFF8FCu);
    EXPECT_EQ(noisy.strategy, SearchStrategy::kCurrent);
    EXPECT_EQ(noisy.part, ReportedPart::kWhole);
    EXPECT_TRUE(SearchArgument::FromWire(5).HasCurrentBit());
    EXPECT_FALSE(SearchArgument::FromWire(3).HasCurrentBit());
}

}  // namespace
