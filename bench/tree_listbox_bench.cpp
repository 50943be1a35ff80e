// Times "TavmorLocateItem" for a tree item deep in generated trees of 1,000
// and 10,000 nodes (whole-tree walk first, and path first), and for a
// list-box item near the end of 1,000 and 10,000 items, against finding the
// same item from outside the target the way out-of-process tools do: the
// tree walked with TVM_GETNEXTITEM, each item fetched with TVM_GETITEMA into
// a record and text buffer allocated in the target with VirtualAllocEx and
// read back with ReadProcessMemory; the list box's texts with LB_GETTEXT
// across processes.
//
// The target is the sample application's items window. The tree view's own
// cost per message, measured in this process, shows how much of the walk's
// growth is the control's. Before each round
// the list box is scrolled back to its top, so that every round, inside or
// outside, also brings the item into view.
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
#include "client/ControlItemForms.h"
#include "client/ItemRequests.h"
#include "common/Owned.h"
#include "sample/SampleProtocol.h"

namespace {

// One "TavmorLocateItem"; true when the agent answered, *pFound whether it
// found the item.
bool Locate(CAgentClient& client, HWND control, const LocatorForm& form, SearchArgument param, bool* pFound) {
    LocateResult result = LocateItem(client, control, form.nKind, 0, form, param);
    *pFound = result.found;
    return result.status == AgentStatus::Ok;
}

// Reads an item record and its text through memory in the target.
class CRemoteTree {
public:
    CRemoteTree(HANDLE process, HWND tree)
        : m_process(process), m_tree(tree), m_memory(process, sizeof(TVITEMA) + kText) {}
    bool Ok() const { return static_cast<bool>(m_memory); }

    HTREEITEM Next(UINT code, HTREEITEM item) const {
        return reinterpret_cast<HTREEITEM>(SendMessageA(m_tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    bool Fetch(HTREEITEM item, std::string* text, int* image) const {
        BYTE* remote = static_cast<BYTE*>(m_memory.Get());
        TVITEMA record = {};
        record.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_HANDLE;
        record.hItem = item;
        record.pszText = reinterpret_cast<char*>(remote + sizeof(TVITEMA));
        record.cchTextMax = kText;
        SIZE_T done = 0;
        if (!WriteProcessMemory(m_process, remote, &record, sizeof(record), &done)) return false;
        if (!SendMessageA(m_tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote))) return false;
        char local[kText];
        if (!ReadProcessMemory(m_process, remote, &record, sizeof(record), &done)) return false;
        if (!ReadProcessMemory(m_process, record.pszText, local, sizeof(local), &done)) return false;
        local[kText - 1] = '\0';
        *text = local;
        *image = record.iImage;
        return true;
    }
    // Pre-order walk over every item for text and image; then the item is
    // made visible and its text rectangle read.
    HTREEITEM Find(const std::string& text, int image, RECT* rect) const {
        HTREEITEM found = nullptr;
        HTREEITEM item = Next(TVGN_ROOT, nullptr);
        std::string fetched;
        int fetchedImage = 0;
        while (item && !found) {
            if (Fetch(item, &fetched, &fetchedImage) && fetchedImage == image && fetched == text) {
                found = item;
                break;
            }
            HTREEITEM next = Next(TVGN_CHILD, item);
            while (!next && item) {
                next = Next(TVGN_NEXT, item);
                if (!next) item = Next(TVGN_PARENT, item);
            }
            item = next;
        }
        if (found) {
            SendMessageA(m_tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(found));
            RECT r = {0, 0, 0, 0};
            std::memcpy(&r, &found, sizeof(found));
            SIZE_T done = 0;
            WriteProcessMemory(m_process, m_memory.Get(), &r, sizeof(r), &done);
            SendMessageA(m_tree, TVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(m_memory.Get()));
            ReadProcessMemory(m_process, m_memory.Get(), rect, sizeof(*rect), &done);
        }
        return found;
    }

private:
    static const int kText = 256;
    HANDLE m_process;
    HWND m_tree;
    CRemoteMemory m_memory;
};

// The list box's texts fetched one by one with LB_GETTEXT from this
// process (the system copies a standard list box's texts across; Wine
// copies them as UTF-16 whatever the sender's character set, so the wide
// messages are used); the item found is scrolled into view (to the top)
// and its rectangle read.
int FindListItemOutside(HWND list, const std::string& text, RECT* rect) {
    const std::wstring wanted(text.begin(), text.end());  // ASCII texts
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    std::vector<wchar_t> local;
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == LB_ERR) continue;
        local.assign(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(local.data()));
        if (wanted == local.data()) {
            SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(i), 0);
            SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(rect));
            return i;
        }
    }
    return -1;
}

