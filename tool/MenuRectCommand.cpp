// vintrel menu-rect: the screen rectangle of a menu item, asked inside the
// target (a popup menu's items only while it is open).
#include <CLI/CLI.hpp>

#include "client/DataMessageRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct MenuRectCommand {
    CTargetOptions target;
    unsigned nItem = 0;
    std::string menuText;
    std::string menuWindowText;

    static ULONG_PTR Number(const std::string& text) { return static_cast<ULONG_PTR>(std::strtoull(text.c_str(), nullptr, 0)); }

    int Run() {
        std::string error;
        if (!target.Resolve(&error)) return CToolOutput::Fail(error);
        // By default the target's own menu bar.
        HMENU menu = menuText.empty() ? GetMenu(target.Window()) : reinterpret_cast<HMENU>(Number(menuText));
        HWND menuWindow = menuWindowText.empty() ? target.Window() : reinterpret_cast<HWND>(Number(menuWindowText));
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        DataRectResult r = GetMenuItemRectangle(client, target.Window(), menuWindow, menu, nItem);
        if (r.status != AgentStatus::Ok) return CToolOutput::Fail(AgentStatusText(r.status));
        CToolOutput::Emit({{"menu", HandleText(menu)}, {"item", nItem},
                           {"rect", RectJson(r.rect.left, r.rect.top, r.rect.right, r.rect.bottom)}},
                          "item " + std::to_string(nItem) + " of menu " + HandleText(menu) + ": " +
                              RectText(r.rect.left, r.rect.top, r.rect.right, r.rect.bottom) +
                              " (screen; all 0 when there is no such item)");
        return 0;
    }
};

ToolCommandRegistrar s_menuRect({"menu-rect", "a menu item's screen rectangle (default: the target's menu bar)",
                                 [](CLI::App& app) {
                                     auto command = std::make_shared<MenuRectCommand>();
                                     command->target.Add(app, false);
                                     app.add_option("--item", command->nItem, "the item's position")->required();
                                     app.add_option("--menu", command->menuText, "the menu's handle");
                                     app.add_option("--menu-window", command->menuWindowText,
                                                    "the window that shows the menu");
                                     return [command] { return command->Run(); };
                                 }});

}  // namespace
