// vintrel send: sends a message inside the target's thread with one of its
// parameters pointing at a buffer there (data-message commands 0 to 2) and
// prints what came back.
#include <CLI/CLI.hpp>

#include "client/DataMessageRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/MessageNames.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct SendCommand {
    CTargetOptions target;
    std::string messageName;
    std::string valueText = "0";
    std::string pointer = "lparam";
    int nCommand = 0;

    int Run() {
        std::string error;
        if (!target.Resolve(&error)) return CToolOutput::Fail(error);
        UINT message = 0;
        if (!ParseMessage(messageName, &message)) return CToolOutput::Fail("not a message: " + messageName);
        char* end = nullptr;
        const unsigned long long value = std::strtoull(valueText.c_str(), &end, 0);
        if (!end || *end || value > 0xFFFFFFFFull) return CToolOutput::Fail("--value is a 32-bit number");
        const PointerPlacement placement =
            pointer == "lparam" ? PointerPlacement::InLParam : PointerPlacement::InWParam;
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        const std::string sent = MessageName(message) + " to window " + HandleText(target.Window()) + ": ";
        nlohmann::json result = {{"window", HandleText(target.Window())}, {"message", MessageName(message)},
                                 {"command", nCommand}};
        if (nCommand == 1) {
            DataRectResult r = SendForRect(client, target.Window(), message, static_cast<uint32_t>(value), placement);
            if (r.status != AgentStatus::Ok) return CToolOutput::Fail(AgentStatusText(r.status));
            result["rect"] = RectJson(r.rect.left, r.rect.top, r.rect.right, r.rect.bottom);
            CToolOutput::Emit(result, sent + "rect " + RectText(r.rect.left, r.rect.top, r.rect.right, r.rect.bottom));
            return 0;
        }
        DataPairResult r = nCommand == 0
                               ? SendForValuePair(client, target.Window(), message, static_cast<uint32_t>(value), placement)
                               : SendForTwoValues(client, target.Window(), message, static_cast<uint32_t>(value), placement);
        if (r.status != AgentStatus::Ok) return CToolOutput::Fail(AgentStatusText(r.status));
        result["values"] = {r.first, r.second};
        CToolOutput::Emit(result, sent + "values " + std::to_string(r.first) + " " + std::to_string(r.second));
        return 0;
    }
};

ToolCommandRegistrar s_send({"send",
                             "send a message inside the target with a pointer to a buffer there: two values "
                             "(or the result's halves), a rectangle, or two values",
                             [](CLI::App& app) {
                                 auto command = std::make_shared<SendCommand>();
                                 command->target.Add(app, false);
                                 app.add_option("--message", command->messageName, "message name or number")->required();
                                 app.add_option("--value", command->valueText, "the other parameter (32 bits)");
                                 app.add_option("--pointer", command->pointer, "which parameter points at the buffer")
                                     ->check(CLI::IsMember({"lparam", "wparam"}));
                                 app.add_option("--command", command->nCommand,
                                                "0 two values or the result's halves, 1 a rectangle, 2 two values")
                                     ->check(CLI::Range(0, 2));
                                 return [command] { return command->Run(); };
                             }});

}  // namespace
