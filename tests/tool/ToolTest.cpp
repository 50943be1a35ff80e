// The vintrel tool as a person (or a script) uses it, against the sample
// application in a process of its own: listing windows with their kinds,
// recording items by pointing at them, finding and clicking them again in a
// restarted, changed sample, JSON output, and one clear line per error.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include <commctrl.h>

#include <nlohmann/json.hpp>

#include "common/Owned.h"
#include "sample/SampleProtocol.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/SampleProcess.h"

namespace {

struct ToolRun : ChildRun {
    std::vector<nlohmann::json> JsonLines() const {
        std::vector<nlohmann::json> json;
        for (const std::string& line : Lines()) json.push_back(nlohmann::json::parse(line));
        return json;
    }
};

ToolRun Vintrel(const std::string& arguments) {
    ToolRun run;
    static_cast<ChildRun&>(run) = RunChildProgram("vintrel.exe", arguments);
    return run;
}

// The sample's watch window, which holds its tab controls.
HWND WatchWindowOf(const CSampleProcess& app) {
    return FindTopWindowOfProcess(app.ProcessId(), sample::kWatchWindowClass);
}

// The tool has no default target: the sample's frame is named.
const std::string kSampleFrame = std::string("--class ") + sample::kFrameClass;

std::string Point(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

int LastClick(const CSampleProcess& app, int* source, int* index) {
    const LRESULT click = app.Send(sample::kMsgGetLastClick);
    *source = static_cast<int>((click >> 16) & 0xFF);
    *index = static_cast<int>(click & 0xFFFF);
    return static_cast<int>((click >> 24) & 0xFF);
}

void PressEscape() {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

TEST(ToolWindows, ListsTheSamplesControlsWithTheKindsTheAgentUses) {
    CSampleProcess app;
    std::string error;
    ASSERT_TRUE(app.Start("--no-dialog --items 10", &error)) << error;
    ToolRun run = Vintrel("--json windows " + kSampleFrame);
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    struct Expected {
        const char* cls;
        int id;
        const char* kind;
        int depth;
        bool seen;
    } expected[] = {{"VintrelSampleFrame", -1, "menubar", 0, false},
                    {"SysListView32", sample::kListViewId, "listview", 1, false},
                    {"msctls_statusbar32", sample::kStatusId, "statusbar", 1, false},
                    {"Edit", sample::kDeepEditId, "accessible", 3, false},
                    {"Afx:00400000:8:", sample::kAfxChildId, "accessible", 1, false}};
    for (const nlohmann::json& window : run.JsonLines()) {
        for (Expected& e : expected) {
            // The sample's items window has controls of the same classes.
            if (window["class"] != e.cls || (e.id >= 0 && window["id"] != e.id)) continue;
            e.seen = true;
            EXPECT_EQ(window["kind"], e.kind) << e.cls;
            EXPECT_EQ(window["depth"], e.depth) << e.cls;
        }
    }
    for (const Expected& e : expected) EXPECT_TRUE(e.seen) << e.cls << " not listed:\n" << run.out;

    // The same as text: one indented line per window.
    ToolRun text = Vintrel("windows " + kSampleFrame);
    ASSERT_EQ(text.exitCode, 0u) << text.err;
    EXPECT_NE(text.out.find("  0x"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("SysListView32 id 1001"), std::string::npos) << text.out;
}

TEST(ToolRecording, ItemsRecordedByPointingAreFoundAndClickedInARestartedChangedSample) {
    const std::string dir = TestProgramDirectory();
    const std::string listFile = dir + "tool-list-item.bin", menuFile = dir + "tool-menu-item.bin",
                      tabFile = dir + "tool-tab.bin";
    std::string error;
    std::string listText;
    int menuPosition = -1;
    {
        CSampleProcess app;
        ASSERT_TRUE(app.Start("--no-dialog --items 40 --at 40,40", &error)) << error;
        RECT list;
        GetWindowRect(app.Control(sample::kListViewId), &list);
        ToolRun item = Vintrel("--json record --at " + Point({list.left + 60, list.top + 80}) + " \"" + listFile + "\"");
        ASSERT_EQ(item.exitCode, 0u) << item.err << item.out;
        const nlohmann::json recorded = item.JsonLines().at(0);
        EXPECT_EQ(recorded["item"]["kind"], "listview");
        listText = recorded["item"]["text"];
        EXPECT_EQ(listText.compare(0, 5, "Item "), 0) << listText;
        EXPECT_EQ(recorded["item"]["description"], "the '" + listText + "' list item");

        // The menu bar lies just above the frame's client area.
        POINT bar = {0, 0};
        ClientToScreen(app.Frame(), &bar);
        bar.x += 60;
        bar.y -= GetSystemMetrics(SM_CYMENU) / 2;
        ToolRun menu = Vintrel("record --at " + Point(bar) + " \"" + menuFile + "\"");
        ASSERT_EQ(menu.exitCode, 0u) << menu.err << menu.out;
        EXPECT_NE(menu.out.find("menu item (kind menubar, index "), std::string::npos) << menu.out;
        menuPosition = std::stoi(menu.out.substr(menu.out.find("index ") + 6));

        // The first tab of the watch window's tab control, "Alpha".
        HWND tabs = GetDlgItem(WatchWindowOf(app), sample::kTabTextId);
        ASSERT_NE(tabs, nullptr);
        RECT r;
        GetWindowRect(tabs, &r);
        ToolRun tab = Vintrel("--json record --at " + Point({r.left + 12, r.top + 10}) + " \"" + tabFile + "\"");
        ASSERT_EQ(tab.exitCode, 0u) << tab.err << tab.out;
        EXPECT_EQ(tab.JsonLines().at(0)["item"]["kind"], "tab");
        EXPECT_EQ(tab.JsonLines().at(0)["item"]["text"], "Alpha");
    }

    // Another run: the items reversed, the frame elsewhere.
    CSampleProcess app;
    ASSERT_TRUE(app.Start("--no-dialog --items 40 --order reversed --at 130,90", &error)) << error;
    ToolRun found = Vintrel("--json find \"" + listFile + "\"");
    ASSERT_EQ(found.exitCode, 0u) << found.err << found.out;
    const nlohmann::json result = found.JsonLines().at(0);
    EXPECT_EQ(result["window"]["match"], "match");
    EXPECT_EQ(result["item"]["found"], true);
    EXPECT_EQ(result["item"]["text"], listText);
    RECT list;
    GetWindowRect(app.Control(sample::kListViewId), &list);
    const nlohmann::json& screen = result["item"]["screen"];
    EXPECT_GE(screen["top"].get<long>(), list.top);
    EXPECT_LE(screen["bottom"].get<long>(), list.bottom);
    const int expectedIndex = 39 - std::stoi(listText.substr(5));

    struct Click {
        const char* options;
        int button;
    } clicks[] = {{"", sample::kClickLeft}, {" --right", sample::kClickRight}, {" --double", sample::kClickDouble}};
    for (const Click& click : clicks) {
        app.Send(sample::kMsgClearLastClick);
        ToolRun clicked = Vintrel("click \"" + listFile + "\"" + click.options);
        ASSERT_EQ(clicked.exitCode, 0u) << clicked.err << clicked.out;
        int source = 0, index = -1;
        for (int wait = 0; wait < 50 && LastClick(app, &source, &index) != click.button; ++wait) Sleep(20);
        EXPECT_EQ(LastClick(app, &source, &index), click.button) << click.options;
        EXPECT_EQ(source, sample::kClickSourceList) << click.options;
        EXPECT_EQ(index, expectedIndex) << click.options;
    }

    app.Send(sample::kMsgClearLastClick);
    ToolRun menuClick = Vintrel("click \"" + menuFile + "\"");
    ASSERT_EQ(menuClick.exitCode, 0u) << menuClick.err << menuClick.out;
    int source = 0, index = -1;
    for (int wait = 0; wait < 50 && !LastClick(app, &source, &index); ++wait) Sleep(20);
    EXPECT_EQ(source, sample::kClickSourceMenuBar);
    EXPECT_EQ(index, menuPosition);
    PressEscape();
    PressEscape();

    // The tabs reversed: "Alpha" is the last of six, and a click selects it.
    HWND watch = WatchWindowOf(app);
    HWND tabs = GetDlgItem(watch, sample::kTabTextId);
    ASSERT_NE(tabs, nullptr);
    ASSERT_TRUE(SendMessageA(watch, sample::kMsgWatchReverseTabs, sample::kTabTextId, 0));
    ToolRun tabClick = Vintrel("--json click \"" + tabFile + "\"");
    ASSERT_EQ(tabClick.exitCode, 0u) << tabClick.err << tabClick.out;
    EXPECT_EQ(tabClick.JsonLines().at(0)["item"]["text"], "Alpha");
    LRESULT current = -1;
    for (int wait = 0; wait < 50 && (current = SendMessageA(tabs, TCM_GETCURSEL, 0, 0)) != 5; ++wait) Sleep(20);
    EXPECT_EQ(current, 5) << "the clicked tab is the current one";
}

TEST(ToolErrors, EachFailureIsOneClearLineAndANonZeroExit) {
    CSampleProcess app;
    std::string error;
    ASSERT_TRUE(app.Start("--no-dialog --items 10 --at 40,40", &error)) << error;
    POINT caption = {200, 50};  // on the frame's caption: no list view there

    struct Case {
        std::string arguments;
        const char* message;
    } cases[] = {
        {"find \"" + TestProgramDirectory() + "no-such-record.bin\"", "cannot open"},
        {"ping --hwnd 0x1", "no target window"},
        {"item-at --kind listview --at " + Point(caption), "the window is no list view"},
        {"item-at --kind nothing --at " + Point(caption), "is no item kind"},
        {"ping " + kSampleFrame + " --control 4242", "no control with id 4242"},
        // No default target: the command says how to name one.
        {"ping", "no target named: give --hwnd H, --class NAME, --title TEXT or --at X,Y"},
        {"windows --control 1001", "no target named"},
        {"record \"" + TestProgramDirectory() + "no-target.bin\"", "no target named"},
        {"frobnicate", "unknown command 'frobnicate'"},
    };
    for (const Case& c : cases) {
        ToolRun run = Vintrel(c.arguments);
        EXPECT_NE(run.exitCode, 0u) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << c.arguments << ": " << run.err;
        EXPECT_EQ(run.err.compare(0, 9, "vintrel: "), 0) << c.arguments << ": " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;

        ToolRun json = Vintrel("--json " + c.arguments);
        EXPECT_EQ(json.exitCode, run.exitCode) << c.arguments;
        std::vector<nlohmann::json> lines = json.JsonLines();
        ASSERT_EQ(lines.size(), 1u) << c.arguments << ": " << json.out;
        const std::string message = lines[0]["error"]["message"];
        EXPECT_NE(message.find(c.message), std::string::npos) << c.arguments << ": " << message;
    }
}

}  // namespace
