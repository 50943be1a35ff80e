// vintrel tab-point: the point the agent picks to click a tab control at.
#include <cstdio>

#include "client/DataMessageRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static int RunTabPoint(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    DataPointResult r = GetTabClickPoint(client, target);
    if (r.status != AgentStatus::Ok) return ToolFail(AgentStatusText(r.status));
    std::printf("tab point %ld %ld (screen)\n", static_cast<long>(r.point.x), static_cast<long>(r.point.y));
    return 0;
}

static ToolCommandRegistrar s_tabPoint({"tab-point", "(--control ID of a tab control)",
                                        "print the click point of a tab control, on a boundary between tabs",
                                        RunTabPoint});
