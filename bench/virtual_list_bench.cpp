// Times "TavmorLocateItem" on the sample's owner-data list view of
// 1,000,000 rows: a row near the end by text (the application's own search
// through LVM_FINDITEM, checked by the locator; and the walk over every row
// when the application does not answer), by index and by selection. Then
// the same text search at 10,000 and 100,000 rows through the agent and the
// out-of-process way (VirtualAllocEx, LVM_GETITEMA and ReadProcessMemory
// per row), with the growth from one to the other: at 1,000,000 rows the
// out-of-process way would take minutes.
//
//   virtual_list_bench [--rows N]   (N rows for the first part; default 1,000,000)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
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

const int kListView = 7;
const uint32_t kByText = 0, kByIndex = 3, kBySelection = 4;

std::string RowText(int row) {
    char text[32];
    std::snprintf(text, sizeof(text), "Row %07d", row);
    return text;
}

std::string Thousands(long long n) {
    std::string digits = std::to_string(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// Locates the form `rounds` times; empty when a locate fails.
std::vector<double> TimeLocate(CAgentClient& client, HWND list, const LocatorForm& form, uint32_t strategy, int rounds) {
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        LocateResult found = LocateItem(client, list, kListView, 0, form, strategy, 120000);
        QueryPerformanceCounter(&t1);
        if (found.status != AgentStatus::Ok || !found.found) {
            std::printf("locate (strategy %u) failed: %s, found %d\n", strategy, AgentStatusText(found.status),
                        found.found ? 1 : 0);
            return std::vector<double>();
        }
        times.push_back(Micros(t0, t1));
    }
    return times;
}

void PrintLine(const std::string& what, const Figures& f) {
    std::printf("  %-62s median %10.0f us  p99 %10.0f us\n", what.c_str(), f.median, f.p99);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    int rows = sample::kVirtualDefaultRows;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--rows") == 0) rows = std::atoi(argv[i + 1]);
    }
    if (rows < 1000) rows = 1000;
    CApplicationProcess app;
    std::string error;
    const std::string arguments = "--no-dialog --virtual --virtual-rows " + std::to_string(rows);
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", arguments, sample::kFrameClass, &error)) {
        return std::printf("virtual_list_bench: %s\n", error.c_str()), 1;
    }
    const HWND window = reinterpret_cast<HWND>(app.Send(sample::kMsgGetVirtualWindow));
    const HWND list = GetDlgItem(window, sample::kVirtualListId);
    if (!list) return std::printf("virtual_list_bench: the sample has no virtual window\n"), 1;
    CAgentClient client;
    if (!client.Open(&error)) return std::printf("agent: %s\n", error.c_str()), 1;
    HookReport hook = client.Hook(list);
    if (!hook) return std::printf("agent: %s\n", hook.error.c_str()), 1;

    const std::string rowsText = Thousands(rows);
    const int wanted = rows - 10;
    // Recorded at another place, so that the search runs (the recorded place,
    // when the row is still there, ends it at once).
    const LocatorForm moved = ListViewItemForm(RowText(wanted), 5, wanted % 4);
    const LocatorForm inPlace = ListViewItemForm(RowText(wanted), wanted, wanted % 4);
    std::printf("owner-data list view of %s rows, row %s\n", rowsText.c_str(), Thousands(wanted).c_str());

    SendMessageA(window, sample::kMsgVirtualFindMode, 0, 0);
    const Figures asked = Summarise(TimeLocate(client, list, moved, kByText, 10));
    PrintLine("by text, the application's search, checked", asked);
    const Figures kept = Summarise(TimeLocate(client, list, inPlace, kByText, 50));
    PrintLine("by text, the row still at its recorded index", kept);
    SendMessageA(window, sample::kMsgVirtualFindMode, 1, 0);
    const Figures walked = Summarise(TimeLocate(client, list, moved, kByText, 3));
    PrintLine("by text, walked (the application does not answer)", walked);
    SendMessageA(window, sample::kMsgVirtualFindMode, 0, 0);
    if (asked.median > 0) std::printf("  the application's search gains %.1f times over the walk\n", walked.median / asked.median);
    const Figures byIndex = Summarise(TimeLocate(client, list, inPlace, kByIndex, 200));
    PrintLine("by index", byIndex);
    SendMessageA(window, sample::kMsgVirtualSelect, static_cast<WPARAM>(wanted - 1000), 0);
    const Figures bySelection = Summarise(TimeLocate(client, list, inPlace, kBySelection, 200));
    PrintLine("by selection", bySelection);
    PrintTableRow("locate owner-data row near the end of " + rowsText + " by text (its own search, checked)", asked, nullptr);
    PrintTableRow("locate owner-data row near the end of " + rowsText + " by text, walked", walked, nullptr);
    PrintTableRow("locate owner-data row near the end of " + rowsText + " by index", byIndex, nullptr);
    PrintTableRow("locate owner-data row near the end of " + rowsText + " by selection", bySelection, nullptr);

    COwnedHandle processOwner(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, app.ProcessId()));
    const HANDLE process = processOwner.Get();
    if (!process) return std::printf("virtual_list_bench: cannot open the sample's process\n"), 1;
    double outside[2] = {0, 0};
    const int counts[2] = {10000, 100000};
    for (int k = 0; k < 2; ++k) {
        const int count = counts[k];
        SendMessageA(window, sample::kMsgVirtualSetRows, static_cast<WPARAM>(count), 0);
        const int nearEnd = count - 10;
        const LocatorForm form = ListViewItemForm(RowText(nearEnd), 5, nearEnd % 4);
        const Figures agent = Summarise(TimeLocate(client, list, form, kByText, 20));
        std::vector<double> times;
        // Seconds to minutes a round: one round at 100,000 rows, two at 10,000.
        for (int r = 0; r < (count > 10000 ? 1 : 2); ++r) {
            RECT rect;
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            const int index = FindListViewItemOutOfProcess(process, list, RowText(nearEnd), &rect);
            QueryPerformanceCounter(&t1);
            if (index != nearEnd) {
                std::printf("out-of-process search found %d, not %d\n", index, nearEnd);
                break;
            }
            times.push_back(Micros(t0, t1));
        }
        const Figures other = Summarise(times);
        outside[k] = other.median;
        std::printf("%s rows:\n", Thousands(count).c_str());
        PrintLine("agent, by text", agent);
        PrintLine("out of process, every row read", other);
        PrintTableRow("locate owner-data row near the end of " + Thousands(count) + " by text vs out-of-process reads",
                      agent, &other);
    }
    if (outside[0] > 0 && outside[1] > 0) {
        const double perRowUs = outside[1] / 100000;
        const double millionSeconds = perRowUs * 1000000 / 1e6;
        std::printf("out-of-process growth from 10,000 to 100,000 rows: %.1f times (%.0f us per row at 10,000, %.0f at"
                    " 100,000); at 1,000,000 rows, row by row, about %.0f s\n",
                    outside[1] / outside[0], outside[0] / 10000, perRowUs, millionSeconds);
    }
    client.Close();
    return 0;
}
