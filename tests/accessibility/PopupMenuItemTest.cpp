// Popup-menu items (kind 6) of the sample's popup menu and of its frame's
// menu bar, in the sample's own process: paths found by command
// identifier, paths carried in by the request, the menu bar instead of the
// given menu, the hit test over the open menu, and recording by the info
// probe. Item rectangles of the open menu are asked from the sample.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "client/AccessibleForms.h"
#include "forms/ItemKinds.h"
#include "tests/accessibility/AccessibleSampleSuite.h"

namespace {

std::string PathText(const std::vector<PopupMenuStep>& path) {
    return path.empty() ? "empty" : PopupPathText(path);
}

class PopupMenuItemTest : public CAccessibleSampleSuite<PopupMenuItemTest> {
protected:
    void SetUp() override {
        CAccessibleSampleSuite::SetUp();
        if (HasFatalFailure()) return;
        m_root = static_cast<uint32_t>(SendMessageA(m_window, sample::kMsgAccGetPopupMenu, 0, 0));
        ASSERT_NE(m_root, 0u);
    }
    void TearDown() override {
        SendMessageA(m_window, sample::kMsgAccClosePopup, 0, 0);
        CAccessibleSampleSuite::TearDown();
    }
    static LocatorForm Form(uint32_t id, std::vector<PopupMenuStep> path = {}) {
        LocatorForm form = PopupMenuItemForm(id);
        form.popupMenu.path = path;
        return form;
    }
    LocateResult Find(const LocatorForm& form, HWND window = nullptr, uint32_t menu = 0xFFFFFFFF) {
        LocateResult found = Locate(kItemKindPopupMenu, window ? window : m_window, form, menu == 0xFFFFFFFF ? m_root : menu);
        EXPECT_EQ(found.status, AgentStatus::Ok) << AgentStatusText(found.status);
        return found;
    }
    // Positions of the path, and whether step i counts in the root menu.
    static std::vector<uint32_t> Positions(const LocateResult& found) {
        std::vector<uint32_t> positions;
        for (const PopupMenuStep& step : found.form.popupMenu.path) positions.push_back(step.nPosition);
        return positions;
    }
    bool OpenPopup() {
        const POINT at = ScreenOf(m_window, 420, 300);
        SendMessageA(m_window, sample::kMsgAccOpenPopup, at.x, at.y);
        for (int i = 0; i < 100; ++i) {
            if (SendMessageA(m_window, sample::kMsgAccIsPopupOpen, 0, 0) == 1) {
                Sleep(200);  // until it is shown
                return true;
            }
            Sleep(20);
        }
        return false;
    }
    // The open menu's own window (class #32768) in the sample's process: the
    // window a controller sends the hit test to, as the menu probe reports it.
    // (Given another window, the platform offsets a popup item's rectangle
    // by that window's position.)
    HWND MenuWindow() const {
        HWND hwnd = nullptr;
        while ((hwnd = FindWindowExA(nullptr, hwnd, "#32768", nullptr)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == s_app->ProcessId() && IsWindowVisible(hwnd)) return hwnd;
        }
        return nullptr;
    }
    RECT OpenItemRect(uint32_t menu, int position) {
        const ULONGLONG packed =
            static_cast<ULONGLONG>(SendMessageA(m_window, sample::kMsgAccMenuItemRect, menu, position));
        return {static_cast<short>(packed & 0xFFFF), static_cast<short>((packed >> 16) & 0xFFFF),
                static_cast<short>((packed >> 32) & 0xFFFF), static_cast<short>((packed >> 48) & 0xFFFF)};
    }

