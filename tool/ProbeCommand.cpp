// vintrel probe: describes a window of the target, optionally with one item
// in it (--item KIND --index N), prints the description and, with --save
// FILE, keeps it for `find` and `click`.
#include <CLI/CLI.hpp>

#include "client/InfoProbeRequest.h"
#include "forms/ItemKinds.h"
#include "tool/CommandRegistry.h"
#include "tool/ItemReport.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct ProbeCommand {
    CTargetOptions target;
    std::string itemKind;
    unsigned nIndex = 0;
    unsigned nArgument = 0;
    std::string savePath;

    int Run() {
        std::string error;
        if (!target.Resolve(&error)) return CToolOutput::Fail(error);
        int kind = 0;
        if (!itemKind.empty()) {
            const ItemKindInfo* pKind = ParseItemKind(itemKind);
            if (!pKind) return CToolOutput::Fail("--item '" + itemKind + "' is no item kind (" + KindNamesText() + ")");
            kind = pKind->nCode;
        }
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        ProbeResult probe = ProbeWindow(client, target.Window(), kind != 0, kind, nIndex, nArgument);
        if (probe.status != AgentStatus::Ok) return CToolOutput::Fail(std::string("probe failed: ") + AgentStatusText(probe.status));
        if (!savePath.empty() && !SaveDescriptionFile(savePath, probe.raw, &error)) return CToolOutput::Fail(error);

        const WindowDescriptionForm& d = probe.description;
        nlohmann::json result = {{"window", WindowJson(target.Window())},
                                 {"class", Utf8(d.window.className)},
                                 {"parentClass", Utf8(d.window.parentClassName)},
                                 {"frameClass", d.hasFrame ? Utf8(d.frame.className) : std::string()},
                                 {"depth", d.nDepth},
                                 {"titleChecksum", d.nTitleChecksum},
                                 {"module", Utf8(d.modulePath)},
                                 {"bytes", probe.raw.size()}};
        std::string text = FormatWindowDescription(d);
        if (d.hasItem) {
            ItemReport item;
            item.hwnd = target.Window();
            item.nIndex = static_cast<int>(nIndex);
            item.TakeForm(d.item);
            result["item"] = item.Json();
        } else if (kind) {
            text += "(the agent has no " + std::string(FindItemKind(kind)->pszNoun) + " there)\n";
        }
        text += std::to_string(probe.raw.size()) + " bytes";
        if (!savePath.empty()) {
            result["saved"] = savePath;
            text += ", saved to " + savePath;
        }
        CToolOutput::Emit(result, text);
        return 0;
    }
};

ToolCommandRegistrar s_probe({"probe", "describe a window (and an item in it) for recording", [](CLI::App& app) {
                                  auto command = std::make_shared<ProbeCommand>();
                                  command->target.Add(app, false);
                                  app.add_option("--item", command->itemKind, "the item's kind (" + KindNamesText() + ")");
                                  app.add_option("--index", command->nIndex, "the item's index");
                                  app.add_option("--arg", command->nArgument, "the factory's argument");
                                  app.add_option("--save", command->savePath, "keep the description in this file");
                                  return [command] { return command->Run(); };
                              }});

}  // namespace
