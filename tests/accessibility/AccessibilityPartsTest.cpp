// Parts of the accessible kinds that need no target: the fault guard
// around an object's own code, the overhang that decides whether and which
// way to scroll, and the forms' counted and versioned fields.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "accessibility/AccessibleItemLocator.h"
#include "accessibility/FaultGuard.h"
#include "accessibility/ScrollingAccessibleItemLocator.h"
#include "forms/AccessibleItemForm.h"
#include "forms/FormTransfer.h"
#include "forms/PopupMenuItemForm.h"

namespace {

// Writes to the top page of the address space, which no process may touch
// (the zero page is mapped under some runtimes).
void WriteThroughNull() {
    int* volatile p = reinterpret_cast<int*>(~static_cast<uintptr_t>(0xFFF));
    *p = 7;
}

TEST(FaultGuardTest, AStructuredExceptionEndsOnlyTheGuardedCall) {
    int nSteps = 0;
    DWORD dwCode = 0;
    EXPECT_TRUE(RunGuarded([&] { ++nSteps; }, &dwCode));
    EXPECT_EQ(nSteps, 1);

    EXPECT_FALSE(RunGuarded(
        [&] {
            ++nSteps;
            RaiseException(0xE0564E31, 0, 0, nullptr);
            ++nSteps;
        },
        &dwCode));
    EXPECT_EQ(nSteps, 2) << "the call went on after the exception";
    EXPECT_EQ(dwCode, 0xE0564E31u);

    EXPECT_FALSE(RunGuarded([] { WriteThroughNull(); }, &dwCode));
    EXPECT_EQ(dwCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));

    // A fault inside an inner guard leaves the outer call running.
    bool bInner = true, bOuterRanOn = false;
    EXPECT_TRUE(RunGuarded([&] {
        bInner = RunGuarded([] { WriteThroughNull(); });
        bOuterRanOn = true;
    }));
    EXPECT_FALSE(bInner);
    EXPECT_TRUE(bOuterRanOn);
    // Without a guard the handler is gone: the process's own handling
    // applies again (checked by a guard of our own here).
    EXPECT_TRUE(RunGuarded([] {}));
}

TEST(OverhangTest, TheSeventyPercentRuleAndTheDirections) {
    typedef CScrollingAccessibleItemLocator L;
    const RECT w = {100, 100, 200, 200};
    // Inside: nothing to do.
    EXPECT_EQ(L::HorizontalOverhang(w, RECT{120, 120, 150, 150}), 0);
    // Width 10 with 7 inside: 10 x 0.7f is just below 7.
    EXPECT_EQ(L::HorizontalOverhang(w, RECT{193, 120, 203, 130}), 0);
    EXPECT_EQ(L::VerticalOverhang(w, RECT{120, 193, 130, 203}), 0);
    // 6 of 10 inside: scroll right by the 4 outside.
    EXPECT_EQ(L::HorizontalOverhang(w, RECT{194, 120, 204, 130}), 4);
    EXPECT_EQ(L::VerticalOverhang(w, RECT{120, 194, 130, 204}), 4);
    // Sticking out on the left or the top: scroll back by however little.
    EXPECT_EQ(L::HorizontalOverhang(w, RECT{99, 120, 150, 130}), -1);
    EXPECT_EQ(L::VerticalOverhang(w, RECT{120, 90, 130, 150}), -10);
    // Wider than the window on both sides: no horizontal scrolling.
    EXPECT_EQ(L::HorizontalOverhang(w, RECT{90, 120, 210, 130}), 0);
    // Its left edge at the window's left edge: the need is capped by that
    // distance, 0.
    EXPECT_EQ(L::HorizontalOverhang(w, RECT{100, 120, 400, 130}), 0);
    // Far to the right: capped by the left edge's distance.
    EXPECT_EQ(L::HorizontalOverhang(w, RECT{150, 120, 400, 130}), 50);
}

TEST(AccessibleDescriptionTest, NameAndRoleOnlyWhenBothFitTheBuffer) {
    CAccessibleItemLocator item;
    lstrcpyA(item.m_szName, "OK");
    lstrcpyA(item.m_szRole, "push button");
    EXPECT_STREQ(item.GetDescription(), "OK push button");
    // 200 + 54 characters, the blank and the terminator fill the 256 bytes.
    const std::string name(200, 'n');
    lstrcpyA(item.m_szName, name.c_str());
    lstrcpyA(item.m_szRole, std::string(54, 'r').c_str());
    EXPECT_EQ(std::string(item.GetDescription()), name + " " + std::string(54, 'r'));
    // One more would not fit: the buffer keeps what it held.
    lstrcpyA(item.m_szRole, std::string(55, 'x').c_str());
    EXPECT_EQ(std::string(item.GetDescription()), name + " " + std::string(54, 'r'));
    // Only a description, with a percent sign: copied as it is.
    CAccessibleItemLocator other;
    lstrcpyA(other.m_szAccDescription, "100% sure");
    EXPECT_STREQ(other.GetDescription(), "100% sure");
}

TEST(AccessibleFormsTest, PathCountsAndVersions) {
    // A popup path whose count is negative is empty; the reader stops after it.
    std::vector<BYTE> bytes = {0x2A, 0, 0, 0, 1, 0, 0, 0, 0, 0xFF, 0xFF, 0xEE};
    CWireCursor cursor(bytes.data(), bytes.data() + bytes.size());
    PopupMenuItemFields popup;
    popup.path.resize(3);
    ASSERT_TRUE(ReadForm(cursor, popup));
    EXPECT_EQ(popup.nItemId, 42u);
    EXPECT_EQ(popup.bUseMenuBar, 1);
    EXPECT_TRUE(popup.path.empty());
    EXPECT_EQ(cursor.Offset(), 11u);
    // A count the bytes cannot hold fails before anything is allocated.
    bytes = {0x2A, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x7F, 1, 0, 0, 0, 2, 0, 0, 0};
    CWireCursor shortCursor(bytes.data(), bytes.data() + bytes.size());
    EXPECT_FALSE(ReadForm(shortCursor, popup));

    // Version 0 of an accessible form ends after the child identifier; the
    // agent's writer (all fields) adds the value and the role index.
    AccessibleItemFields form;
    form.name = "OK";
    form.nVersion = 0;
    form.nRoleIndex = 3;
    const uint64_t nShort = FormSize(form);
    form.bAllFields = true;
    EXPECT_EQ(FormSize(form), nShort + 4 + 4);
    std::vector<BYTE> wire(static_cast<size_t>(FormSize(form)));
    CWireCursor writer(wire.data(), wire.data() + wire.size());
    ASSERT_TRUE(WriteForm(writer, form));
    CWireCursor reader(wire.data(), wire.data() + wire.size());
    AccessibleItemFields back;
    ASSERT_TRUE(ReadForm(reader, back));
    EXPECT_EQ(back.nVersion, 0);
    EXPECT_EQ(back.nRoleIndex, -1) << "version 0 carries no role index";
    EXPECT_EQ(reader.Offset(), static_cast<size_t>(nShort));
}

}  // namespace
