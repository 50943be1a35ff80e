// Accessible items (kind 12) of the sample's accessibility window, which
// runs in a process of its own: objects are recorded under the cursor by
// the info probe and found again by the agent's narrowing of candidates.
// Expected rectangles come from the sample's contract (client coordinates
// of the accessibility window).
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <string>

#include "client/AccessibleForms.h"
#include "forms/ItemKinds.h"
#include "tests/accessibility/AccessibleSampleSuite.h"

namespace {

const std::string kWindowSuffix = std::string(" (") + sample::kAccWindowClass + ")";
const std::string kScrollerSuffix = std::string(" (") + sample::kAccScrollerClass + ")";

class AccessibleItemTest : public CAccessibleSampleSuite<AccessibleItemTest> {
protected:
    // Records the object at a point of the window's client area.
    LocatorForm RecordAt(int x, int y, HWND window = nullptr) {
        LocatorForm form;
        EXPECT_TRUE(Record(kItemKindAccessible, window ? window : m_window, ScreenOf(m_window, x, y), &form));
        return form;
    }
    LocateResult Find(const LocatorForm& form) {
        LocateResult found = Locate(kItemKindAccessible, m_window, form);
        EXPECT_EQ(found.status, AgentStatus::Ok) << AgentStatusText(found.status);
        return found;
    }
    void ExpectFound(const LocatorForm& form, const RECT& expected) {
        LocateResult found = Find(form);
        ASSERT_TRUE(found.found) << "expected " << RectText(expected) << " for '" << form.accessible.name << "'";
        EXPECT_TRUE(EqualRect(&found.form.rect, &expected))
            << "came " << RectText(found.form.rect) << ", expected " << RectText(expected);
    }
    void ExpectNotFound(const LocatorForm& form) {
        LocateResult found = Find(form);
        EXPECT_FALSE(found.found) << "found at " << RectText(found.form.rect) << " for '" << form.accessible.name
                                  << "'";
    }
    // A form built from what the tree holds, as a recording would give it.
    static LocatorForm Form(const std::string& name, const std::string& role, int level, int childCount,
                            const std::string& description = std::string()) {
        return AccessibleItemForm(name, role, level, childCount, description);
    }
};

TEST_F(AccessibleItemTest, RecordsAnObjectWithItsRoleTextAndFindsItAgain) {
    LocatorForm ok = RecordAt(50, 40);
    EXPECT_EQ(ok.accessible.name, "OK");
    EXPECT_EQ(ok.accessible.role, "push button" + kWindowSuffix);
    EXPECT_EQ(ok.accessible.description, "Accept the changes");
    EXPECT_EQ(ok.accessible.nLevel, 2);
    EXPECT_EQ(ok.accessible.nChildId, 0);
    EXPECT_EQ(ok.accessible.nChildCount, 0);
    EXPECT_EQ(ok.accessible.nVersion, 2);
    EXPECT_EQ(ok.accessible.nRoleIndex, 1);
    ExpectFound(ok, RECT{20, 30, 120, 60});
}

TEST_F(AccessibleItemTest, RoleTexts) {
    // A simple element: its role and the child count of its parent.
    LocatorForm beta = RecordAt(180, 85);
    EXPECT_EQ(beta.accessible.name, "Beta");
    EXPECT_EQ(beta.accessible.role, "list item" + kWindowSuffix);
    EXPECT_EQ(beta.accessible.nChildId, 7);
    EXPECT_EQ(beta.accessible.nChildCount, 8);
    EXPECT_EQ(beta.accessible.nLevel, 2);
    ExpectFound(beta, RECT{130, 70, 230, 100});
    // A role given as a string is that string, without a class.
    LocatorForm gauge = RecordAt(70, 150);
    EXPECT_EQ(gauge.accessible.role, "gauge");
    EXPECT_EQ(gauge.accessible.value, "7 bar");
    ExpectFound(gauge, RECT{20, 140, 120, 170});
    // An object whose window cannot be found: the role's name alone.
    LocatorForm orphan = RecordAt(180, 150);
    EXPECT_EQ(orphan.accessible.name, "Orphan");
    EXPECT_EQ(orphan.accessible.role, "push button");
    ExpectFound(orphan, RECT{130, 140, 230, 170});
    // Objects of the scrolling area carry its class.
    LocatorForm nearItem = RecordAt(sample::kAccScrollerX + 50, sample::kAccScrollerY + 30);
    EXPECT_EQ(nearItem.accessible.name, "Near");
    EXPECT_EQ(nearItem.accessible.role, "list item" + kScrollerSuffix);
    EXPECT_EQ(nearItem.accessible.nLevel, 3);
}

TEST_F(AccessibleItemTest, TextsLongerThan255CharactersAreCut) {
    LocatorForm longer = RecordAt(290, 155);
    EXPECT_EQ(longer.accessible.name, "Long " + std::string(250, 'n'));
    EXPECT_EQ(longer.accessible.description, std::string(255, 'd'));
    EXPECT_EQ(longer.accessible.role, std::string(255, 'r'));
    ExpectFound(longer, RECT{240, 140, 340, 170});
    // A form's text is cut as well: the reply carries 255 characters.
    LocatorForm sent = longer;
    sent.accessible.name = "Long " + std::string(400, 'n');
    LocateResult found = Find(sent);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.form.accessible.name.size(), 255u);
}

