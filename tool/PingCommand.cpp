// vintrel ping: checks that the agent answers in the target's thread.
#include <CLI/CLI.hpp>

#include "client/AgentClient.h"
#include "tool/CommandRegistry.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct PingCommand {
    CTargetOptions target;
    int nCount = 1;
    unsigned nTimeoutMs = 5000;

    int Run() {
        std::string error;
        if (!target.Resolve(&error)) return CToolOutput::Fail(error);
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        for (int i = 0; i < nCount; ++i) {
            const AgentStatus status = client.Ping(target.Window(), nTimeoutMs);
            if (status != AgentStatus::Ok) return CToolOutput::Fail(std::string("ping failed: ") + AgentStatusText(status));
            CToolOutput::Emit({{"window", HandleText(target.Window())}, {"micros", client.LastRoundTripMicros()}},
                              "reply from window " + HandleText(target.Window()) + " in " +
                                  std::to_string(client.LastRoundTripMicros()) + " us");
        }
        return 0;
    }
};

ToolCommandRegistrar s_ping({"ping", "ask the agent in the target's thread for a sign of life", [](CLI::App& app) {
                                 auto command = std::make_shared<PingCommand>();
                                 command->target.Add(app, false);
                                 app.add_option("--count", command->nCount, "how many pings")->check(CLI::Range(1, 100000));
                                 app.add_option("--timeout", command->nTimeoutMs, "milliseconds to wait for each");
                                 return [command] { return command->Run(); };
                             }});

}  // namespace
