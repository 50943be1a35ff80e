// The window a screen point means, as the tool's --at takes it, against the
// sample's virtual window in a process of its own: a list view inside a
// group box (the group box lies above it in the z-order and lets the mouse
// through), the group box's own frame with nothing beneath, and a toolbar
// whose button texts come from its string pool, as the tool shows them.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "client/ControlItemForms.h"
#include "client/ItemKindChoice.h"
#include "client/ItemRequests.h"
#include "forms/ItemKinds.h"
#include "sample/SampleProtocol.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/HookedSample.h"
#include "tests/support/SampleProcess.h"

namespace {

std::string Point(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

std::string ClassOf(HWND hwnd) {
    char name[64] = {0};
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

class PointWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_app.reset(new CSampleProcess());
        s_started = s_app->Start("--no-dialog --virtual --virtual-rows 1000", &s_error);
    }
    static void TearDownTestSuite() { s_app.reset(); }
    void SetUp() override {
        ASSERT_TRUE(s_started) << s_error;
        m_window = reinterpret_cast<HWND>(s_app->Send(sample::kMsgGetVirtualWindow));
        ASSERT_NE(m_window, nullptr);
        // The virtual window lies over the frame; keep it on top of the sample's windows.
        SetWindowPos(m_window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    HWND Control(int id) const { return GetDlgItem(m_window, id); }

    static inline std::unique_ptr<CSampleProcess> s_app;
    static inline bool s_started = false;
    static inline std::string s_error;
    HWND m_window = nullptr;
};

TEST_F(PointWindowTest, ListViewInsideAGroupBoxIsTheWindowUnderThePoint) {
    HWND group = Control(sample::kVirtualGroupBoxId);
    HWND list = Control(sample::kVirtualGroupListId);
    ASSERT_TRUE(group && list);
    // The sample made the group box lie above the list view.
    bool groupAbove = false;
    for (HWND w = GetWindow(m_window, GW_CHILD); w && w != list; w = GetWindow(w, GW_HWNDNEXT)) {
        groupAbove = groupAbove || w == group;
    }
    ASSERT_TRUE(groupAbove) << "the group box is not above the list view in the z-order";

    RECT listRect;
    GetWindowRect(list, &listRect);
    const POINT inList = {(listRect.left + listRect.right) / 2, listRect.top + 30};
    HWND chosen = WindowAtPoint(inList);
    EXPECT_EQ(chosen, list) << "chose " << ClassOf(chosen) << " at " << Point(inList);
    HWND target = nullptr;
    EXPECT_EQ(ChooseItemKind(chosen, &inList, &target), kItemKindListView);

    // On the group box's frame nothing lies beneath it: the group box.
    RECT groupRect;
    GetWindowRect(group, &groupRect);
    const POINT onFrame = {groupRect.left + 2, (groupRect.top + groupRect.bottom) / 2};
    EXPECT_EQ(WindowAtPoint(onFrame), group) << "chose " << ClassOf(WindowAtPoint(onFrame));

    // The tool takes the same window and the list view's kind.
    ChildRun run = RunChildProgram("vintrel.exe", "--json item-at --at " + Point(inList));
    ASSERT_EQ(run.exitCode, 0u) << run.out << run.err;
    const nlohmann::json result = nlohmann::json::parse(run.Lines().at(0));
    EXPECT_EQ(result["window"]["class"], "SysListView32") << run.out;
    EXPECT_EQ(result["item"]["kind"], "listview") << run.out;
    EXPECT_EQ(result["item"]["text"].get<std::string>().substr(0, 5), "File ") << run.out;
}

TEST_F(PointWindowTest, ToolShowsTheTextOfAToolbarButtonFromTheStringPool) {
    HWND toolbar = Control(sample::kVirtualToolbarId);
    ASSERT_NE(toolbar, nullptr);
    const int commands[] = {sample::kCmdVirtualAlpha, sample::kCmdVirtualBeta, sample::kCmdVirtualGamma};
    const char* texts[] = {"Alpha", "Beta", "Gamma"};
    POINT centres[3] = {};
    {
        // The buttons' places, from the agent; its record is given back
        // before the tool takes one of its own.
        CAgentClient client;
        std::string error;
        ASSERT_TRUE(OpenTestClient(client, CAgentClient::kDefaultRecordSize, &error)) << error;
        HookReport hook = client.Hook(toolbar);
        ASSERT_TRUE(hook) << hook.error;
        for (int i = 0; i < 3; ++i) {
            LocateResult found = LocateItem(client, toolbar, kItemKindToolbar, 0, ToolbarButtonForm(commands[i]), 0);
            ASSERT_TRUE(found.status == AgentStatus::Ok && found.found) << texts[i];
            centres[i] = {(found.form.rect.left + found.form.rect.right) / 2, (found.form.rect.top + found.form.rect.bottom) / 2};
            ClientToScreen(toolbar, &centres[i]);
        }
    }
    for (int i = 0; i < 3; ++i) {
        ChildRun run = RunChildProgram("vintrel.exe", "--json item-at --at " + Point(centres[i]));
        ASSERT_EQ(run.exitCode, 0u) << run.out << run.err;
        const nlohmann::json result = nlohmann::json::parse(run.Lines().at(0));
        EXPECT_EQ(result["item"]["kind"], "toolbar") << run.out;
        EXPECT_EQ(result["item"]["text"], texts[i]) << run.out;
    }
    ChildRun plain = RunChildProgram("vintrel.exe", "item-at --at " + Point(centres[1]));
    EXPECT_NE(plain.out.find("'Beta'"), std::string::npos) << plain.out;
}

}  // namespace
