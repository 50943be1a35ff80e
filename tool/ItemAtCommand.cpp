// vintrel item-at --at X,Y: which item lies under a screen point, of the
// kind the window's class calls for (or --kind): its index, rectangle,
// text and description.
#include <CLI/CLI.hpp>

#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "forms/ItemKinds.h"
#include "tool/CommandRegistry.h"
#include "tool/ItemReport.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct ItemAtCommand {
    CTargetOptions target;
    unsigned nArgument = 0;

    int Run() {
        std::string error;
        if (!target.Resolve(&error) || !target.ResolveKind(&error)) return CToolOutput::Fail(error);
        if (!target.HasPoint()) return CToolOutput::Fail("item-at wants the screen point: --at X,Y");
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        const POINT p = target.Point();
        ItemAtResult at = GetItemRect(client, target.Window(), target.Kind(), p.x, p.y, nArgument);
        if (at.status != AgentStatus::Ok) return CToolOutput::Fail(std::string("item-at failed: ") + AgentStatusText(at.status));
        nlohmann::json result = {{"window", WindowJson(target.Window())}, {"found", at.index >= 0}};
        if (at.index < 0) {
            result["kind"] = ItemKindName(target.Kind());
            CToolOutput::Emit(result, "no " + std::string(FindItemKind(target.Kind())->pszNoun) + " at (" +
                                          std::to_string(p.x) + ", " + std::to_string(p.y) + ") in " +
                                          WindowText(target.Window()));
            return 2;
        }
        ItemReport item;
        // The text and description from what the agent records of the item.
        ProbeResult probe = ProbeWindow(client, target.Window(), true, target.Kind(), static_cast<uint32_t>(at.index),
                                        nArgument);
        if (probe.status == AgentStatus::Ok && probe.description.hasItem) item.TakeForm(probe.description.item);
        item.nKind = target.Kind();
        item.hwnd = target.Window();
        item.nIndex = at.index;
        item.rect = at.rect;
        result["item"] = item.Json();
        CToolOutput::Emit(result, item.Text() + "\n  in " + WindowText(target.Window()));
        return 0;
    }
};

ToolCommandRegistrar s_itemAt({"item-at", "the item under a screen point: index, rectangle, text", [](CLI::App& app) {
                                   auto command = std::make_shared<ItemAtCommand>();
                                   command->target.Add(app, true);
                                   app.add_option("--arg", command->nArgument, "the factory's argument (a popup menu's handle)");
                                   return [command] { return command->Run(); };
                               }});

}  // namespace
