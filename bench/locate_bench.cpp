// Times "TavmorLocateItem" for a list-view item near the end of lists of
// 100, 1000 and 10000 items (text-first and index strategies), against
// finding the same item from outside the target the way out-of-process
// tools do: an item record and text buffer allocated in the target with
// VirtualAllocEx, LVM_GETITEMA per item, ReadProcessMemory of the text.
//
// The target is the sample application when it is next to this program,
// otherwise this program itself started with --host, which shows a list
// view and answers the sample's item-count message the same way.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchFigures.h"
#include "bench/OutOfProcessListView.h"
#include "client/ApplicationProcess.h"
#include "client/ItemRequests.h"
#include "common/Owned.h"
#include "sample/SampleProtocol.h"

namespace {


std::string ItemText(int i) {
    char text[32];
    std::snprintf(text, sizeof(text), "Item %04d", i);
    return text;
}

}  // namespace

int main() {
    CApplicationProcess app;
    std::string error;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", "--no-dialog --items 10", sample::kFrameClass, &error)) {
        return std::printf("locate_bench: %s\n", error.c_str()), 1;
    }
    const HWND frame = app.Frame();
    const HWND list = reinterpret_cast<HWND>(app.Send(sample::kMsgGetControl, sample::kListViewId));
    CAgentClient client;
    if (!client.Open(&error)) return std::printf("agent: %s\n", error.c_str()), 1;
    HookReport hook = client.Hook(list);
    if (!hook) return std::printf("agent: %s\n", hook.error.c_str()), 1;
    COwnedHandle processOwner(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, app.ProcessId()));
    const HANDLE process = processOwner.Get();

    std::printf("%7s  %-22s %10s %10s\n", "items", "method", "median us", "p99 us");
    for (int count : {100, 1000, 10000}) {
        SendMessageA(frame, sample::kMsgSetItemCount, static_cast<WPARAM>(count), 0);
        const int wanted = count - 3;
        LocatorForm form;
        form = ListViewItemForm(ItemText(wanted), wanted, wanted % 4);
        const int rounds = count >= 10000 ? 60 : 300;
        double textMedian = 0;
        Figures textFirst;
        for (uint32_t strategy : {0u, 3u}) {
            std::vector<double> times;
            for (int r = 0; r < rounds; ++r) {
                LARGE_INTEGER t0, t1;
                QueryPerformanceCounter(&t0);
                LocateResult found = LocateItem(client, list, 7, 0, form, strategy);
                QueryPerformanceCounter(&t1);
                if (found.status != AgentStatus::Ok || !found.found) {
                    std::printf("locate failed: %s\n", AgentStatusText(found.status));
                    break;
                }
                times.push_back(Micros(t0, t1));
            }
            Figures s = Summarise(times);
            if (strategy == 0) {
                textMedian = s.median;
                textFirst = s;
            }
            std::printf("%7d  %-22s %10.0f %10.0f\n", count, strategy == 0 ? "agent, text first" : "agent, by index",
                        s.median, s.p99);
        }
        std::vector<double> outside;
        const int outsideRounds = count >= 10000 ? 5 : (count >= 1000 ? 20 : 100);
        for (int r = 0; r < outsideRounds && process; ++r) {
            RECT rect;
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            int index = FindListViewItemOutOfProcess(process, list, form.listView.text, &rect);
            QueryPerformanceCounter(&t1);
            if (index != wanted) {
                std::printf("out-of-process search found %d\n", index);
                break;
            }
            outside.push_back(Micros(t0, t1));
        }
        Figures o = Summarise(outside);
        std::printf("%7d  %-22s %10.0f %10.0f\n", count, "out of process", o.median, o.p99);
        if (textMedian > 0) std::printf("%7d  ratio out-of-process / agent text-first: %.1f\n", count, o.median / textMedian);
        PrintTableRow("locate list-view item near the end of " + std::to_string(count) + " (text first)", textFirst, &o);
    }
    client.Close();
    return 0;
}
