// The search argument of a locate request: how the agent searches the
// control for a recorded item (the strategy) and which part of the item's
// rectangle it reports. The list-view, tab and tree kinds read it; the
// others ignore it. This header is the one place that knows its bits.
//
// On the wire, one u32: bits 0-2 strategy, bits 8-10 reported part, the
// other bits unused.
#pragma once
#include <cstdint>

// Any value a kind does not name (2, 5, 6, 7) searches text first; the tab
// kind's tabs without text take 5 to 7 as the current tab (they share bit 2
// with kCurrent).
enum class SearchStrategy : uint32_t {
    kTextFirst = 0,
    kImageFirst = 1,
    kPathFirst = 1,  // the tree kind's name for it
    kRecordedIndex = 3,
    kCurrent = 4,  // the selected or current item
};

// Any value a kind does not name reports the whole item.
enum class ReportedPart : uint32_t {
    kWhole = 0,
    kWholeLine = 1,  // tree: the whole line; any other part is the text's
    kIcon = 2,       // list view
    kLabel = 3,      // list view
    kSelectBounds = 4,  // list view: icon and label
};

struct SearchArgument {
    static const uint32_t kStrategyMask = 0x7;
    static const int kPartShift = 8;
    static const uint32_t kPartMask = 0x7;

    SearchStrategy strategy = SearchStrategy::kTextFirst;
    ReportedPart part = ReportedPart::kWhole;

    constexpr SearchArgument() = default;
    constexpr SearchArgument(SearchStrategy s, ReportedPart p = ReportedPart::kWhole) : strategy(s), part(p) {}
    constexpr SearchArgument(ReportedPart p) : part(p) {}

    constexpr uint32_t Wire() const {
        return (static_cast<uint32_t>(strategy) & kStrategyMask) |
               ((static_cast<uint32_t>(part) & kPartMask) << kPartShift);
    }
    // Bit 2 of the strategy, which kCurrent sets: the tab kind's tabs
    // without text take every strategy with it as the current tab.
    constexpr bool HasCurrentBit() const {
        return (static_cast<uint32_t>(strategy) & static_cast<uint32_t>(SearchStrategy::kCurrent)) != 0;
    }
    constexpr operator uint32_t() const { return Wire(); }

    // The bits beyond the two fields are dropped.
    static constexpr SearchArgument FromWire(uint32_t dwWire) {
        return SearchArgument(static_cast<SearchStrategy>(dwWire & kStrategyMask),
                              static_cast<ReportedPart>((dwWire >> kPartShift) & kPartMask));
    }
};
