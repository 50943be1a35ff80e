// vintrel ping: checks that the agent answers in the target's thread.
#include <cstdio>

#include "client/AgentClient.h"
#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static int RunPing(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    const long count = options.GetInt("count", 1);
    const DWORD timeout = static_cast<DWORD>(options.GetInt("timeout", 5000));
    for (long i = 0; i < count; ++i) {
        AgentStatus st = client.Ping(target, timeout);
        if (st != AgentStatus::Ok) return ToolFail(std::string("ping failed: ") + AgentStatusText(st));
        std::printf("reply from window %p in %lu us\n", static_cast<void*>(target),
                    static_cast<unsigned long>(client.LastRoundTripMicros()));
    }
    return 0;
}

static ToolCommandRegistrar s_ping({"ping", "[--count N] [--timeout MS]",
                                    "ask the agent in the target thread for a sign of life", RunPing});
