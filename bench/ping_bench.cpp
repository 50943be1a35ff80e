// Round trip of a ping: controller posts the envelope, the agent answers
// from the target's thread, the controller wakes on the reply.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "sample/SampleProtocol.h"

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(10, atoi(argv[1])) : 1000;
    CApplicationProcess app;
    std::string error;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", "--items 20 --no-dialog", sample::kFrameClass, &error)) {
        std::fprintf(stderr, "ping_bench: %s\n", error.c_str());
        return 1;
    }
    CAgentClient client;
    if (!client.Open(&error) || !client.Hook(app.Frame())) {
        std::fprintf(stderr, "ping_bench: %s\n", error.c_str());
        return 1;
    }
    // The first ping maps the agent into the target; it is reported apart.
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    if (client.Ping(app.Frame()) != AgentStatus::Ok) {
        std::fprintf(stderr, "ping_bench: the agent does not answer\n");
        return 1;
    }
    QueryPerformanceCounter(&t1);
    const double first = (t1.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart;

    std::vector<double> us;
    us.reserve(rounds);
    for (int i = 0; i < rounds; ++i) {
        QueryPerformanceCounter(&t0);
        AgentStatus st = client.Ping(app.Frame());
        QueryPerformanceCounter(&t1);
        if (st != AgentStatus::Ok) {
            std::fprintf(stderr, "ping_bench: ping %d failed: %s\n", i, AgentStatusText(st));
            return 1;
        }
        us.push_back((t1.QuadPart - t0.QuadPart) * 1e6 / f.QuadPart);
    }
    std::sort(us.begin(), us.end());
    std::printf("ping round trip over %d pings: median %.0f us, p99 %.0f us, max %.0f us "
                "(first ping, loading the agent: %.1f ms)\n",
                rounds, us[us.size() / 2], us[us.size() * 99 / 100], us.back(), first);
    return 0;
}
