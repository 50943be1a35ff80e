// vintrel menu-rect: the screen rectangle of a menu item, asked inside the
// target (a popup menu's items only while it is open).
#include <cstdio>
#include <cstdlib>

#include "client/DataMessageRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static int RunMenuRect(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    const long item = options.GetInt("item", -1);
    if (item < 0) return ToolFail("give --item POSITION");
    // By default the target's menu bar.
    HMENU menu = options.Has("menu")
                     ? reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(std::strtoull(options.Get("menu").c_str(), nullptr, 0)))
                     : GetMenu(target);
    HWND menuWindow = options.Has("menu-window")
                          ? reinterpret_cast<HWND>(static_cast<ULONG_PTR>(
                                std::strtoull(options.Get("menu-window").c_str(), nullptr, 0)))
                          : target;
    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    DataRectResult r = GetMenuItemRectangle(client, target, menuWindow, menu, static_cast<UINT>(item));
    if (r.status != AgentStatus::Ok) return ToolFail(AgentStatusText(r.status));
    std::printf("item %ld of menu %p: %ld %ld %ld %ld (screen; all 0 when there is no such item)\n", item,
                static_cast<void*>(menu), static_cast<long>(r.rect.left), static_cast<long>(r.rect.top),
                static_cast<long>(r.rect.right), static_cast<long>(r.rect.bottom));
    return 0;
}

static ToolCommandRegistrar s_menuRect({"menu-rect", "--item POSITION [--menu HMENU] [--menu-window HWND]",
                                        "print a menu item's screen rectangle (default: the target's menu bar)",
                                        RunMenuRect});
