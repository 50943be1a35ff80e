// vintrel menu-path: finds a command identifier in a window's menus and
// prints the path to it: for each step the position and the menu it counts
// in, root first. Searches the window's menu bar, or with --menu the popup
// menu of that handle (a menu of the target's process).
#include <CLI/CLI.hpp>

#include <cstdlib>

#include "client/AccessibleForms.h"
#include "client/ItemRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct MenuPathCommand {
    CTargetOptions target;
    unsigned nCommandId = 0;
    std::string menuText;

    int Run() {
        std::string error;
        if (!target.Resolve(&error)) return CToolOutput::Fail(error);
        const uint32_t menu = menuText.empty() ? 0 : static_cast<uint32_t>(std::strtoul(menuText.c_str(), nullptr, 0));
        LocatorForm form = PopupMenuItemForm(nCommandId, menuText.empty());
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        LocateResult found = LocateItem(client, target.Window(), kItemKindPopupMenu, menu, form, SearchArgument());
        if (found.status != AgentStatus::Ok) {
            return CToolOutput::Fail(std::string("menu-path failed: ") + AgentStatusText(found.status));
        }
        nlohmann::json result = {{"command", nCommandId}, {"found", found.found}};
        if (!found.found) {
            CToolOutput::Emit(result, "command " + std::to_string(nCommandId) + " is in no menu of the window");
            return 2;
        }
        nlohmann::json steps = nlohmann::json::array();
        for (const PopupMenuStep& step : found.form.popupMenu.path) {
            steps.push_back({{"position", static_cast<int32_t>(step.nPosition)}, {"menu", step.hMenu}});
        }
        result["path"] = steps;
        CToolOutput::Emit(result, "command " + std::to_string(nCommandId) + ": " +
                                      PopupPathText(found.form.popupMenu.path));
        return 0;
    }
};

ToolCommandRegistrar s_menuPath({"menu-path", "the path of positions to a command in a window's menus",
                                 [](CLI::App& app) {
                                     auto command = std::make_shared<MenuPathCommand>();
                                     command->target.Add(app, false);
                                     app.add_option("--id", command->nCommandId, "the command identifier")->required();
                                     app.add_option("--menu", command->menuText,
                                                    "a popup menu's handle (default: the window's menu bar)");
                                     return [command] { return command->Run(); };
                                 }});

}  // namespace
