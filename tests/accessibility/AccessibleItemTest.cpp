// Accessible items (kind 12) of the sample's accessibility window, which
// runs in a process of its own: objects are recorded under the cursor by
// the info probe and found again by the agent's narrowing of candidates.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/accessibility/AccessibleSampleSuite.h"

namespace {

const int kAccessible = 12;

class AccessibleItemTest : public CAccessibleSampleSuite<AccessibleItemTest> {
protected:
    // Records the object at a point of the window's client area.
    LocatorForm RecordAt(int x, int y) {
        LocatorForm form;
        EXPECT_TRUE(Record(kAccessible, m_window, ScreenOf(m_window, x, y), &form));
        return form;
    }
    // Locates form and expects the rectangle (client coordinates).
    void ExpectFound(const LocatorForm& form, const RECT& expected) {
        LocateResult found = Locate(kAccessible, m_window, form);
        ASSERT_EQ(found.status, AgentStatus::Ok) << AgentStatusText(found.status);
        ASSERT_TRUE(found.found) << "expected " << RectText(expected) << " for '" << form.accessible.name << "'";
        EXPECT_TRUE(EqualRect(&found.form.rect, &expected))
            << "came " << RectText(found.form.rect) << ", expected " << RectText(expected);
    }
    void ExpectNotFound(const LocatorForm& form) {
        LocateResult found = Locate(kAccessible, m_window, form);
        ASSERT_EQ(found.status, AgentStatus::Ok) << AgentStatusText(found.status);
        EXPECT_FALSE(found.found) << "found at " << RectText(found.form.rect) << " for '" << form.accessible.name << "'";
    }
};

TEST_F(AccessibleItemTest, RecordsAnObjectWithRoleTextAndFindsItAgain) {
    LocatorForm ok = RecordAt(50, 40);
    EXPECT_EQ(ok.accessible.name, "OK");
    EXPECT_EQ(ok.accessible.role, std::string("push button (") + sample::kAccWindowClass + ")");
    EXPECT_EQ(ok.accessible.description, "Accept the changes");
    EXPECT_EQ(ok.accessible.nLevel, 2);
    EXPECT_EQ(ok.accessible.nChildId, 0);
    EXPECT_EQ(ok.accessible.nVersion, 2);
    EXPECT_EQ(ok.accessible.nRoleIndex, 1);
    ExpectFound(ok, RECT{20, 30, 120, 60});
}

}  // namespace
