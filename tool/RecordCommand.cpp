// vintrel record --at X,Y FILE: records the window under a screen point and
// the item there, of the kind its class calls for (or --kind), into FILE,
// for `find` and `click` to use in a later run.
#include <CLI/CLI.hpp>

#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/WindowMatcher.h"
#include "forms/ItemKinds.h"
#include "tool/CommandRegistry.h"
#include "tool/ItemReport.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct RecordCommand {
    CTargetOptions target;
    std::string path;
    unsigned nArgument = 0;

    int Run() {
        std::string error;
        if (!target.Resolve(&error) || !target.ResolveKind(&error)) return CToolOutput::Fail(error);
        if (!target.HasPoint()) return CToolOutput::Fail("record wants the screen point of the item: --at X,Y");
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        const POINT p = target.Point();
        const char* pszNoun = FindItemKind(target.Kind())->pszNoun;
        ItemAtResult at = GetItemRect(client, target.Window(), target.Kind(), p.x, p.y, nArgument);
        if (at.status != AgentStatus::Ok) return CToolOutput::Fail(std::string("record failed: ") + AgentStatusText(at.status));
        if (at.index < 0) {
            return CToolOutput::Fail("no " + std::string(pszNoun) + " at (" + std::to_string(p.x) + ", " +
                                         std::to_string(p.y) + ") in " + WindowText(target.Window()),
                                     2);
        }
        ProbeResult probe = ProbeWindow(client, target.Window(), true, target.Kind(), static_cast<uint32_t>(at.index),
                                        nArgument);
        if (probe.status != AgentStatus::Ok) return CToolOutput::Fail(std::string("record failed: ") + AgentStatusText(probe.status));
        if (!probe.description.hasItem) return CToolOutput::Fail("the agent recorded no " + std::string(pszNoun) + " there");
        if (!SaveDescriptionFile(path, probe.raw, &error)) return CToolOutput::Fail(error);

        ItemReport item;
        item.TakeForm(probe.description.item);
        item.hwnd = target.Window();
        item.nIndex = at.index;
        item.rect = at.rect;
        const std::string program = FileNameOf(ProcessImagePath(target.Window()));
        const std::string what = item.description.empty() ? "a " + std::string(pszNoun) : item.description;
        nlohmann::json result = {{"file", path}, {"window", WindowJson(target.Window())}, {"program", Utf8(program)},
                                 {"item", item.Json()}};
        CToolOutput::Emit(result, "recorded " + what + " (kind " + ItemKindName(target.Kind()) + ", index " +
                                      std::to_string(at.index) + ") of " + WindowText(target.Window()) + " in " +
                                      program + " into " + path + "\n  " + item.Text());
        return 0;
    }
};

ToolCommandRegistrar s_record({"record", "record the window and the item under a screen point into a file",
                               [](CLI::App& app) {
                                   auto command = std::make_shared<RecordCommand>();
                                   command->target.Add(app, true);
                                   app.add_option("file", command->path, "where to keep the record")->required();
                                   app.add_option("--arg", command->nArgument, "the factory's argument");
                                   return [command] { return command->Run(); };
                               }});

}  // namespace
