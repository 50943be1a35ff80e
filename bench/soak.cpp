// Soak: sends many mixed requests of every kind to the sample application
// and prints, from the sample's own counting, what it holds before and
// after: kernel handles, GDI objects, USER objects and private bytes. None
// may grow beyond noise. --leak N has the sample leak on purpose before
// the second count, which the figures must show.
//
// The mix: for every item kind, on a window of the sample of that kind, the
// item under a point, a locate of an item recorded there, a probe and the
// listing of every item; the
// data-message queries (a value pair, the caret, a menu item's rectangle, a
// tab's click point); a watch added and removed; the menu probe started and
// stopped; the spy started and stopped; and a plain ping.
//
//   soak [--requests N] [--leak N] [--each]
// --each runs each sort alone and prints a line per sort instead.
// One summary line: "soak: N requests of S sorts, F failed; kernel handles
// +d (a -> b); GDI objects +d (...); USER objects +d (...); private KiB +d
// (...); H accessible objects handed out, the platform's own cost K KiB (k
// KiB each); private KiB net of it +n". Under Wine the sample grows by about
// 2 KiB for every accessible object it hands out, with or without the
// agent: the sample measures that cost by fetching its own objects, without
// the agent, and it is taken off; what is left is the agent's.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "client/DataMessageRequests.h"
#include "client/InfoProbeRequest.h"
#include "client/ItemKindChoice.h"
#include "client/ItemRequests.h"
#include "client/ItemSnapshot.h"
#include "client/MenuProbeSession.h"
#include "client/MessageWatcher.h"
#include "client/WindowSpySession.h"
#include "forms/ItemKinds.h"
#include "sample/SampleProtocol.h"

