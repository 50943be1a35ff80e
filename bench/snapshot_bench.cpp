// Times the item listing ("TavmorItemList", every item with its texts,
// rectangle, state and recorded form, paged by the client) of a
// 10,000-item list view, a 10,000-node tree (every node), a 10,000-item
// list box and the sample's accessibility tree (1,111 objects in its grid),
// against reading the same from outside the target the way a controller
// without the agent must: for the controls, the records and texts through
// memory allocated in the target (VirtualAllocEx once, then for every item
// WriteProcessMemory, the control's message, ReadProcessMemory), the list
// box's texts and rectangles with the messages the system copies across;
// for the accessibility tree, the cross-process walk through the
// accessibility interfaces reading each object's name, role, value, state,
// location and children.
//
// The floor: the sample reads the same items from inside its own process
// with the messages the listing sends for each item (sample message
// kMsgTimeItemReads) and reports the time.
//
//   snapshot_bench [--rounds N]
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "accessibility/AccessibleInterface.h"
#include "bench/BenchFigures.h"
#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "client/ItemSnapshot.h"
#include "common/ComOwned.h"
#include "common/Owned.h"
#include "forms/ItemListForm.h"
#include "sample/SampleProtocol.h"

namespace {

const int kCount = 10000;
const int kText = 256;

// Memory in the target for one record and its text.
class CRemoteReader {
public:
    CRemoteReader(HANDLE process) : m_process(process), m_memory(process, 4096) {}
    bool Ok() const { return static_cast<bool>(m_memory); }
    BYTE* Remote(size_t offset = 0) const { return static_cast<BYTE*>(m_memory.Get()) + offset; }
    char* RemoteText() const { return reinterpret_cast<char*>(Remote(2048)); }

    template <class TRecord>
    LRESULT Send(HWND control, UINT message, WPARAM wParam, TRecord* record) const {
        SIZE_T done = 0;
        WriteProcessMemory(m_process, Remote(), record, sizeof(*record), &done);
        const LRESULT result = SendMessageA(control, message, wParam, reinterpret_cast<LPARAM>(Remote()));
        ReadProcessMemory(m_process, Remote(), record, sizeof(*record), &done);
        return result;
    }
    std::string Text() const {
        char local[kText] = {0};
        SIZE_T done = 0;
        ReadProcessMemory(m_process, RemoteText(), local, sizeof(local), &done);
        local[kText - 1] = '\0';
        return local;
    }

private:
    HANDLE m_process;
    CRemoteMemory m_memory;
};

// Every list-view item: text, image, parameter and state, the other two
// columns' texts, the rectangle. Returns the items read.
int ReadListViewOutside(const CRemoteReader& remote, HWND list) {
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    int read = 0;
    for (int i = 0; i < count; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
        item.iItem = i;
        item.stateMask = 0xFFFF;
        item.pszText = remote.RemoteText();
        item.cchTextMax = kText;
        if (!remote.Send(list, LVM_GETITEMA, 0, &item)) continue;
        std::string text = remote.Text();
        for (int column = 1; column < 3; ++column) {
            LVITEMA sub = {};
            sub.iSubItem = column;
            sub.pszText = remote.RemoteText();
            sub.cchTextMax = kText;
            remote.Send(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), &sub);
            text += remote.Text();
        }
        RECT rect = {LVIR_BOUNDS, 0, 0, 0};
        remote.Send(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), &rect);
        ++read;
    }
    return read;
}

HTREEITEM Next(HWND tree, UINT code, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

// Every node in pre-order, expanded or not: record, text, state, children,
// text rectangle. Returns the nodes read.
int ReadTreeOutside(const CRemoteReader& remote, HWND tree) {
    int read = 0;
    std::vector<HTREEITEM> stack;
    for (HTREEITEM item = Next(tree, TVGN_ROOT, nullptr); item;) {
        TVITEMA record = {};
        record.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_STATE | TVIF_CHILDREN | TVIF_PARAM | TVIF_HANDLE;
        record.hItem = item;
        record.stateMask = 0xFF;
        record.pszText = remote.RemoteText();
        record.cchTextMax = kText;
        if (remote.Send(tree, TVM_GETITEMA, 0, &record)) {
            remote.Text();
            RECT rect = {};
            std::memcpy(&rect, &item, sizeof(item));
            remote.Send(tree, TVM_GETITEMRECT, 1, &rect);
            ++read;
        }
        HTREEITEM child = Next(tree, TVGN_CHILD, item);
        if (child) {
            stack.push_back(item);
            item = child;
            continue;
        }
        HTREEITEM next = Next(tree, TVGN_NEXT, item);
        while (!next && !stack.empty()) {
            next = Next(tree, TVGN_NEXT, stack.back());
            stack.pop_back();
        }
        item = next;
    }
    return read;
}

// Every list-box item: text (the system copies it across; Wine as UTF-16),
// rectangle, selection.
int ReadListBoxOutside(HWND list) {
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    std::vector<wchar_t> text;
    int read = 0;
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == LB_ERR) continue;
        text.assign(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        RECT rect = {};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
        SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(i), 0);
        ++read;
    }
    return read;
}

