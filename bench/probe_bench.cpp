// Time of one info probe with a list-view item, through the agent in the
// sample application: median and 99th percentile over 1000 requests.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchFigures.h"
#include "client/ApplicationProcess.h"
#include "client/InfoProbeRequest.h"
#include "sample/SampleProtocol.h"

int main() {
    CApplicationProcess app;
    std::string error;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", "--no-dialog", sample::kFrameClass, &error)) {
        std::fprintf(stderr, "probe_bench: %s\n", error.c_str());
        return 1;
    }
    HWND list = reinterpret_cast<HWND>(app.Send(sample::kMsgGetControl, sample::kListViewId));
    CAgentClient client;
    if (!client.Open(&error) || !client.Hook(list)) {
        std::fprintf(stderr, "probe_bench: %s\n", error.empty() ? "cannot hook the sample" : error.c_str());
        return 1;
    }
    const int kRuns = 1000;
    std::vector<double> micros;
    micros.reserve(kRuns);
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    for (int i = 0; i < kRuns + 20; ++i) {
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        ProbeResult probe = ProbeWindow(client, list, true, kItemKindListView, static_cast<uint32_t>(i % 40), 0);
        QueryPerformanceCounter(&t1);
        if (probe.status != AgentStatus::Ok || !probe.description.hasItem) {
            std::fprintf(stderr, "probe_bench: probe %d failed: %s\n", i, AgentStatusText(probe.status));
            return 1;
        }
        if (i >= 20) micros.push_back(1e6 * static_cast<double>(t1.QuadPart - t0.QuadPart) / freq.QuadPart);
    }
    std::sort(micros.begin(), micros.end());
    std::printf("info probe with a list-view item, %d runs: median %.0f us, p99 %.0f us, max %.0f us\n", kRuns,
                micros[kRuns / 2], micros[kRuns * 99 / 100], micros.back());
    PrintTableRow("info probe: describe a list view and record an item", Summarise(micros), nullptr);
    return 0;
}
