// vintrel menu-probe: prints the menu (or dialog box) window each time a
// modal loop of the target goes idle, for a given time.
#include <CLI/CLI.hpp>

#include "client/MenuProbeSession.h"
#include "tool/CommandRegistry.h"
#include "tool/StopSignal.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct MenuProbeCommand {
    CTargetOptions target;
    unsigned nSeconds = 10;

    int Run() {
        std::string error;
        if (!target.Resolve(&error)) return CToolOutput::Fail(error);
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        HWND last = nullptr;
        const DWORD start = GetTickCount();
        CMenuProbeSession probe(client, [&](HWND menu) {
            // The loop reports each time it goes idle: each window once in a row.
            if (menu == last) return;
            last = menu;
            char cls[64] = "";
            GetClassNameA(menu, cls, sizeof(cls));
            RECT r = {0, 0, 0, 0};
            GetWindowRect(menu, &r);
            const double seconds = (GetTickCount() - start) / 1000.0;
            char when[32];
            std::snprintf(when, sizeof(when), "%8.3f s", seconds);
            CToolOutput::Emit({{"event", "menu"}, {"seconds", seconds}, {"window", HandleText(menu)}, {"class", cls},
                               {"rect", RectJson(r.left, r.top, r.right, r.bottom)}},
                              std::string(when) + "  window " + HandleText(menu) + " class " + cls + " at " +
                                  RectText(r.left, r.top, r.right, r.bottom));
            std::fflush(stdout);
        });
        const CMenuProbeSession::StartResult started = probe.Start(target.Window());
        if (started == CMenuProbeSession::StartResult::Failed) return CToolOutput::Fail("the probe could not be started");
        CToolOutput::Emit({{"event", "start"}, {"seconds", nSeconds},
                           {"alreadyRunning", started == CMenuProbeSession::StartResult::AlreadyRunning}},
                          std::string(started == CMenuProbeSession::StartResult::AlreadyRunning
                                          ? "a probe already ran in the target; its reports now come here. "
                                          : "") +
                              "probing menus for " + std::to_string(nSeconds) +
                              " s; open a menu in the target; press Ctrl+C to stop earlier");
        std::fflush(stdout);
        CStopSignal stop;
        stop.PumpFor(nSeconds * 1000);
        const bool bStopped = probe.Stop();
        CToolOutput::Emit({{"event", "end"}, {"reports", probe.Reported()}},
                          std::to_string(probe.Reported()) + " reports");
        return bStopped ? 0 : CToolOutput::Fail("the probe's stop was not confirmed");
    }
};

ToolCommandRegistrar s_menuProbe({"menu-probe", "print the menu window while a menu of the target is open",
                                  [](CLI::App& app) {
                                      auto command = std::make_shared<MenuProbeCommand>();
                                      command->target.Add(app, false);
                                      app.add_option("--seconds", command->nSeconds, "how long to probe")
                                          ->check(CLI::Range(1, 86400));
                                      return [command] { return command->Run(); };
                                  }});

}  // namespace
