// vintrel tab-point: the point the agent picks to click a tab control at.
#include <CLI/CLI.hpp>

#include "client/DataMessageRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct TabPointCommand {
    CTargetOptions target;

    int Run() {
        std::string error;
        if (!target.Resolve(&error)) return CToolOutput::Fail(error);
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        DataPointResult r = GetTabClickPoint(client, target.Window());
        if (r.status != AgentStatus::Ok) return CToolOutput::Fail(AgentStatusText(r.status));
        CToolOutput::Emit({{"x", r.point.x}, {"y", r.point.y}},
                          "tab point " + std::to_string(r.point.x) + " " + std::to_string(r.point.y) + " (screen)");
        return 0;
    }
};

ToolCommandRegistrar s_tabPoint({"tab-point", "the click point of a tab control, on a boundary between tabs",
                                 [](CLI::App& app) {
                                     auto command = std::make_shared<TabPointCommand>();
                                     command->target.Add(app, false);
                                     return [command] { return command->Run(); };
                                 }});

}  // namespace
