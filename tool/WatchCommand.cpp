// vintrel watch: prints each watched message handled by the target window's
// thread, as it happens, for a given time.
#include <CLI/CLI.hpp>

#include "client/MessageWatcher.h"
#include "tool/CommandRegistry.h"
#include "tool/MessageNames.h"
#include "tool/StopSignal.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

struct WatchCommand {
    CTargetOptions target;
    std::vector<std::string> messageNames;
    unsigned nSeconds = 10;

    int Run() {
        std::string error;
        if (!target.Resolve(&error)) return CToolOutput::Fail(error);
        std::vector<UINT> messages;
        for (const std::string& name : messageNames) {
            UINT message = 0;
            if (!ParseMessage(name, &message) || message == 0) return CToolOutput::Fail("not a message: " + name);
            messages.push_back(message);
        }
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        const DWORD start = GetTickCount();
        size_t count = 0;
        CMessageWatcher watcher(client, [&](WPARAM wParam, LPARAM lParam) {
            ++count;
            const double seconds = (GetTickCount() - start) / 1000.0;
            char text[128];
            std::snprintf(text, sizeof(text), "%8.3f s  wParam 0x%llX  lParam 0x%llX", seconds,
                          static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam));
            CToolOutput::Emit({{"event", "message"}, {"seconds", seconds}, {"wParam", static_cast<uint64_t>(wParam)},
                               {"lParam", static_cast<int64_t>(lParam)}},
                              text);
            std::fflush(stdout);
        });
        for (UINT message : messages) {
            const AgentStatus status = watcher.Add(target.Window(), message);
            if (status != AgentStatus::Ok) {
                return CToolOutput::Fail(std::string("the watch was not added: ") + AgentStatusText(status));
            }
        }
        std::string names;
        for (UINT message : messages) names += (names.empty() ? "" : ", ") + MessageName(message);
        CToolOutput::Emit({{"event", "start"}, {"window", HandleText(target.Window())}, {"seconds", nSeconds}},
                          "watching " + names + " on the thread of window " + HandleText(target.Window()) + " for " +
                              std::to_string(nSeconds) + " s; press Ctrl+C to stop earlier");
        std::fflush(stdout);
        CStopSignal stop;
        stop.PumpFor(nSeconds * 1000);
        CToolOutput::Emit({{"event", "end"}, {"count", count}}, std::to_string(count) + " notifications");
        return 0;  // the watcher removes its watches here
    }
};

ToolCommandRegistrar s_watch({"watch", "print each watched message of the window's thread as it happens",
                              [](CLI::App& app) {
                                  auto command = std::make_shared<WatchCommand>();
                                  command->target.Add(app, false);
                                  app.add_option("--message", command->messageNames,
                                                 "message name (WM_SETTEXT, WM_APP+20, a registered name) or number")
                                      ->required()
                                      ->delimiter(',');
                                  app.add_option("--seconds", command->nSeconds, "how long to watch")
                                      ->check(CLI::Range(1, 86400));
                                  return [command] { return command->Run(); };
                              }});

}  // namespace