// One object or element read from outside: name, role, value, state, location.
void ReadObject(IAccessible* pAcc, long nChildId) {
    const VARIANT child = ChildVariant(nChildId);
    COwnedBstr name, value;
    COwnedVariant role, state;
    pAcc->get_accName(child, name.Put());
    pAcc->get_accRole(child, role.Put());
    pAcc->get_accValue(child, value.Put());
    pAcc->get_accState(child, state.Put());
    long x = 0, y = 0, w = 0, h = 0;
    pAcc->accLocation(&x, &y, &w, &h, child);
}

// Depth-first below pAcc down to nDepth levels; returns the objects read.
int WalkOutside(IAccessible* pAcc, int nLevel, int nDepth) {
    if (nLevel >= nDepth) return 0;
    long nCount = 0;
    if (FAILED(pAcc->get_accChildCount(&nCount)) || nCount <= 0) return 0;
    std::vector<VARIANT> children(static_cast<size_t>(nCount));
    for (VARIANT& v : children) VariantInit(&v);
    long nObtained = 0;
    int read = 0;
    if (SUCCEEDED(AccessibleChildren(pAcc, 0, nCount, children.data(), &nObtained))) {
        for (long i = 0; i < nObtained; ++i) {
            VARIANT& entry = children[static_cast<size_t>(i)];
            if (entry.vt == VT_I4) {
                ReadObject(pAcc, entry.lVal);
                ++read;
                continue;
            }
            if (entry.vt != VT_DISPATCH || !entry.pdispVal) continue;
            TComPtr<IAccessible> child;
            if (FAILED(entry.pdispVal->QueryInterface(kIidAccessible, child.PutVoid())) || !child) continue;
            ReadObject(child.Get(), CHILDID_SELF);
            ++read;
            read += WalkOutside(child.Get(), nLevel + 1, nDepth);
        }
    }
    for (VARIANT& v : children) VariantClear(&v);
    return read;
}

int ReadAccessibleOutside(HWND window, int nDepth) {
    TComPtr<IAccessible> root;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), kIidAccessible, root.PutVoid())) ||
        !root) {
        return 0;
    }
    ReadObject(root.Get(), CHILDID_SELF);
    return 1 + WalkOutside(root.Get(), 0, nDepth);
}

struct Case {
    std::string operation;
    HWND window;
    int kind;
    bool allNodes;
    int outsideRounds;
};

}  // namespace

