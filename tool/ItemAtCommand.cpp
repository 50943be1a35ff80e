// vintrel item-at: which item of a kind lies under a screen point: its
// index and rectangle.
#include <cstdio>

#include "client/ItemRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static int RunItemAt(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    if (!options.Has("kind") || !options.Has("x") || !options.Has("y")) return ToolFail("item-at needs --kind, --x and --y");
    CAgentClient client;
    if (!client.Open(&error)) return ToolFail(error);
    if (!client.Hook(target)) return ToolFail("could not hook the target window's thread");
    const int kind = static_cast<int>(options.GetInt("kind", 0));
    ItemAtResult at = GetItemRect(client, target, kind, static_cast<int>(options.GetInt("x", 0)),
                                  static_cast<int>(options.GetInt("y", 0)),
                                  static_cast<uint32_t>(options.GetInt("arg", 0)));
    if (at.status != AgentStatus::Ok) return ToolFail(std::string("item-at failed: ") + AgentStatusText(at.status));
    std::printf("index %d rect %ld %ld %ld %ld\n", at.index, static_cast<long>(at.rect.left),
                static_cast<long>(at.rect.top), static_cast<long>(at.rect.right), static_cast<long>(at.rect.bottom));
    return 0;
}

static ToolCommandRegistrar s_itemAt({"item-at", "--kind K --x X --y Y [--arg A]",
                                      "index and rectangle of the item of kind K under the screen point",
                                      RunItemAt});
