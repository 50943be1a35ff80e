// vintrel item-at: which item of a kind lies under a screen point: its
// index and rectangle.
#include <cstdio>

#include "client/ItemRequests.h"
#include "forms/ItemKinds.h"
#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static int RunItemAt(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    int kind = 0;
    if (!options.Kind("kind", &kind, &error)) return ToolFail(error);
    if (!options.Has("x") || !options.Has("y")) return ToolFail("item-at needs --x and --y");
    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    ItemAtResult at = GetItemRect(client, target, kind, static_cast<int>(options.GetInt("x", 0)),
                                  static_cast<int>(options.GetInt("y", 0)),
                                  static_cast<uint32_t>(options.GetInt("arg", 0)));
    if (at.status != AgentStatus::Ok) return ToolFail(std::string("item-at failed: ") + AgentStatusText(at.status));
    std::printf("%s index %d rect %ld %ld %ld %ld\n", ItemKindName(kind).c_str(), at.index, static_cast<long>(at.rect.left),
                static_cast<long>(at.rect.top), static_cast<long>(at.rect.right), static_cast<long>(at.rect.bottom));
    return 0;
}

static ToolCommandRegistrar s_itemAt({"item-at", "--kind KIND --x X --y Y [--arg A]",
                                      "index and rectangle of the item of kind K under the screen point",
                                      RunItemAt});
