// The shared window functions on windows of the test's own thread: class
// names of the Afx pattern, the frame ancestor and its depth, captions,
// descendant counts, title checksums and the desktop-wide class search.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/Owned.h"
#include "tests/windows/TestWindows.h"
#include "windows/WindowFunctions.h"

namespace {

std::string ClassNameOf(HWND hwnd, uint32_t max = 255) {
    char buffer[257];
    std::memset(buffer, 0x5A, sizeof(buffer));
    GetWindowClassName(hwnd, buffer, max);
    return buffer;
}

struct ClassNameCase {
    const char* registered;
    const char* expected;
};

TEST(WindowClassName, AfxNamesWithFiveColonsLoseWhatFollowsTheThirdColon) {
    const ClassNameCase cases[] = {
        {"Afx:00400000:8:00010003:00000000:0A2F0123", "Afx:00400000:8:"},
        {"Afx:1:2", "Afx:1:2"},
        {"Afx:1:2:3:4", "Afx:1:2:3:4"},
        {"Afx:1:2:3:4:5:6", "Afx:1:2:3:4:5:6"},
        {"Xfx:1:2:3:4:5", "Xfx:1:2:3:4:5"},
        {"VtAfx:1:2:3:4:5", "VtAfx:1:2:3:4:5"},
        {"Afx::::::", "Afx::::::"},  // six colons
        {"Afx:::::", "Afx:::"},
    };
    for (const ClassNameCase& c : cases) {
        HWND hwnd = MakeWindow(c.registered, "", WS_POPUP, 0, 0, 10, 10);
        const COwnedWindow hwndOwner(hwnd);
        ASSERT_NE(hwnd, nullptr) << c.registered;
        EXPECT_EQ(ClassNameOf(hwnd), c.expected) << c.registered;
    }
}

TEST(WindowClassName, IsCutToTheGivenLengthAndEmptyForANonWindow) {
    HWND hwnd = MakeWindow("VtLongClassName", "", WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(ClassNameOf(hwnd, 5), "VtLon");
    EXPECT_EQ(ClassNameOf(hwnd, 0), "");
    DestroyWindow(hwnd);
    EXPECT_EQ(ClassNameOf(hwnd), "");
    EXPECT_EQ(ClassNameOf(nullptr), "");
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dialog = MakeWindow("VtFrameDialog", "Ab\xC4\xE9", WS_POPUP | WS_CAPTION, 10, 10, 300, 200);
        m_dialogOwner.Reset(m_dialog);
        m_level1 = MakeWindow("VtLevel", "", WS_CHILD, 0, 0, 200, 100, m_dialog, 1);
        m_level2 = MakeWindow("VtLevel", "", WS_CHILD, 0, 0, 100, 50, m_level1, 2);
        m_level3 = MakeWindow("Edit", "", WS_CHILD, 0, 0, 50, 20, m_level2, 3);
    }
    COwnedWindow m_dialogOwner;
    HWND m_dialog, m_level1, m_level2, m_level3;
};

TEST_F(FrameTest, ControlThreeLevelsBelowACaptionedDialogHasItAsFrameAtDepthThree) {
    uint16_t depth = 0;
    EXPECT_EQ(FindFrameAncestor(m_level3, &depth), m_dialog);
    EXPECT_EQ(depth, 3);
    EXPECT_EQ(FindFrameAncestor(m_level1, &depth), m_dialog);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(FindFrameAncestor(m_level3, nullptr), m_dialog);
}

TEST_F(FrameTest, WindowWithCaptionHasNoFrameAndItsDepthIsLeftAlone) {
    uint16_t depth = 99;
    EXPECT_EQ(FindFrameAncestor(m_dialog, &depth), nullptr);
    EXPECT_EQ(depth, 99);
    // A captioned child is its own frame too; its children stop at it.
    HWND captioned = MakeWindow("VtLevel", "Inner", WS_CHILD | WS_CAPTION, 0, 0, 80, 40, m_level1, 9);
    HWND inner = MakeWindow("VtLevel", "", WS_CHILD, 0, 0, 10, 10, captioned, 10);
    EXPECT_EQ(FindFrameAncestor(captioned, &depth), nullptr);
    EXPECT_EQ(FindFrameAncestor(inner, &depth), captioned);
    EXPECT_EQ(depth, 1);
}

TEST_F(FrameTest, WalkStopsAtTheFirstWindowThatIsNotAChild) {
    HWND top = MakeWindow("VtPlainTop", "plain", WS_POPUP, 0, 0, 100, 100);
    const COwnedWindow topOwner(top);
    HWND a = MakeWindow("VtLevel", "", WS_CHILD, 0, 0, 10, 10, top, 1);
    HWND b = MakeWindow("VtLevel", "", WS_CHILD, 0, 0, 10, 10, a, 2);
    uint16_t depth = 0;
    EXPECT_EQ(FindFrameAncestor(b, &depth), top);
    EXPECT_EQ(depth, 2);
    // No parent and no caption: no frame, depth 0.
    depth = 7;
    EXPECT_EQ(FindFrameAncestor(top, &depth), nullptr);
    EXPECT_EQ(depth, 0);
}

TEST_F(FrameTest, DescendantsAreCountedAtEveryDepth) {
    EXPECT_EQ(CountDescendants(m_dialog), 3u);
    EXPECT_EQ(CountDescendants(m_level2), 1u);
    EXPECT_EQ(CountDescendants(m_level3), 0u);
    EXPECT_EQ(CountDescendants(nullptr), 0u);
}

TEST_F(FrameTest, TitleChecksumCountsCharactersFrom0x80AsNegative) {
    // 'A' 65 + 'b' 98 + 0xC4 (-60) + 0xE9 (-23)
    EXPECT_EQ(GetTitleChecksum(m_dialog), 80);
    // A control is checked by its frame's title.
    EXPECT_EQ(GetTitleChecksum(m_level3), 80);
    SetWindowTextA(m_dialog, "");
    EXPECT_EQ(GetTitleChecksum(m_level3), 0);
    SetWindowTextA(m_dialog, "\xFF\xFF");
    EXPECT_EQ(GetTitleChecksum(m_dialog), -2);
    EXPECT_EQ(GetTitleChecksum(nullptr), 0);
}

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

TEST(FindWindowsByClass, TopLevelMatchesComeFirstThenChildrenGroupedByTopLevelWindow) {
    HWND a = MakeWindow("VtFindMe", "A", WS_POPUP, 0, 0, 50, 50);
    const COwnedWindow aOwner(a);
    HWND a1 = MakeWindow("VtFindMe", "", WS_CHILD, 0, 0, 5, 5, a, 1);
    HWND a2 = MakeWindow("VtFindOther", "", WS_CHILD, 0, 0, 5, 5, a, 2);
    HWND a2x = MakeWindow("VtFindMe", "", WS_CHILD, 0, 0, 5, 5, a2, 3);
    HWND b = MakeWindow("VtFindOther", "B", WS_POPUP, 0, 0, 50, 50);
    const COwnedWindow bOwner(b);
    HWND b1 = MakeWindow("VtFindMe", "", WS_CHILD, 0, 0, 5, 5, b, 1);
    HWND c = MakeWindow("VtFindMe", "C", WS_POPUP, 0, 0, 50, 50);
    const COwnedWindow cOwner(c);

    std::vector<HWND> found(1, reinterpret_cast<HWND>(0x1234));  // kept: the search appends
    const int count = FindWindowsByClass("vtfindme", found);
    ASSERT_EQ(count, 6);
    ASSERT_EQ(found.size(), 6u);
    EXPECT_EQ(found[0], reinterpret_cast<HWND>(0x1234));

    std::vector<HWND> topOrder;
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&topOrder));
    auto topPos = [&](HWND w) { return std::find(topOrder.begin(), topOrder.end(), w) - topOrder.begin(); };
    // Top-level matches in enumeration order, before any child.
    const bool aFirst = topPos(a) < topPos(c);
    EXPECT_EQ(found[1], aFirst ? a : c);
    EXPECT_EQ(found[2], aFirst ? c : a);
    // Children of a (a1 before its sibling's child a2x) and of b, each group
    // where its top-level window stands in the enumeration.
    std::vector<HWND> groupA = {a1, a2x}, groupB = {b1};
    std::vector<HWND> expected = topPos(a) < topPos(b) ? groupA : groupB;
    const std::vector<HWND>& second = topPos(a) < topPos(b) ? groupB : groupA;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(std::vector<HWND>(found.begin() + 3, found.end()), expected);

    std::vector<HWND> none;
    EXPECT_EQ(FindWindowsByClass("", none), 0);
}

}  // namespace