// The tree view's own cost of one message about an item, in this process:
// for the first and for the last of count items. Where the control checks a
// handle by searching its items, the last one costs more the more items
// there are, and a walk over all items grows with their square.
void MeasureTreeMessageCost(int count, double* pFirst, double* pLast) {
    COwnedWindow tree(CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
    if (!tree) return;
    HTREEITEM first = nullptr, last = nullptr;
    for (int i = 0; i < count; ++i) {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>("Node");
        last = reinterpret_cast<HTREEITEM>(SendMessageA(tree.Get(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        if (!first) first = last;
    }
    const int rounds = 2000;
    for (int pass = 0; pass < 2; ++pass) {
        HTREEITEM item = pass == 0 ? first : last;
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        for (int r = 0; r < rounds; ++r) SendMessageA(tree.Get(), TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item));
        QueryPerformanceCounter(&t1);
        (pass == 0 ? *pFirst : *pLast) = Micros(t0, t1) / rounds;
    }
}

void PrintRow(int count, const char* method, const Figures& s) {
    std::printf("%7d  %-28s %11.0f %11.0f\n", count, method, s.median, s.p99);
}

}  // namespace

int main() {
    CApplicationProcess app;
    std::string error;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", "--no-dialog --items 10", sample::kFrameClass, &error)) {
        return std::printf("tree_listbox_bench: %s\n", error.c_str()), 1;
    }
    const HWND frame = app.Frame();
    HWND items = frame ? reinterpret_cast<HWND>(SendMessageA(frame, sample::kMsgGetItemsWindow, 0, 0)) : nullptr;
    if (!items) return std::printf("no items window\n"), 1;
    HWND tree = reinterpret_cast<HWND>(SendMessageA(items, sample::kMsgGetItemsControl, sample::kItemsTreeId, 0));
    HWND list = reinterpret_cast<HWND>(SendMessageA(items, sample::kMsgGetItemsControl, sample::kItemsListBoxId, 0));

    CAgentClient client;
    if (!client.Open(&error)) return std::printf("agent: %s\n", error.c_str()), 1;
    HookReport hook = client.Hook(tree);
    if (!hook) return std::printf("agent: %s\n", hook.error.c_str()), 1;
    COwnedHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, app.ProcessId()));
    if (!process) return std::printf("cannot open the sample's process\n"), 1;
    CRemoteTree remoteTree(process.Get(), tree);
    if (!remoteTree.Ok()) return std::printf("no memory in the sample\n"), 1;

    std::printf("%7s  %-28s %11s %11s\n", "items", "method", "median us", "p99 us");
    double agentTreeMedian[2][2] = {{0, 0}, {0, 0}};
    Figures agentTree[2];
    int row = 0;
    for (int count : {1000, 10000}) {
        if (SendMessageA(items, sample::kMsgTreeGenerate, static_cast<WPARAM>(count), 0) != count) {
            return std::printf("tree of %d refused\n", count), 1;
        }
        // The target: the last node, found by its id; its form as recorded.
        HTREEITEM target = reinterpret_cast<HTREEITEM>(SendMessageA(items, sample::kMsgTreeGetItem, static_cast<WPARAM>(count), 0));
        std::vector<std::string> path;
        int image = 0;
        std::string text;
        if (!remoteTree.Fetch(target, &text, &image)) return std::printf("target unreadable\n"), 1;
        for (HTREEITEM a = remoteTree.Next(TVGN_PARENT, target); a; a = remoteTree.Next(TVGN_PARENT, a)) {
            std::string ancestor;
            int ancestorImage = 0;
            remoteTree.Fetch(a, &ancestor, &ancestorImage);
            path.insert(path.begin(), ancestor);
        }
        path.push_back(text);
        const LocatorForm form = TreeItemForm(path, image);
        const int rounds = count >= 10000 ? 40 : 200;
        for (uint32_t pass : {0u, 1u}) {
            const SearchStrategy strategy = pass == 0 ? SearchStrategy::kTextFirst : SearchStrategy::kPathFirst;
            std::vector<double> times;
            for (int r = 0; r < rounds; ++r) {
                LARGE_INTEGER t0, t1;
                bool found = false;
                QueryPerformanceCounter(&t0);
                const bool answered = Locate(client, tree, form, strategy, &found);
                QueryPerformanceCounter(&t1);
                if (!answered || !found) return std::printf("tree locate failed (%d, pass %u)\n", count, pass), 1;
                times.push_back(Micros(t0, t1));
            }
            const Figures s = Summarise(times);
            agentTreeMedian[row][pass] = s.median;
            agentTree[pass] = s;
            PrintRow(count, pass == 0 ? "tree, agent, walk first" : "tree, agent, path first", s);
        }
        std::vector<double> outside;
        for (int r = 0; r < (count >= 10000 ? 5 : 20); ++r) {
            RECT rect;
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            HTREEITEM found = remoteTree.Find(text, image, &rect);
            QueryPerformanceCounter(&t1);
            if (found != target) return std::printf("out-of-process walk missed the item\n"), 1;
            outside.push_back(Micros(t0, t1));
        }
        const Figures o = Summarise(outside);
        PrintRow(count, "tree, out of process", o);
        std::printf("%7d  ratio out of process / agent: walk first %.1f, path first %.1f\n", count,
                    o.median / agentTreeMedian[row][0], o.median / agentTreeMedian[row][1]);
        PrintTableRow("locate tree item deep in " + std::to_string(count) + " nodes (walk first)", agentTree[0], &o);
        PrintTableRow("locate tree item deep in " + std::to_string(count) + " nodes (path first)", agentTree[1], &o);
        ++row;
    }
    std::printf("tree, agent cost 10000 / 1000 nodes: walk first %.1f, path first %.1f\n",
                agentTreeMedian[1][0] / agentTreeMedian[0][0], agentTreeMedian[1][1] / agentTreeMedian[0][1]);
    for (int count : {1000, 10000}) {
        double first = 0, last = 0;
        MeasureTreeMessageCost(count, &first, &last);
        std::printf("tree view's own cost of TVM_GETNEXTITEM, in process, %d items: first item %.2f us, last item %.2f us\n",
                    count, first, last);
    }

    double agentListMedian[2] = {0, 0};
    row = 0;
    for (int count : {1000, 10000}) {
        SendMessageA(items, sample::kMsgListBoxFill, static_cast<WPARAM>(count), 0);
        char text[32];
        std::snprintf(text, sizeof(text), "Entry %02d", count - 10);
        const LocatorForm form = ListBoxItemForm(text, count - 10);
        const int rounds = 100;
        std::vector<double> times;
        for (int r = 0; r < rounds; ++r) {
            SendMessageA(items, sample::kMsgListBoxSetTop, 0, 0);
            LARGE_INTEGER t0, t1;
            bool found = false;
            QueryPerformanceCounter(&t0);
            const bool answered = Locate(client, list, form, SearchStrategy::kTextFirst, &found);
            QueryPerformanceCounter(&t1);
            if (!answered || !found) return std::printf("list-box locate failed\n"), 1;
            times.push_back(Micros(t0, t1));
        }
        const Figures s = Summarise(times);
        agentListMedian[row] = s.median;
        PrintRow(count, "list box, agent", s);
        std::vector<double> outside;
        for (int r = 0; r < (count >= 10000 ? 5 : 20); ++r) {
            SendMessageA(items, sample::kMsgListBoxSetTop, 0, 0);
            RECT rect;
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            const int found = FindListItemOutside(list, text, &rect);
            QueryPerformanceCounter(&t1);
            if (found != count - 10) return std::printf("out-of-process search found %d\n", found), 1;
            outside.push_back(Micros(t0, t1));
        }
        const Figures o = Summarise(outside);
        PrintRow(count, "list box, out of process", o);
        std::printf("%7d  ratio out of process / agent: %.1f\n", count, o.median / s.median);
        PrintTableRow("locate list-box item near the end of " + std::to_string(count), s, &o);
        ++row;
    }
    std::printf("list box, agent cost 10000 / 1000 items: %.1f\n", agentListMedian[1] / agentListMedian[0]);
    client.Close();
    return 0;
}
