// vintrel watch: prints each watched message handled by the target window's
// thread, as it happens, for a given time.
#include <cstdio>
#include <string>

#include "client/MessageWatcher.h"
#include "tool/CommandRegistry.h"
#include "tool/MessageNames.h"
#include "tool/StopSignal.h"
#include "tool/ToolOptions.h"

static int RunWatch(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    if (!options.Has("message")) return ToolFail("give --message NAME|NUMBER (several: --message a,b)");
    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    const long seconds = options.GetInt("seconds", 10);

    std::string names = options.Get("message");
    std::vector<UINT> messages;
    for (size_t at = 0; at <= names.size();) {
        const size_t comma = names.find(',', at);
        const std::string one = names.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        UINT message = 0;
        if (!ParseMessage(one, &message) || message == 0) return ToolFail("not a message: " + one);
        messages.push_back(message);
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    const DWORD start = GetTickCount();
    size_t count = 0;
    CMessageWatcher watcher(client, [&](WPARAM wParam, LPARAM lParam) {
        ++count;
        std::printf("%8.3f s  wParam 0x%llX  lParam 0x%llX\n", (GetTickCount() - start) / 1000.0,
                    static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam));
        std::fflush(stdout);
    });
    for (UINT message : messages) {
        AgentStatus st = watcher.Add(target, message);
        if (st != AgentStatus::Ok) return ToolFail(std::string("the watch was not added: ") + AgentStatusText(st));
        std::printf("watching %s on the thread of window %p\n", MessageName(message).c_str(),
                    static_cast<void*>(target));
    }
    std::printf("for %ld s; press Ctrl+C to stop earlier\n", seconds);
    std::fflush(stdout);
    CStopSignal stop;
    stop.PumpFor(static_cast<DWORD>(seconds) * 1000);
    std::printf("%zu notifications\n", count);
    return 0;  // the watcher removes its watches here
}

static ToolCommandRegistrar s_watch({"watch", "--message NAME|NUMBER[,...] [--seconds S]",
                                     "print each watched message of the window's thread as it happens", RunWatch});
