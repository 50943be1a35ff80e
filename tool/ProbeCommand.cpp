// vintrel probe: describes a window of the target, optionally with one item
// in it (--item KIND --index N [--arg A]), prints the description and, with
// --save FILE, keeps its raw bytes for `find`.
#include <cstdio>

#include "client/InfoProbeRequest.h"
#include "forms/ItemKinds.h"
#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static int RunProbe(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    const bool wantItem = options.Has("item");
    int kind = 0;
    if (wantItem && !options.Kind("item", &kind, &error)) return ToolFail(error);
    const uint32_t index = static_cast<uint32_t>(options.GetInt("index", 0));
    const uint32_t arg = static_cast<uint32_t>(options.GetInt("arg", 0));

    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    ProbeResult probe = ProbeWindow(client, target, wantItem, kind, index, arg);
    if (probe.status != AgentStatus::Ok) return ToolFail(std::string("probe failed: ") + AgentStatusText(probe.status));

    std::printf("%s", FormatWindowDescription(probe.description).c_str());
    if (wantItem && !probe.description.hasItem) {
        std::printf("(the agent has no item of kind %s)\n", ItemKindName(kind).c_str());
    }
    std::printf("%u bytes\n", static_cast<unsigned>(probe.raw.size()));
    if (options.Has("save")) {
        const std::string path = options.Get("save");
        if (!SaveDescriptionFile(path, probe.raw, &error)) return ToolFail(error);
        std::printf("saved to %s\n", path.c_str());
    }
    return 0;
}

static ToolCommandRegistrar s_probe({"probe", "[--item KIND --index N [--arg A]] [--save FILE]",
                                     "describe a window (and an item in it) for recording", RunProbe});