    uint32_t m_root = 0;
};

TEST_F(PopupMenuItemTest, PathsAreFoundLevelFirstThenDepthFirst) {
    // The direct item comes before the submenus that hold the same id.
    LocateResult shared = Find(Form(sample::kAccCmdShared));
    ASSERT_TRUE(shared.found);
    ASSERT_EQ(shared.form.popupMenu.path.size(), 1u) << PathText(shared.form.popupMenu.path);
    EXPECT_EQ(shared.form.popupMenu.path[0].nPosition, 4u);
    EXPECT_EQ(shared.form.popupMenu.path[0].hMenu, m_root);
    // Of two items with one id, the lower position.
    EXPECT_EQ(Positions(Find(Form(sample::kAccCmdTwice))), std::vector<uint32_t>({5}));
    // The first submenu holds a nested one without the item: that branch
    // leaves no entries.
    LocateResult target = Find(Form(sample::kAccCmdTarget));
    ASSERT_TRUE(target.found);
    EXPECT_EQ(Positions(target), std::vector<uint32_t>({2, 0})) << PathText(target.form.popupMenu.path);
    EXPECT_EQ(target.form.popupMenu.path[0].hMenu, m_root);
    EXPECT_NE(target.form.popupMenu.path[1].hMenu, m_root);
    // Three levels: each step counts in the menu of the step before.
    LocateResult deepest = Find(Form(sample::kAccCmdDeepest));
    ASSERT_TRUE(deepest.found);
    EXPECT_EQ(Positions(deepest), std::vector<uint32_t>({1, 1, 0})) << PathText(deepest.form.popupMenu.path);
    EXPECT_NE(deepest.form.popupMenu.path[1].hMenu, deepest.form.popupMenu.path[2].hMenu);
    // The identifier of an item that opens a submenu is -1: the first one.
    EXPECT_EQ(Positions(Find(Form(0xFFFFFFFFu))), std::vector<uint32_t>({1}));
    // An identifier nobody has.
    LocateResult none = Find(Form(9999));
    EXPECT_FALSE(none.found);
    EXPECT_TRUE(none.form.popupMenu.path.empty()) << PathText(none.form.popupMenu.path);
}

TEST_F(PopupMenuItemTest, PathsCarriedInByTheRequestStayInFront) {
    const std::vector<PopupMenuStep> carried = {{7, 0x1234}};
    LocateResult target = Find(Form(sample::kAccCmdTarget, carried));
    ASSERT_TRUE(target.found);
    EXPECT_EQ(Positions(target), std::vector<uint32_t>({7, 2, 0})) << PathText(target.form.popupMenu.path);
    EXPECT_EQ(target.form.popupMenu.path[0].hMenu, 0x1234u);
    LocateResult none = Find(Form(9999, carried));
    EXPECT_FALSE(none.found);
    EXPECT_EQ(Positions(none), std::vector<uint32_t>({7}));
}

TEST_F(PopupMenuItemTest, TheMenuBarInsteadOfTheGivenMenu) {
    LocatorForm save = PopupMenuItemForm(sample::kCmdSave, true);
    // The given menu is ignored: the bar of the request's window is searched.
    LocateResult found = Find(save, s_app->Frame(), m_root);
    ASSERT_TRUE(found.found);
    EXPECT_EQ(Positions(found), std::vector<uint32_t>({0, 2})) << PathText(found.form.popupMenu.path);
    EXPECT_NE(found.form.popupMenu.path[0].hMenu, m_root);
    // A window without a menu bar.
    EXPECT_FALSE(Find(save, m_window, m_root).found);
}

TEST_F(PopupMenuItemTest, HitTestOverTheOpenMenu) {
    ASSERT_TRUE(OpenPopup());
    const RECT first = OpenItemRect(m_root, 0);
    ASSERT_FALSE(IsRectEmpty(&first)) << "no rectangle for the open menu's first item";
    const HWND menuWindow = MenuWindow();
    ASSERT_NE(menuWindow, nullptr);
    ItemAtResult at = GetItemRect(*s_client, menuWindow, kItemKindPopupMenu, Centre(first).x, Centre(first).y, m_root);
    ASSERT_EQ(at.status, AgentStatus::Ok);
    EXPECT_EQ(at.index, sample::kAccCmdOpenItem);
    EXPECT_TRUE(EqualRect(&at.rect, &first)) << "came " << RectText(at.rect) << ", expected " << RectText(first);
    // The right and bottom edges belong to the item (the bottom edge is
    // shared with the next item, which comes later).
    at = GetItemRect(*s_client, menuWindow, kItemKindPopupMenu, first.right, first.bottom, m_root);
    EXPECT_EQ(at.index, sample::kAccCmdOpenItem);
    // An item that opens a submenu: its rectangle, index -1.
    const RECT more = OpenItemRect(m_root, 1);
    at = GetItemRect(*s_client, menuWindow, kItemKindPopupMenu, Centre(more).x, Centre(more).y, m_root);
    EXPECT_EQ(at.index, -1);
    EXPECT_TRUE(EqualRect(&at.rect, &more)) << "came " << RectText(at.rect) << ", expected " << RectText(more);
    // Outside every item.
    at = GetItemRect(*s_client, menuWindow, kItemKindPopupMenu, first.left - 50, first.top - 50, m_root);
    EXPECT_EQ(at.index, -1);
    EXPECT_TRUE(IsRectEmpty(&at.rect)) << RectText(at.rect);
}

TEST_F(PopupMenuItemTest, RecordingTakesTheNameUnderTheCursorAndDecidesOnTheMenuBar) {
    const POINT ok = ScreenOf(m_window, 50, 40);
    // Before any accessible item has bound the accessibility library in the
    // target, the name stays empty.
    LocatorForm form;
    ASSERT_TRUE(Record(kItemKindPopupMenu, m_window, ok, &form, sample::kAccCmdTarget, m_root));
    EXPECT_EQ(form.popupMenu.nItemId, static_cast<uint32_t>(sample::kAccCmdTarget));
    EXPECT_EQ(form.popupMenu.name, "");
    EXPECT_EQ(form.popupMenu.bUseMenuBar, 0);
    EXPECT_TRUE(form.popupMenu.path.empty());
    ASSERT_EQ(GetItemRect(*s_client, m_window, kItemKindAccessible, ok.x, ok.y).status, AgentStatus::Ok);
    ASSERT_TRUE(Record(kItemKindPopupMenu, m_window, ok, &form, sample::kAccCmdTarget, m_root));
    EXPECT_EQ(form.popupMenu.name, "OK");
    // In a child of a window with a menu bar: the bar is used and the frame
    // is described instead.
    HWND list = s_app->Control(sample::kListViewId);
    ProbeResult probe = ProbeWindow(*s_client, list, true, kItemKindPopupMenu, sample::kCmdSave, m_root);
    ASSERT_EQ(probe.status, AgentStatus::Ok);
    ASSERT_TRUE(probe.description.hasItem);
    EXPECT_EQ(probe.description.item.popupMenu.bUseMenuBar, 1);
    EXPECT_EQ(probe.description.window.className, sample::kFrameClass);
}

TEST_F(PopupMenuItemTest, ANameLongerThan255CharactersIsCut) {
    LocatorForm form = Form(sample::kAccCmdTarget);
    form.popupMenu.name = std::string(300, 'm');
    LocateResult found = Find(form);
    ASSERT_TRUE(found.found);
    EXPECT_EQ(found.form.popupMenu.name, std::string(255, 'm'));
}

}  // namespace
