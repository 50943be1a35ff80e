// vintrel spy: a live table of the messages handled on the desktop (by
// name, with counts), redrawn every second, for a given time.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>

#include "client/WindowSpySession.h"
#include "tool/CommandRegistry.h"
#include "tool/MessageNames.h"
#include "tool/StopSignal.h"
#include "tool/ToolOutput.h"

namespace {

struct SpyCommand {
    unsigned nSeconds = 10;
    unsigned nRows = 15;

    int Run() {
        CAgentClient client;
        std::string error;
        if (!client.Open(&error)) return CToolOutput::Fail(error);
        std::map<UINT, unsigned long> counts;
        CWindowSpySession spy(client, [&](UINT message, LPARAM) { ++counts[message]; });
        if (!spy.Start()) return CToolOutput::Fail("the spy could not be started");
        CToolOutput::Emit({{"event", "start"}, {"seconds", nSeconds}},
                          "spying for " + std::to_string(nSeconds) + " s; press Ctrl+C to stop earlier");
        std::fflush(stdout);
        CStopSignal stop;
        for (unsigned second = 1; second <= nSeconds && !stop.Requested(); ++second) {
            stop.PumpFor(1000);
            std::vector<std::pair<unsigned long, UINT>> table;
            for (const auto& entry : counts) table.push_back({entry.second, entry.first});
            std::sort(table.rbegin(), table.rend());
            nlohmann::json rows = nlohmann::json::array();
            std::string text = "--- after " + std::to_string(second) + " s: " + std::to_string(table.size()) +
                               " kinds of message ---";
            for (size_t i = 0; i < table.size() && i < nRows; ++i) {
                rows.push_back({{"message", MessageName(table[i].second)}, {"count", table[i].first}});
                char line[160];
                std::snprintf(line, sizeof(line), "\n%10lu  %s", table[i].first, MessageName(table[i].second).c_str());
                text += line;
            }
            CToolOutput::Emit({{"event", "table"}, {"seconds", second}, {"rows", rows}}, text);
            std::fflush(stdout);
        }
        spy.Stop();  // the profile entry is put back here
        return 0;
    }
};

ToolCommandRegistrar s_spy({"spy", "a live table of the messages handled on the desktop, with counts",
                            [](CLI::App& app) {
                                auto command = std::make_shared<SpyCommand>();
                                app.add_option("--seconds", command->nSeconds, "how long to spy")
                                    ->check(CLI::Range(1, 86400));
                                app.add_option("--rows", command->nRows, "rows of the table")->check(CLI::Range(1, 1000));
                                return [command] { return command->Run(); };
                            }});

}  // namespace