namespace {

struct Counts {
    long values[4];
    long handedOut;  // accessible objects the sample handed out so far
};

const char* const kResourceNames[4] = {"kernel handles", "GDI objects", "USER objects", "private KiB"};

Counts Count(const CApplicationProcess& app) {
    Counts c = {};
    for (int i = 0; i < 4; ++i) c.values[i] = static_cast<long>(app.Send(sample::kMsgCountResources, i));
    c.handedOut = static_cast<long>(app.Send(sample::kMsgCountResources, 4));
    return c;
}

POINT ScreenCentre(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

HWND FirstOfClass(const std::vector<HWND>& windows, const char* className) {
    char name[64];
    for (HWND w : windows) {
        if (GetClassNameA(w, name, sizeof(name)) && lstrcmpiA(name, className) == 0) return w;
    }
    return nullptr;
}

// The platform's own cost, in the sample's private KiB, of handing out one
// accessible object (WM_GETOBJECT answered with LresultFromObject, the
// object fetched and released by a caller in the same process, as the
// agent is): the sample fetches its own objects, without the agent. Under
// Wine it is not zero.
double PlatformKiBPerObject(const CApplicationProcess& app, int calls) {
    const Counts before = Count(app);
    app.Send(sample::kMsgFetchOwnObjects, static_cast<WPARAM>(calls));
    const Counts after = Count(app);
    const long handed = after.handedOut - before.handedOut;
    return handed > 0 ? static_cast<double>(after.values[3] - before.values[3]) / handed : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    int requests = 10000, leak = 0;
    bool each = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--each") == 0) each = true;
        if (i + 1 < argc && std::strcmp(argv[i], "--requests") == 0) requests = std::atoi(argv[++i]);
        if (i + 1 < argc && std::strcmp(argv[i], "--leak") == 0) leak = std::atoi(argv[++i]);
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
    // The windows under the process's visible top-level windows.
    std::vector<HWND> windows;
    for (HWND w : WindowsOfProcess(app.ProcessId())) {
        if (IsWindowVisible(GetAncestor(w, GA_ROOT))) windows.push_back(w);
    }
    const HWND accWindow = FindTopWindowOfProcess(app.ProcessId(), sample::kAccWindowClass);
    std::mt19937 random(7);

    // One request of each sort; each returns whether the agent answered.
    struct Sort {
        std::string name;
        std::function<bool()> run;
    };
    std::vector<Sort> sorts;
    sorts.push_back({"ping", [&] { return client.Ping(frame) == AgentStatus::Ok; }});

    // Every kind on a window of its own kind: item under the window's
    // centre, locate of what the probe recorded there, probe of an item.
    size_t kindCount = 0;
    const ItemKindInfo* kinds = AllItemKinds(&kindCount);
    std::vector<std::string> missing;
    for (size_t k = 0; k < kindCount; ++k) {
        const int kind = kinds[k].nCode;
        HWND window = nullptr;
        for (HWND w : windows) {
            if (kind != kItemKindAccessible && (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) &&
                ChooseItemKind(w, nullptr, nullptr) == kind) {
                window = w;
            }
        }
        // Kinds that no control class stands for: the frame's menus, the
        // accessibility window and its scrolling area.
        if (!window && (kind == kItemKindMenuBar || kind == kItemKindPopupMenu)) window = frame;
        if (!window && kind == kItemKindAccessible) window = accWindow;
        if (!window && kind == kItemKindScrollingAccessible && accWindow) {
            window = GetDlgItem(accWindow, sample::kAccScrollerId);
        }
        if (!window) {
            missing.push_back(kinds[k].pszName);
            continue;
        }
        const POINT centre = ScreenCentre(window);
        SetCursorPos(centre.x, centre.y);  // the accessible kinds record the object at the cursor
        const ProbeResult recorded = ProbeWindow(client, window, true, kind, 1, 0);
        LocatorForm form;
        form.nKind = kind;
        if (recorded.status == AgentStatus::Ok && recorded.description.hasItem) form = recorded.description.item;
        sorts.push_back({kinds[k].pszName + std::string(" item-at"), [&client, window, kind, centre] {
            return GetItemRect(client, window, kind, centre.x, centre.y).status == AgentStatus::Ok;
        }});
        sorts.push_back({kinds[k].pszName + std::string(" locate"), [&client, window, kind, form] {
            return LocateItem(client, window, kind, 0, form, SearchArgument()).status == AgentStatus::Ok;
        }});
        sorts.push_back({kinds[k].pszName + std::string(" probe"), [&client, &random, window, kind] {
            return ProbeWindow(client, window, true, kind, random() % 8, 0).status == AgentStatus::Ok;
        }});
        // The listing of every item, in pages of a few kilobytes; the popup
        // kind lists the accessibility window's menu, the accessible kinds
        // two levels of their tree.
        SnapshotOptions listing;
        listing.pageBudget = 4096;
        listing.depth = 2;
        listing.allNodes = true;
        if (kind == kItemKindPopupMenu && accWindow) {
            listing.factoryArgument = static_cast<uint32_t>(
                static_cast<ULONG_PTR>(SendMessageA(accWindow, sample::kMsgAccGetPopupMenu, 0, 0)));
        }
        sorts.push_back({kinds[k].pszName + std::string(" item list"), [&client, window, kind, listing] {
            const SnapshotResult all = ReadItemSnapshot(client, window, kind, listing);
            return all.status == AgentStatus::Ok && all.served;
        }});
    }

    // The data-message queries and a watch.
    const HWND edit = FirstOfClass(windows, "Edit");
    const HWND tabs = FirstOfClass(windows, FindItemKind(kItemKindTab)->pszClasses);  // its first class
    if (edit) {
        sorts.push_back({"value pair", [&client, edit] {
            return SendForValuePair(client, edit, EM_GETSEL, 0, PointerPlacement::InWParam).status == AgentStatus::Ok;
        }});
        sorts.push_back({"caret", [&client, edit] { return GetCaretPosition(client, edit).status == AgentStatus::Ok; }});
    }
    if (tabs) {
        sorts.push_back({"tab rectangle", [&client, tabs] {
            return SendForRect(client, tabs, TCM_GETITEMRECT, 0, PointerPlacement::InLParam).status ==
                   AgentStatus::Ok;
        }});
        sorts.push_back({"tab click point", [&client, tabs] { return GetTabClickPoint(client, tabs).status == AgentStatus::Ok; }});
    }
    sorts.push_back({"menu item rectangle", [&client, frame, &random] {
        return GetMenuItemRectangle(client, frame, frame, GetMenu(frame), random() % 4).status == AgentStatus::Ok;
    }});
    sorts.push_back({"watch", [&client, frame] {
        CMessageWatcher watcher(client, [](WPARAM, LPARAM) {});
        return watcher.Add(frame, WM_SETTEXT) == AgentStatus::Ok && watcher.Remove(frame) == AgentStatus::Ok;
    }});
    // The menu probe and the spy hook every thread of the desktop while
    // they run: a start and a stop each.
    sorts.push_back({"menu probe", [&client, frame] {
        CMenuProbeSession probe(client, [](HWND) {});
        return probe.Start(frame) == CMenuProbeSession::StartResult::Installed && probe.Stop();
    }});
    sorts.push_back({"spy", [&client] {
        CWindowSpySession spy(client, [](UINT, LPARAM) {});
        if (!spy.Start()) return false;
        spy.Pump(1);
        spy.Stop();
        return true;
    }});

    auto run = [&](int n, int* failed) {
        for (int i = 0; i < n; ++i) {
            if (!sorts[static_cast<size_t>(i) % sorts.size()].run()) ++*failed;
        }
    };
    // The platform's cost per object handed out, once per run; the growth
    // net of it is the agent's.
    double platformPerObject = -1.0;
    auto print = [&](const Counts& before, const Counts& after) {
        for (int i = 0; i < 4; ++i) {
            std::printf("; %s %+ld (%ld -> %ld)", kResourceNames[i], after.values[i] - before.values[i],
                        before.values[i], after.values[i]);
        }
        const long handed = after.handedOut - before.handedOut;
        if (handed > 0) {
            if (platformPerObject < 0) platformPerObject = PlatformKiBPerObject(app, 2000);
            const double platform = handed * platformPerObject;
            std::printf("; %ld accessible objects handed out, the platform's own cost %.0f KiB (%.2f KiB each)", handed,
                        platform, platformPerObject);
            std::printf("; private KiB net of it %+.0f", (after.values[3] - before.values[3]) - platform);
        }
        std::printf("\n");
    };
    // A warm-up first: what the agent sets up once (its lock, the text
    // tables of the controls, the accessibility library) is no growth.
    int failed = 0;
    run(static_cast<int>(sorts.size()) * 10, &failed);
    failed = 0;
    if (each) {
        // Where a growth comes from: each sort alone, as often as the whole
        // run would send it.
        const int perSort = std::max(1, requests / static_cast<int>(sorts.size()));
        for (const Sort& sort : sorts) {
            int sortFailed = 0;
            const Counts before = Count(app);
            for (int i = 0; i < perSort; ++i) {
                if (!sort.run()) ++sortFailed;
            }
            const Counts after = Count(app);
            std::printf("soak %s: %d requests, %d failed", sort.name.c_str(), perSort, sortFailed);
            print(before, after);
            failed += sortFailed;
        }
    } else {
        const Counts before = Count(app);
        run(requests, &failed);
        if (leak > 0) app.Send(sample::kMsgLeak, static_cast<WPARAM>(leak));
        const Counts after = Count(app);
        std::printf("soak: %d requests of %zu sorts, %d failed", requests, sorts.size(), failed);
        print(before, after);
    }
    for (const std::string& name : missing) std::fprintf(stderr, "soak: the sample has no window of kind %s\n", name.c_str());
    return failed || !missing.empty() ? 1 : 0;
}
