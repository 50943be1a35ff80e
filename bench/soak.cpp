// Soak: sends many mixed requests of every kind to the sample application
// and prints, from the sample's own counting, what it holds before and
// after: kernel handles, GDI objects, USER objects and private bytes. None
// may grow beyond noise. --leak N has the sample leak on purpose before
// the second count, which the figures must show.
//
//   soak [--requests N] [--leak N]
// One summary line: "soak: N requests, F failed; kernel handles +d (a -> b);
// GDI objects +d (...); USER objects +d (...); private KiB +d (...)".
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "forms/ItemKinds.h"
#include "sample/SampleProtocol.h"

namespace {

struct Counts {
    long values[4];
};

const char* const kResourceNames[4] = {"kernel handles", "GDI objects", "USER objects", "private KiB"};

Counts Count(const CApplicationProcess& app) {
    Counts c = {};
    for (int i = 0; i < 4; ++i) c.values[i] = static_cast<long>(app.Send(sample::kMsgCountResources, i));
    return c;
}

POINT ScreenCentre(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

int main(int argc, char** argv) {
    int requests = 10000, leak = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--requests") == 0) requests = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--leak") == 0) leak = std::atoi(argv[i + 1]);
    }
    CApplicationProcess app;
    std::string error;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", "--items 200 --no-dialog", sample::kFrameClass, &error)) {
        std::fprintf(stderr, "soak: %s\n", error.c_str());
        return 1;
    }
    CAgentClient client;
    if (!client.Open(&error)) {
        std::fprintf(stderr, "soak: %s\n", error.c_str());
        return 1;
    }
    HookReport hook = client.Hook(app.Frame());
    if (!hook) {
        std::fprintf(stderr, "soak: %s\n", hook.error.c_str());
        return 1;
    }
    const HWND frame = app.Frame();
    const HWND list = reinterpret_cast<HWND>(app.Send(sample::kMsgGetControl, sample::kListViewId));
    const POINT listPoint = ScreenCentre(list);
    POINT barPoint = {0, 0};
    ClientToScreen(frame, &barPoint);
    barPoint.x += 40;
    barPoint.y -= GetSystemMetrics(SM_CYMENU) / 2;
    std::mt19937 random(7);

    // One request of each sort; each returns whether the agent answered.
    const std::vector<std::function<bool()>> sorts = {
        [&] { return client.Ping(frame) == AgentStatus::Ok; },
        [&] { return GetItemRect(client, list, kItemKindListView, listPoint.x, listPoint.y).status == AgentStatus::Ok; },
        [&] {
            const int item = static_cast<int>(random() % 200);
            char text[16];
            std::snprintf(text, sizeof(text), "Item %04d", item);
            return LocateItem(client, list, kItemKindListView, 0, ListViewItemForm(text, item, item % 4), random() % 5)
                       .status == AgentStatus::Ok;
        },
        [&] { return ProbeWindow(client, list, true, kItemKindListView, random() % 200, 0).status == AgentStatus::Ok; },
        [&] { return GetItemRect(client, frame, kItemKindMenuBar, barPoint.x, barPoint.y).status == AgentStatus::Ok; },
        [&] {
            return LocateItem(client, frame, kItemKindMenuBar, 0, MenuBarItemForm(random() % 5, ""), 0).status ==
                   AgentStatus::Ok;
        },
        [&] { return ProbeWindow(client, frame, false, 0, 0, 0).status == AgentStatus::Ok; },
    };
    auto run = [&](int n, int* failed) {
        for (int i = 0; i < n; ++i) {
            if (!sorts[static_cast<size_t>(i) % sorts.size()]()) ++*failed;
        }
    };
    // A warm-up first: what the agent sets up once (its lock, the text
    // tables of the controls) is no growth.
    int failed = 0;
    run(static_cast<int>(sorts.size()) * 50, &failed);
    failed = 0;
    const Counts before = Count(app);
    run(requests, &failed);
    if (leak > 0) app.Send(sample::kMsgLeak, static_cast<WPARAM>(leak));
    const Counts after = Count(app);

    std::printf("soak: %d requests, %d failed", requests, failed);
    for (int i = 0; i < 4; ++i) {
        std::printf("; %s %+ld (%ld -> %ld)", kResourceNames[i], after.values[i] - before.values[i], before.values[i],
                    after.values[i]);
    }
    std::printf("\n");
    return failed ? 1 : 0;
}
