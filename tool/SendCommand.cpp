// vintrel send: sends a message inside the target's thread with one of its
// parameters pointing at a buffer there (data-message commands 0 to 2) and
// prints what came back.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "client/DataMessageRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/MessageNames.h"
#include "tool/ToolOptions.h"

static int RunSend(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    UINT message = 0;
    if (!ParseMessage(options.Get("message"), &message)) return ToolFail("give --message NAME|NUMBER");
    const uint32_t value = static_cast<uint32_t>(std::strtoul(options.Get("value", "0").c_str(), nullptr, 0));
    const std::string pointer = options.Get("pointer", "lparam");
    if (pointer != "lparam" && pointer != "wparam") return ToolFail("--pointer is lparam or wparam");
    const PointerPlacement placement = pointer == "lparam" ? PointerPlacement::InLParam : PointerPlacement::InWParam;
    const long command = options.GetInt("command", 0);
    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    std::printf("%s to window %p, value 0x%X in %s\n", MessageName(message).c_str(), static_cast<void*>(target),
                value, pointer == "lparam" ? "wParam" : "lParam");
    if (command == 1) {
        DataRectResult r = SendForRect(client, target, message, value, placement);
        if (r.status != AgentStatus::Ok) return ToolFail(AgentStatusText(r.status));
        std::printf("rect %ld %ld %ld %ld\n", static_cast<long>(r.rect.left), static_cast<long>(r.rect.top),
                    static_cast<long>(r.rect.right), static_cast<long>(r.rect.bottom));
        return 0;
    }
    if (command != 0 && command != 2) return ToolFail("--command is 0, 1 or 2");
    DataPairResult r = command == 0 ? SendForValuePair(client, target, message, value, placement)
                                    : SendForTwoValues(client, target, message, value, placement);
    if (r.status != AgentStatus::Ok) return ToolFail(AgentStatusText(r.status));
    std::printf("values %ld %ld\n", static_cast<long>(r.first), static_cast<long>(r.second));
    return 0;
}

static ToolCommandRegistrar s_send(
    {"send", "--message NAME|NUMBER [--value V] [--pointer lparam|wparam] [--command 0|1|2]",
     "send a message inside the target with a pointer to a buffer there (0 two values or the result's halves, "
     "1 a rectangle, 2 two values)",
     RunSend});
