// vintrel caret: the caret position of the target window's thread.
#include <CLI/CLI.hpp>

#include "client/DataMessageRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct CaretCommand {
    CTargetOptions target;

    int Run() {
        std::string error;
        if (!target.Resolve(&error)) return CToolOutput::Fail(error);
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        DataPointResult r = GetCaretPosition(client, target.Window());
        if (r.status != AgentStatus::Ok) return CToolOutput::Fail(AgentStatusText(r.status));
        CToolOutput::Emit({{"x", r.point.x}, {"y", r.point.y}},
                          "caret " + std::to_string(r.point.x) + " " + std::to_string(r.point.y) +
                              " (client coordinates of the caret's window; 0 0 without a caret)");
        return 0;
    }
};

ToolCommandRegistrar s_caret({"caret", "the caret position of the target window's thread", [](CLI::App& app) {
                                  auto command = std::make_shared<CaretCommand>();
                                  command->target.Add(app, false);
                                  return [command] { return command->Run(); };
                              }});

}  // namespace