TEST_F(AccessibleItemTest, ANamelessObjectTakesTheNameOfTheDescendantWithItsRectangle) {
    LocatorForm inner = RecordAt(400, 85);
    EXPECT_EQ(inner.accessible.name, "Inner Label");
    EXPECT_EQ(inner.accessible.role, "static text" + kWindowSuffix);
    // Level 2 of the nameless button plus 1 below it.
    EXPECT_EQ(inner.accessible.nLevel, 3);
    ExpectFound(inner, RECT{350, 70, 580, 100});
}

TEST_F(AccessibleItemTest, TwinsAreToldApartByTheirDescription) {
    LocatorForm second = RecordAt(290, 45);
    EXPECT_EQ(second.accessible.name, "Twin");
    EXPECT_EQ(second.accessible.description, "Second twin");
    // Counted among the push buttons in walk order: OK, Twin, Twin.
    EXPECT_EQ(second.accessible.nRoleIndex, 3);
    ExpectFound(second, RECT{240, 30, 340, 60});
    LocatorForm first = second;
    first.accessible.description = "first TWIN";  // compared ignoring case
    ExpectFound(first, RECT{130, 30, 230, 60});
}

TEST_F(AccessibleItemTest, NarrowingStepsAndTheirFallbacks) {
    const std::string button = "push button" + kWindowSuffix;
    // Identical in every field and one rectangle: the first in walk order.
    ExpectFound(Form("Stacked", button, 2, 0), RECT{20, 180, 120, 210});
    // Identical in every field, two rectangles: nothing.
    ExpectNotFound(Form("Clone", button, 2, 0));
    // No candidate with the recorded child count: the candidates before
    // that step go on to the rectangle step.
    ExpectFound(Form("Stacked", button, 2, 99), RECT{20, 180, 120, 210});
    ExpectNotFound(Form("Clone", button, 2, 99));
    // Two elements alike but for their child identifiers.
    LocatorForm chip = RecordAt(290, 195);
    EXPECT_EQ(chip.accessible.name, "Chip");
    EXPECT_EQ(chip.accessible.nChildId, 9);
    ExpectFound(chip, RECT{240, 180, 340, 210});
    chip.accessible.nChildId = 8;
    ExpectFound(chip, RECT{130, 180, 230, 210});
    // A name nobody has ends the search although later fields would match.
    ExpectNotFound(Form("Nobody", button, 2, 0, "Accept the changes"));
    // Role texts are compared ignoring case.
    ExpectFound(Form("OK", "PUSH BUTTON" + kWindowSuffix, 2, 0, "Accept the changes"), RECT{20, 30, 120, 60});
    // A recorded depth of 0 leaves the window's object alone.
    RECT window;
    GetWindowRect(m_window, &window);
    MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&window), 2);
    ExpectFound(Form("Accessibility Sample", "client" + kWindowSuffix, 0, 5), window);
    ExpectNotFound(Form("Buttons", "grouping" + kWindowSuffix, 0, 8));
}

TEST_F(AccessibleItemTest, RoleCodeInsteadOfRoleText) {
    LocatorForm ok = Form("OK", "no such role", 2, 0, "Accept the changes");
    ok.accessible.bUseRoleCode = 1;
    ok.accessible.nRoleCode = 0;  // collected objects carry code 0: all pass
    ExpectFound(ok, RECT{20, 30, 120, 60});
    ok.accessible.nRoleCode = ROLE_SYSTEM_PUSHBUTTON;
    ExpectNotFound(ok);
}