int main(int argc, char** argv) {
    int rounds = 5;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::atoi(argv[++i]);
    }
    if (rounds < 1) rounds = 1;
    const bool bComReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CApplicationProcess app;
    std::string error;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", "--no-dialog --items " + std::to_string(kCount),
                   sample::kFrameClass, &error)) {
        return std::printf("snapshot_bench: %s\n", error.c_str()), 1;
    }
    const HWND frame = app.Frame();
    HWND list = reinterpret_cast<HWND>(SendMessageA(frame, sample::kMsgGetControl, sample::kListViewId, 0));
    HWND items = reinterpret_cast<HWND>(SendMessageA(frame, sample::kMsgGetItemsWindow, 0, 0));
    HWND tree = reinterpret_cast<HWND>(SendMessageA(items, sample::kMsgGetItemsControl, sample::kItemsTreeId, 0));
    HWND box = reinterpret_cast<HWND>(SendMessageA(items, sample::kMsgGetItemsControl, sample::kItemsListBoxId, 0));
    HWND accessible = FindTopWindowOfProcess(app.ProcessId(), sample::kAccWindowClass);
    if (!list || !tree || !box || !accessible) return std::printf("snapshot_bench: the sample lacks a control\n"), 1;
    if (SendMessageA(items, sample::kMsgTreeGenerate, kCount, 0) != kCount) return std::printf("tree refused\n"), 1;
    SendMessageA(items, sample::kMsgListBoxFill, kCount, 0);

    CAgentClient client;
    // A record that holds a whole listing of 10,000 items in one page.
    if (!client.Open(&error, 8 * 1024 * 1024)) return std::printf("snapshot_bench: %s\n", error.c_str()), 1;
    HookReport hook = client.Hook(frame);
    if (!hook) return std::printf("snapshot_bench: %s\n", hook.error.c_str()), 1;
    COwnedHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, app.ProcessId()));
    CRemoteReader remote(process.Get());
    if (!remote.Ok()) return std::printf("snapshot_bench: no memory in the sample\n"), 1;

    const Case cases[] = {
        {"item list: 10,000-item list view", list, 7, false, 2},
        {"item list: 10,000-node tree, every node", tree, 8, true, 2},
        {"item list: 10,000-item list box", box, 9, false, 2},
        {"item list: accessibility tree (1,111-object grid), depth 8", accessible, 12, false, 1},
    };
    std::printf("%-62s %8s %11s %11s %11s %11s %9s %9s\n", "listing", "items", "agent us", "inside us", "outside us",
                "agent p99", "out/agent", "agent/in");
    bool ok = true;
    for (const Case& c : cases) {
        SnapshotOptions options;
        options.allNodes = c.allNodes;
        size_t listed = 0;
        std::vector<double> agent;
        for (int r = 0; r < rounds; ++r) {
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            const SnapshotResult all = ReadItemSnapshot(client, c.window, c.kind, options, 60000);
            QueryPerformanceCounter(&t1);
            if (all.status != AgentStatus::Ok || !all.served) {
                std::printf("snapshot_bench: %s failed: %s %s\n", c.operation.c_str(), AgentStatusText(all.status),
                            all.error.c_str());
                ok = false;
                break;
            }
            listed = all.items.size();
            agent.push_back(Micros(t0, t1));
        }
        if (agent.empty()) continue;
        // The agent's part alone: the pages' round trips without decoding them.
        std::vector<double> agentSide;
        for (int r = 0; r < rounds; ++r) {
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            uint32_t first = 0;
            for (;;) {
                ItemListRequest request;
                request.nKind = static_cast<uint16_t>(c.kind);
                request.nFirst = first;
                request.dwFlags = c.allNodes ? ItemListRequest::kAllNodesFlag : 0;
                CWireCursor w = client.BeginRequest(60000);
                WriteForm(w, request);
                CWireCursor reply;
                ItemListReplyHead head;
                if (client.Send(c.window, client.Messages().nItemList, 0, w, &reply, 60000) != AgentStatus::Ok ||
                    !ReadForm(reply, head) || head.nCount == 0 || head.nNext >= head.nTotal) {
                    break;
                }
                first = head.nNext;
            }
            QueryPerformanceCounter(&t1);
            agentSide.push_back(Micros(t0, t1));
        }
        std::vector<double> inside;
        if (c.kind != 12) {
            for (int r = 0; r < rounds; ++r) {
                inside.push_back(static_cast<double>(SendMessageA(frame, sample::kMsgTimeItemReads,
                                                                  reinterpret_cast<WPARAM>(c.window), 0)));
            }
        }
        std::vector<double> outside;
        int read = 0;
        for (int r = 0; r < c.outsideRounds; ++r) {
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            switch (c.kind) {
            case 7: read = ReadListViewOutside(remote, c.window); break;
            case 8: read = ReadTreeOutside(remote, c.window); break;
            case 9: read = ReadListBoxOutside(c.window); break;
            default: read = ReadAccessibleOutside(c.window, 8); break;
            }
            QueryPerformanceCounter(&t1);
            outside.push_back(Micros(t0, t1));
        }
        const Figures a = Summarise(agent), in = Summarise(inside), out = Summarise(outside);
        const Figures side = Summarise(agentSide);
        std::printf("%-62s %8zu %11.0f %11.0f %11.0f %11.0f %9.1f %9.2f\n", c.operation.c_str(), listed, a.median,
                    in.median, out.median, a.p99, out.median / a.median, in.median > 0 ? a.median / in.median : 0.0);
        std::printf("  the pages' round trips alone (the agent's part, without decoding): %.0f us\n", side.median);
        if (static_cast<size_t>(read) != listed) {
            std::printf("  (the outside read met %d items, the listing %zu)\n", read, listed);
        }
        PrintTableRow(c.operation + " vs per-item reads from outside", a, &out);
        if (!inside.empty()) PrintTableRow(c.operation + " vs the same reads inside the target", a, &in);
    }
    client.Close();
    if (bComReady) CoUninitialize();
    return ok ? 0 : 1;
}
