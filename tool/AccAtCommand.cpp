// vintrel acc-at: describes the accessible object under the cursor, or
// under a given screen point (--at X,Y; the cursor is moved there): its
// name, role text, value, description, depth below the window's object and
// screen rectangle, as the agent records it.
#include <CLI/CLI.hpp>

#include <cstdlib>

#include "client/InfoProbeRequest.h"
#include "client/ProxyWindow.h"
#include "tool/CommandRegistry.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct AccAtCommand {
    std::string atText;
    std::string hwndText;

    int Run() {
        POINT point = {0, 0};
        if (!atText.empty()) {
            if (!CTargetOptions::ParsePoint(atText, &point)) return CToolOutput::Fail("--at wants X,Y");
            if (!CProxyWindow::MoveCursor(point.x, point.y)) return CToolOutput::Fail("the cursor did not reach the point");
        } else {
            GetCursorPos(&point);
        }
        // The window given, or the top-level window under the point.
        HWND target = hwndText.empty()
                          ? GetAncestor(WindowFromPoint(point), GA_ROOT)
                          : reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoull(hwndText.c_str(), nullptr, 0)));
        if (!target || !IsWindow(target)) return CToolOutput::Fail("no window under the point");
        std::string error;
        CAgentClient client;
        if (!ConnectAgent(client, target, &error)) return CToolOutput::Fail(error);
        ProbeResult probe = ProbeWindow(client, target, true, kItemKindAccessible, 0, 0);
        if (probe.status != AgentStatus::Ok) {
            return CToolOutput::Fail(std::string("acc-at failed: ") + AgentStatusText(probe.status));
        }
        if (!probe.description.hasItem) return CToolOutput::Fail("the agent attached no accessible object");
        const AccessibleItemFields& f = probe.description.item.accessible;
        const RECT& r = probe.description.item.rect;
        // A locator that found nothing keeps what it had after construction.
        const bool bFound = !(f.name.empty() && f.role.empty() && f.nLevel == 0 && f.nRoleIndex == -1);
        nlohmann::json result = {{"window", HandleText(target)}, {"found", bFound}};
        if (!bFound) {
            CToolOutput::Emit(result, "no accessible object at (" + std::to_string(point.x) + ", " +
                                          std::to_string(point.y) + ") in window " + HandleText(target));
            return 2;
        }
        result["name"] = Utf8(f.name);
        result["role"] = Utf8(f.role);
        result["value"] = Utf8(f.value);
        result["description"] = Utf8(f.description);
        result["level"] = f.nLevel;
        result["childId"] = f.nChildId;
        result["childCount"] = f.nChildCount;
        result["roleIndex"] = f.nRoleIndex;
        result["rect"] = RectJson(r.left, r.top, r.right, r.bottom);
        const std::string text = "name        " + f.name + "\nrole        " + f.role + "\nvalue       " + f.value +
                                 "\ndescription " + f.description + "\nlevel       " + std::to_string(f.nLevel) +
                                 " (child id " + std::to_string(f.nChildId) + ", " + std::to_string(f.nChildCount) +
                                 " children, role index " + std::to_string(f.nRoleIndex) + ")\nrect        " +
                                 RectText(r.left, r.top, r.right, r.bottom) + " (screen)";
        CToolOutput::Emit(result, text);
        return 0;
    }
};

ToolCommandRegistrar s_accAt({"acc-at", "the accessible object under the cursor or a screen point", [](CLI::App& app) {
                                  auto command = std::make_shared<AccAtCommand>();
                                  app.add_option("--at", command->atText, "screen point X,Y (default: the cursor)");
                                  app.add_option("--hwnd", command->hwndText,
                                                 "the window whose tree is searched (default: the top-level window "
                                                 "under the point)");
                                  return [command] { return command->Run(); };
                              }});

}  // namespace
