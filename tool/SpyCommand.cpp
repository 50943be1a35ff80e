// vintrel spy: a live table of the messages handled on the desktop (by
// name, with counts), redrawn every second, for a given time.
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "client/WindowSpySession.h"
#include "tool/CommandRegistry.h"
#include "tool/MessageNames.h"
#include "tool/StopSignal.h"
#include "tool/ToolOptions.h"

static int RunSpy(const std::vector<std::string>& args) {
    CToolOptions options(args);
    const long seconds = options.GetInt("seconds", 10);
    const size_t rows = static_cast<size_t>(std::max(1L, options.GetInt("rows", 15)));
    CAgentClient client;
    std::string error;
    if (!client.Open(&error)) return ToolFail(error);
    std::map<UINT, unsigned long> counts;
    CWindowSpySession spy(client, [&](UINT message, LPARAM) { ++counts[message]; });
    if (!spy.Start()) return ToolFail("the spy could not be started");
    std::printf("spying for %ld s; press Ctrl+C to stop earlier\n", seconds);
    CStopSignal stop;
    for (long second = 1; second <= seconds && !stop.Requested(); ++second) {
        stop.PumpFor(1000);
        std::vector<std::pair<unsigned long, UINT>> table;
        for (const auto& entry : counts) table.push_back({entry.second, entry.first});
        std::sort(table.rbegin(), table.rend());
        std::printf("--- after %ld s: %zu kinds of message ---\n", second, table.size());
        for (size_t i = 0; i < table.size() && i < rows; ++i) {
            std::printf("%10lu  %s\n", table[i].first, MessageName(table[i].second).c_str());
        }
        std::fflush(stdout);
    }
    spy.Stop();  // the profile entry is put back here
    return 0;
}

static ToolCommandRegistrar s_spy({"spy", "[--seconds S] [--rows N]",
                                   "a live table of the messages handled on the desktop, with counts", RunSpy});
