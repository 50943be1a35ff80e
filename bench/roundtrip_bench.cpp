// The request round trip against the platform's own floor: a plain
// PostMessage ping-pong between the same two processes through the target's
// message loop, without the agent; the same ping-pong once the agent's hook
// is on the target's thread (the platform's price of any WH_GETMESSAGE hook
// there); then the agent's ping. Medians and 99th
// percentiles over the given number of rounds (default 1000).
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/BenchFigures.h"
#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "common/Owned.h"
#include "sample/SampleProtocol.h"

namespace {

// Posts the echo request and waits for the echo with the same number, the
// way the client waits for a reply.
bool Echo(HWND target, HWND reply, LPARAM number) {
    if (!PostMessageA(target, sample::kMsgEcho, reinterpret_cast<WPARAM>(reply), number)) return false;
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == reply && msg.message == sample::kMsgEcho && msg.lParam == number) return true;
            DispatchMessageA(&msg);
        }
        if (GetTickCount() - start > 5000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(10, atoi(argv[1])) : 1000;
    CApplicationProcess app;
    std::string error;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", "--items 20 --no-dialog", sample::kFrameClass, &error)) {
        std::fprintf(stderr, "roundtrip_bench: %s\n", error.c_str());
        return 1;
    }
    COwnedWindow reply(CreateWindowExA(0, "STATIC", "echo", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    std::vector<double> floor, hookedFloor, agent;
    LARGE_INTEGER t0, t1;
    // The ping-pong through the sample's loop; the first rounds warm up.
    auto pingPong = [&](std::vector<double>* into) {
        for (int i = 0; i < rounds + 20; ++i) {
            QueryPerformanceCounter(&t0);
            if (!Echo(app.Frame(), reply.Get(), i + 1)) return false;
            QueryPerformanceCounter(&t1);
            if (i >= 20) into->push_back(Micros(t0, t1));
        }
        return true;
    };
    if (!pingPong(&floor)) {
        std::fprintf(stderr, "roundtrip_bench: the sample does not echo\n");
        return 1;
    }

    CAgentClient client;
    if (!client.Open(&error)) {
        std::fprintf(stderr, "roundtrip_bench: %s\n", error.c_str());
        return 1;
    }
    HookReport hook = client.Hook(app.Frame());
    if (!hook) {
        std::fprintf(stderr, "roundtrip_bench: %s\n", hook.error.c_str());
        return 1;
    }
    // The same ping-pong with the agent's hook on the sample's thread: what
    // the platform's hook dispatch adds to every message the thread retrieves.
    if (!pingPong(&hookedFloor)) {
        std::fprintf(stderr, "roundtrip_bench: the hooked sample does not echo\n");
        return 1;
    }
    for (int i = 0; i < rounds + 20; ++i) {
        QueryPerformanceCounter(&t0);
        const AgentStatus status = client.Ping(app.Frame());
        QueryPerformanceCounter(&t1);
        if (status != AgentStatus::Ok) {
            std::fprintf(stderr, "roundtrip_bench: ping %d: %s\n", i, AgentStatusText(status));
            return 1;
        }
        if (i >= 20) agent.push_back(Micros(t0, t1));
    }
    const Figures f = Summarise(floor), h = Summarise(hookedFloor), a = Summarise(agent);
    std::printf("round trip over %d rounds\n%-44s %10s %10s\n", rounds, "operation", "median us", "p99 us");
    std::printf("%-44s %10.0f %10.0f\n", "floor: PostMessage ping-pong, no agent", f.median, f.p99);
    std::printf("%-44s %10.0f %10.0f\n", "the same, the agent's hook installed", h.median, h.p99);
    std::printf("%-44s %10.0f %10.0f\n", "agent ping (envelope, hook, reply)", a.median, a.p99);
    std::printf("%-44s %10.2f %10.2f\n", "agent / floor", a.median / f.median, a.p99 / f.p99);
    PrintTableRow("request round trip (ping) vs PostMessage ping-pong floor", a, &f);
    PrintTableRow("request round trip (ping) vs the same ping-pong, agent's hook installed", a, &h);
    return 0;
}
