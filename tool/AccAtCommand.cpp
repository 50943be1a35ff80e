// vintrel acc-at: describes the accessible object under the cursor, or
// under a given screen point (the cursor is moved there): its name, role
// text, value, description, depth below the window's object and screen
// rectangle, as the agent records it.
#include <cstdio>

#include "client/InfoProbeRequest.h"
#include "client/ProxyWindow.h"
#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static int RunAccAt(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    if (options.Has("x") != options.Has("y")) return ToolFail("acc-at needs both --x and --y, or neither");
    POINT point = {0, 0};
    if (options.Has("x")) {
        point.x = static_cast<LONG>(options.GetInt("x", 0));
        point.y = static_cast<LONG>(options.GetInt("y", 0));
        if (!CProxyWindow::MoveCursor(point.x, point.y)) return ToolFail("the cursor did not reach the point");
    } else {
        GetCursorPos(&point);
    }
    // The window given, or the top-level window under the point.
    HWND target = nullptr;
    if (options.Has("hwnd") || options.Has("class") || options.Has("title")) {
        target = options.TargetWindow(&error);
        if (!target) return ToolFail(error);
    } else {
        target = GetAncestor(WindowFromPoint(point), GA_ROOT);
        if (!target) return ToolFail("no window under the point");
    }
    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    ProbeResult probe = ProbeWindow(client, target, true, 12, 0, 0);
    if (probe.status != AgentStatus::Ok) return ToolFail(std::string("acc-at failed: ") + AgentStatusText(probe.status));
    if (!probe.description.hasItem) return ToolFail("the agent attached no accessible object");
    const AccessibleItemFields& f = probe.description.item.accessible;
    const RECT& r = probe.description.item.rect;
    if (f.name.empty() && f.role.empty() && f.nLevel == 0 && f.nRoleIndex == -1) {
        std::printf("no accessible object of window %p at %ld,%ld\n", static_cast<void*>(target),
                    static_cast<long>(point.x), static_cast<long>(point.y));
        return 1;
    }
    std::printf("name        %s\n", f.name.c_str());
    std::printf("role        %s\n", f.role.c_str());
    std::printf("value       %s\n", f.value.c_str());
    std::printf("description %s\n", f.description.c_str());
    std::printf("level       %d (child id %d, %d children, role index %d)\n", f.nLevel, f.nChildId, f.nChildCount,
                f.nRoleIndex);
    std::printf("rect        %ld %ld %ld %ld (screen)\n", static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right), static_cast<long>(r.bottom));
    return 0;
}

static ToolCommandRegistrar s_accAt({"acc-at", "[--x X --y Y] [--hwnd H | --class C | --title T]",
                                     "the accessible object under the cursor or a screen point", RunAccAt});
