// Figures of the data-message and watch paths, in one run against the
// sample in a process of its own:
// - reading a tab's rectangle with data-message command 2 through the
//   agent (TCM_GETITEMRECT sent inside the sample), against the way a
//   controller does it from outside (memory reserved in the sample with
//   VirtualAllocEx, TCM_GETITEMRECT sent across, ReadProcessMemory);
// - the latency from a watched message being sent inside the sample to
//   its notification arriving at the controller's listener.
// Usage: data_message_bench [rounds]  (default 1000)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchFigures.h"
#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "client/DataMessageRequests.h"
#include "client/MessageWatcher.h"
#include "common/Owned.h"
#include "sample/SampleProtocol.h"

namespace {

void Report(const char* what, std::vector<double> us) {
    std::sort(us.begin(), us.end());
    std::printf("%-58s median %7.0f us  p99 %7.0f us  max %7.0f us  (n=%zu)\n", what, us[us.size() / 2],
                us[us.size() * 99 / 100], us.back(), us.size());
}

int Fail(const char* what) {
    std::fprintf(stderr, "data_message_bench: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(10, atoi(argv[1])) : 1000;
    CApplicationProcess app;
    std::string error;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", "--items 20 --no-dialog", sample::kFrameClass, &error)) {
        return Fail(error.c_str());
    }
    HWND watch = FindTopWindowOfProcess(app.ProcessId(), sample::kWatchWindowClass, 2000);
    if (!watch) return Fail("the sample shows no watch window");
    HWND tab = reinterpret_cast<HWND>(SendMessageA(watch, sample::kMsgWatchGetControl, sample::kTabFixedId, 0));
    if (!tab) return Fail("no tab control");

    CAgentClient client;
    if (!client.Open(&error)) return Fail(error.c_str());
    HookReport hook = client.Hook(app.Frame());
    if (!hook) return Fail(hook.error.c_str());
    if (client.Ping(app.Frame()) != AgentStatus::Ok) return Fail("the agent does not answer");

    LARGE_INTEGER t0, t1;
    // ---- a tab's rectangle, through the agent ----
    std::vector<double> agent;
    RECT viaAgent = {0, 0, 0, 0};
    for (int i = 0; i < rounds; ++i) {
        QueryPerformanceCounter(&t0);
        DataPairResult r = SendForTwoValues(client, tab, TCM_GETITEMRECT, 2, PointerPlacement::InLParam);
        QueryPerformanceCounter(&t1);
        if (r.status != AgentStatus::Ok) return Fail(AgentStatusText(r.status));
        viaAgent.left = r.first;
        viaAgent.top = r.second;
        agent.push_back(Micros(t0, t1));
    }

    // ---- the same rectangle from outside ----
    COwnedHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                     app.ProcessId()));
    if (!process) return Fail("OpenProcess failed");
    std::vector<double> outside, outsideKept;
    RECT viaOutside = {0, 0, 0, 0};
    for (int i = 0; i < rounds; ++i) {
        QueryPerformanceCounter(&t0);
        CRemoteMemory remote(process.Get(), sizeof(RECT));
        if (!remote) return Fail("VirtualAllocEx failed");
        SendMessageA(tab, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(remote.Get()));
        SIZE_T read = 0;
        ReadProcessMemory(process.Get(), remote.Get(), &viaOutside, sizeof(viaOutside), &read);
        QueryPerformanceCounter(&t1);
        outside.push_back(Micros(t0, t1));
    }
    {
        CRemoteMemory remote(process.Get(), sizeof(RECT));
        for (int i = 0; i < rounds && remote; ++i) {
            QueryPerformanceCounter(&t0);
            SendMessageA(tab, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(remote.Get()));
            SIZE_T read = 0;
            ReadProcessMemory(process.Get(), remote.Get(), &viaOutside, sizeof(viaOutside), &read);
            QueryPerformanceCounter(&t1);
            outsideKept.push_back(Micros(t0, t1));
        }
    }
    if (viaAgent.left != viaOutside.left || viaAgent.top != viaOutside.top) {
        return Fail("the two ways read different rectangles");
    }

    // ---- watch latency: sent in the sample, heard here ----
    std::vector<double> latency;
    LARGE_INTEGER sentAt = {};
    bool heard = false;
    CMessageWatcher watcher(client, [&](WPARAM, LPARAM lParam) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        sentAt.QuadPart = static_cast<LONGLONG>(lParam);
        latency.push_back(Micros(sentAt, now));
        heard = true;
    });
    if (watcher.Add(watch, sample::kMsgWatchPing) != AgentStatus::Ok) return Fail("the watch was not added");
    for (int i = 0; i < rounds; ++i) {
        heard = false;
        PostMessageA(watch, sample::kMsgWatchSendStampedPing, 0, 0);
        watcher.Pump(2000, 1);
        if (!heard) return Fail("a watched message was not reported");
    }

    std::printf("data_message_bench: %d rounds, tab rectangle (%ld, %ld) of the sample's fixed-width tabs\n", rounds,
                viaAgent.left, viaAgent.top);
    Report("tab rectangle, data-message command 2 through the agent:", agent);
    Report("tab rectangle from outside (alloc, send, read, free):", outside);
    Report("tab rectangle from outside, memory reserved once:", outsideKept);
    Report("watched message sent in the sample -> listener here:", latency);
    const Figures outsideFigures = Summarise(outside);
    PrintTableRow("tab rectangle: data-message command 2 vs VirtualAllocEx + send + ReadProcessMemory",
                  Summarise(agent), &outsideFigures);
    PrintTableRow("watch notification: message sent in the target -> listener", Summarise(latency), nullptr);
    return 0;
}
