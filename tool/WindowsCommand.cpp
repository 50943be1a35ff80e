// vintrel windows: the target application's window tree, indented: handle,
// class (as the agent trims it), control id, title, rectangle on the screen
// and the item kind the agent would use for it -- so that a person can pick
// a control by what they see.
#include <vector>

#include <CLI/CLI.hpp>

#include "client/ItemKindChoice.h"
#include "forms/ItemKinds.h"
#include "tool/CommandRegistry.h"
#include "tool/ItemReport.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct TopLevelSearch {
    DWORD dwProcess;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lParam) {
    TopLevelSearch* search = reinterpret_cast<TopLevelSearch*>(lParam);
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hwnd, &dwProcess);
    if (dwProcess == search->dwProcess) search->windows.push_back(hwnd);
    return TRUE;
}

struct WindowsCommand {
    CTargetOptions target;
    bool bHidden = false;

    void List(HWND hwnd, HWND parent, int depth) {
        const bool bVisible = IsWindowVisible(hwnd) != FALSE;
        if (bVisible || bHidden) {
            const int kind = ChooseItemKind(hwnd, nullptr, nullptr);
            RECT r = {0, 0, 0, 0};
            GetWindowRect(hwnd, &r);
            nlohmann::json entry = WindowJson(hwnd);
            entry["depth"] = depth;
            entry["parent"] = parent ? HandleText(parent) : std::string();
            entry["visible"] = bVisible;
            entry["kind"] = ItemKindName(kind);
            CToolOutput::Emit(entry, std::string(2 * depth, ' ') + WindowText(hwnd) + "  " +
                                         RectText(r.left, r.top, r.right, r.bottom) + "  " + ItemKindName(kind) +
                                         (bVisible ? "" : "  (hidden)"));
        }
        // Depth-bounded: a window tree that loops back cannot run away.
        if (depth >= 64) return;
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            List(child, hwnd, depth + 1);
        }
    }

    int Run() {
        std::string error;
        if (!target.Resolve(&error)) return CToolOutput::Fail(error);
        TopLevelSearch search = {0, {}};
        GetWindowThreadProcessId(target.Window(), &search.dwProcess);
        EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.windows.empty()) return CToolOutput::Fail("the target application has no windows");
        for (HWND hwnd : search.windows) List(hwnd, nullptr, 0);
        return 0;
    }
};

ToolCommandRegistrar s_windows({"windows", "the target application's windows, with the item kind for each",
                                [](CLI::App& app) {
                                    auto command = std::make_shared<WindowsCommand>();
                                    command->target.Add(app, false);
                                    app.add_flag("--hidden", command->bHidden, "also list hidden windows");
                                    return [command] { return command->Run(); };
                                }});

}  // namespace
