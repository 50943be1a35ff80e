// vintrel items, as a script uses it against the sample: one JSON object
// with the window, the kind, the count and every item with its rectangles
// and the kind's own fields; --all, --depth and --max; the table for a
// person.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "sample/SampleProtocol.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/SampleProcess.h"

namespace {

nlohmann::json RunItemsJson(const std::string& arguments) {
    const ChildRun run = RunChildProgram("vintrel.exe", "--json items " + arguments);
    EXPECT_EQ(run.exitCode, 0u) << run.out << run.err;
    const std::vector<std::string> lines = run.Lines();
    EXPECT_EQ(lines.size(), 1u) << run.out;
    return lines.empty() ? nlohmann::json() : nlohmann::json::parse(lines[0]);
}

std::string HandleArgument(HWND hwnd) {
    char text[32];
    std::snprintf(text, sizeof(text), "0x%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return text;
}

TEST(ToolItems, ListViewItemsAsOneJsonObject) {
    CSampleProcess app;
    std::string error;
    ASSERT_TRUE(app.Start("--no-dialog --items 12", &error)) << error;
    HWND list = app.Control(sample::kListViewId);
    const nlohmann::json result = RunItemsJson("--class VintrelSampleFrame --control " + std::to_string(sample::kListViewId));
    ASSERT_TRUE(result.is_object());
    EXPECT_EQ(result["kind"], "listview");
    EXPECT_EQ(result["window"]["class"], "SysListView32");
    ASSERT_EQ(result["count"], 12);
    ASSERT_EQ(result["items"].size(), 12u);
    const nlohmann::json& item = result["items"][3];
    EXPECT_EQ(item["index"], 3);
    EXPECT_EQ(item["text"], "Item 0003");
    ASSERT_EQ(item["rect"].size(), 4u);
    ASSERT_EQ(item["columns"].size(), 2u);
    EXPECT_TRUE(item["visible"].get<bool>());
    POINT topLeft = {item["rect"][0].get<int>(), item["rect"][1].get<int>()};
    ClientToScreen(list, &topLeft);
    EXPECT_EQ(item["screen"][0], topLeft.x);
    EXPECT_EQ(item["screen"][1], topLeft.y);
    EXPECT_EQ(item["screen"][2].get<int>() - item["screen"][0].get<int>(),
              item["rect"][2].get<int>() - item["rect"][0].get<int>());
    EXPECT_EQ(result["items"][10]["text"], "Twin");

    const nlohmann::json bounded = RunItemsJson("--class VintrelSampleFrame --control " + std::to_string(sample::kListViewId) + " --max 4");
    EXPECT_EQ(bounded["count"], 4);
    EXPECT_EQ(bounded["items"].size(), 4u);

    // The table: a heading and a line per item.
    const ChildRun table = RunChildProgram("vintrel.exe", "items --class VintrelSampleFrame --control " + std::to_string(sample::kListViewId));
    ASSERT_EQ(table.exitCode, 0u) << table.err;
    EXPECT_EQ(table.Lines().size(), 13u) << table.out;
    EXPECT_NE(table.out.find("'Item 0011'"), std::string::npos) << table.out;
}

TEST(ToolItems, WholeTreesAndAccessibleDepth) {
    CSampleProcess app;
    std::string error;
    ASSERT_TRUE(app.Start("--no-dialog --items 10", &error)) << error;
    HWND items = reinterpret_cast<HWND>(app.Send(sample::kMsgGetItemsWindow));
    HWND tree = reinterpret_cast<HWND>(SendMessageA(items, sample::kMsgGetItemsControl, sample::kItemsTreeId, 0));
    const nlohmann::json shown = RunItemsJson("--hwnd " + HandleArgument(tree));
    EXPECT_EQ(shown["kind"], "tree");
    EXPECT_EQ(shown["count"], 9);
    const nlohmann::json all = RunItemsJson("--hwnd " + HandleArgument(tree) + " --all");
    ASSERT_EQ(all["count"], sample::kTreeNodeCount);
    const nlohmann::json& reports = all["items"][1];
    EXPECT_EQ(reports["text"], "Reports");
    EXPECT_EQ(reports["level"], 1);
    EXPECT_EQ(reports["parent"], 0);
    EXPECT_TRUE(all["items"][0]["expanded"].get<bool>());
    EXPECT_TRUE(all["items"][0]["hasChildren"].get<bool>());

    HWND accessible = FindTopWindowOfProcess(app.ProcessId(), sample::kAccWindowClass);
    ASSERT_NE(accessible, nullptr);
    const nlohmann::json top = RunItemsJson("--hwnd " + HandleArgument(accessible) + " --kind accessible --depth 1");
    EXPECT_EQ(top["kind"], "accessible");
    ASSERT_GE(top["items"].size(), 2u);
    EXPECT_EQ(top["items"][0]["text"], "Accessibility Sample");
    for (const nlohmann::json& object : top["items"]) {
        EXPECT_LE(object["level"].get<int>(), 1);
        EXPECT_TRUE(object.contains("role"));
        EXPECT_TRUE(object.contains("childCount"));
    }
}

}  // namespace
