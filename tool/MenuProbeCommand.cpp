// vintrel menu-probe: prints the menu (or dialog box) window each time a
// modal loop of the target goes idle, for a given time.
#include <cstdio>

#include "client/MenuProbeSession.h"
#include "tool/CommandRegistry.h"
#include "tool/StopSignal.h"
#include "tool/ToolOptions.h"

static int RunMenuProbe(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    const long seconds = options.GetInt("seconds", 10);
    HWND last = nullptr;
    const DWORD start = GetTickCount();
    CMenuProbeSession probe(client, [&](HWND menu) {
        // The loop reports every time it goes idle: print each window once in a row.
        if (menu == last) return;
        last = menu;
        char cls[64] = "";
        GetClassNameA(menu, cls, sizeof(cls));
        RECT r = {0, 0, 0, 0};
        GetWindowRect(menu, &r);
        std::printf("%8.3f s  window %p class %s at %ld %ld %ld %ld\n", (GetTickCount() - start) / 1000.0,
                    static_cast<void*>(menu), cls, static_cast<long>(r.left), static_cast<long>(r.top),
                    static_cast<long>(r.right), static_cast<long>(r.bottom));
        std::fflush(stdout);
    });
    switch (probe.Start(target)) {
    case CMenuProbeSession::StartResult::Failed: return ToolFail("the probe request could not be posted");
    case CMenuProbeSession::StartResult::AlreadyRunning:
        std::printf("a probe already ran in the target; its reports now come here\n");
        break;
    case CMenuProbeSession::StartResult::Installed: break;
    }
    std::printf("probing menus for %ld s; open a menu in the target; press Ctrl+C to stop earlier\n", seconds);
    std::fflush(stdout);
    CStopSignal stop;
    stop.PumpFor(static_cast<DWORD>(seconds) * 1000);
    std::printf("%zu reports\n", probe.Reported());
    return probe.Stop() ? 0 : ToolFail("the probe's stop was not confirmed");
}

static ToolCommandRegistrar s_menuProbe({"menu-probe", "[--seconds S]",
                                         "print the menu window while a menu of the target is open", RunMenuProbe});
