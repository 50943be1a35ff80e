// vintrel menu-path: finds a command identifier in a window's menus and
// prints the path to it: for each step the position and the menu it counts
// in, root first. Searches the window's menu bar, or with --menu the popup
// menu of that handle (a menu of the target's process).
#include <cstdio>
#include <cstdlib>

#include "client/AccessibleForms.h"
#include "client/ItemRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static int RunMenuPath(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    if (!options.Has("id")) return ToolFail("menu-path needs --id");
    uint32_t menu = 0;
    if (options.Has("menu")) menu = static_cast<uint32_t>(std::strtoul(options.Get("menu").c_str(), nullptr, 0));
    LocatorForm form = PopupMenuItemForm(static_cast<uint32_t>(options.GetInt("id", 0)), !options.Has("menu"));
    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    LocateResult found = LocateItem(client, target, 6, menu, form, 0);
    if (found.status != AgentStatus::Ok) return ToolFail(std::string("menu-path failed: ") + AgentStatusText(found.status));
    if (!found.found) {
        std::printf("command %lu is in no menu of the window\n", static_cast<unsigned long>(form.popupMenu.nItemId));
        return 1;
    }
    std::printf("command %lu: %s\n", static_cast<unsigned long>(form.popupMenu.nItemId),
                PopupPathText(found.form.popupMenu.path).c_str());
    return 0;
}

static ToolCommandRegistrar s_menuPath({"menu-path", "--id ID [--menu HMENU] (--hwnd H | --class C | --title T)",
                                        "the path of positions to a command in a window's menus", RunMenuPath});