TEST_F(AccessibleItemTest, FormVersions) {
    LocatorForm ok = RecordAt(50, 40);
    for (int version = 0; version <= 2; ++version) {
        LocatorForm sent = ok;
        sent.accessible.nVersion = version;
        LocateResult found = Find(sent);
        EXPECT_TRUE(found.found) << "version " << version;
        EXPECT_EQ(found.form.accessible.nVersion, version);
        EXPECT_EQ(found.form.accessible.name, "OK") << "version " << version;
    }
    // The reply to a form of version 0 carries all eleven fields: the
    // record holds the found flag, the form, the value and the role index.
    LocatorForm old = ok;
    old.accessible.nVersion = 0;
    ASSERT_TRUE(Find(old).found);
    const uint8_t* pRecord = s_client->View();
    CWireCursor reply(pRecord + 8, pRecord + s_client->RecordSize());
    LocatorForm back;
    ASSERT_TRUE(DecodeLocatorForm(kItemKindAccessible, reply, &back));
    std::string value;
    ASSERT_TRUE(reply.ReadText(value, TextField::Plain));
    EXPECT_EQ(value, "");
    // Version 0 did not carry the role index: it is the one a new locator has.
    EXPECT_EQ(reply.ReadI32(), -1) << "role index after the value";
}

TEST_F(AccessibleItemTest, OffScreenObjectsAreNotCandidates) {
    LocatorForm farRight = Form("Far Right", "list item" + kScrollerSuffix, 3, 0);
    ExpectNotFound(farRight);
    ASSERT_EQ(SendMessageA(m_window, sample::kMsgAccScrollTo, 800, 0), 1);
    // Now partly inside the area: 900 - 800 = 100 to the right of its origin.
    RECT expected = {sample::kAccScrollerX + 100, sample::kAccScrollerY + 20, sample::kAccScrollerX + 200,
                     sample::kAccScrollerY + 50};
    ExpectFound(farRight, expected);
}

TEST_F(AccessibleItemTest, AFaultingObjectEndsOnlyItsOwnReading) {
    // Its description code raises a structured exception: the reading ends
    // there, with the name and role already taken.
    LocatorForm faulty = RecordAt(180, 255);
    EXPECT_EQ(faulty.accessible.name, "Faulty");
    EXPECT_EQ(faulty.accessible.role, "push button" + kWindowSuffix);
    EXPECT_EQ(faulty.accessible.description, "");
    EXPECT_TRUE(s_app->IsRunning());
    // A fault in the value code ends the reading before the child count,
    // the rectangle and the child identifier: they keep the probe's values.
    LocatorForm faultyValue = RecordAt(400, 255);
    EXPECT_EQ(faultyValue.accessible.name, "Faulty Value");
    EXPECT_EQ(faultyValue.accessible.description, "Its value faults");
    EXPECT_EQ(faultyValue.accessible.value, "");
    EXPECT_TRUE(IsRectEmpty(&faultyValue.rect)) << RectText(faultyValue.rect);
    EXPECT_TRUE(s_app->IsRunning());
    // Walks pass through them and the object after the first is found.
    LocatorForm after = RecordAt(290, 255);
    EXPECT_EQ(after.accessible.name, "After Faulty");
    ExpectFound(after, RECT{240, 240, 340, 270});
    // The object whose every call fails is a candidate with empty texts.
    ExpectFound(Form("After Faulty", "push button" + kWindowSuffix, 2, 0), RECT{240, 240, 340, 270});
    EXPECT_TRUE(s_app->IsRunning());
}

TEST_F(AccessibleItemTest, NothingWithTheCursorObjectsRectangleLeavesTheFormAsItWas) {
    // The cursor is on "OK", which the scrolling area's tree does not hold.
    LocatorForm form;
    ASSERT_TRUE(Record(kItemKindAccessible, m_scroller, ScreenOf(m_window, 50, 40), &form));
    EXPECT_EQ(form.accessible.name, "");
    EXPECT_EQ(form.accessible.role, "");
    EXPECT_EQ(form.accessible.nLevel, 0);
    EXPECT_EQ(form.accessible.nRoleIndex, -1);
    EXPECT_EQ(form.accessible.nVersion, 2);
    EXPECT_TRUE(IsRectEmpty(&form.rect)) << RectText(form.rect);
}

TEST_F(AccessibleItemTest, ItemAtTheCursor) {
    const POINT at = ScreenOf(m_window, 70, 85);  // element "Alpha"
    ASSERT_TRUE(CProxyWindow::MoveCursor(at.x, at.y));
    // The point of the request is not used: the cursor's is.
    ItemAtResult result = GetItemRect(*s_client, m_window, kItemKindAccessible, 0, 0);
    ASSERT_EQ(result.status, AgentStatus::Ok);
    EXPECT_EQ(result.index, 0);
    const RECT expected = {20, 70, 120, 100};
    EXPECT_TRUE(EqualRect(&result.rect, &expected)) << "came " << RectText(result.rect);
}

}  // namespace
