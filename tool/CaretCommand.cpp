// vintrel caret: the caret position of the target window's thread.
#include <cstdio>

#include "client/DataMessageRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static int RunCaret(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    DataPointResult r = GetCaretPosition(client, target);
    if (r.status != AgentStatus::Ok) return ToolFail(AgentStatusText(r.status));
    std::printf("caret %ld %ld (client coordinates of the caret's window; 0 0 without a caret)\n",
                static_cast<long>(r.point.x), static_cast<long>(r.point.y));
    return 0;
}

static ToolCommandRegistrar s_caret({"caret", "", "print the caret position of the target window's thread", RunCaret});
