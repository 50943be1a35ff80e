// Times "TavmorLocateItem" for an accessible item (kind 12) recorded deep in
// the sample's accessibility tree (a cell at level 4 among 1,111 objects),
// against the controller finding the same object from its own process
// through the accessibility interfaces, the way out-of-process tools walk
// a tree: the window's object, then depth-first through AccessibleChildren,
// reading each object's name and role until the recorded one is met, and
// its location. Every call of that walk crosses into the sample's process.
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "accessibility/AccessibleInterface.h"
#include "bench/BenchFigures.h"
#include "client/ApplicationProcess.h"
#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/ProxyWindow.h"
#include "common/ComOwned.h"
#include "sample/SampleProtocol.h"

namespace {

const int kRuns = 40;
const wchar_t kTargetName[] = L"Cell 9.9.9";

HWND FindAccessibilityWindow(HWND frame) {
    HWND hwnd = nullptr;
    while ((hwnd = FindWindowExA(nullptr, hwnd, sample::kAccWindowClass, nullptr)) != nullptr) {
        if (GetWindow(hwnd, GW_OWNER) == frame) return hwnd;
    }
    return nullptr;
}

struct WalkCounts {
    long nObjects = 0;
};

// Depth-first from pAcc; true and the rectangle when an object of that
// name and role is met.
bool Walk(IAccessible* pAcc, long nRole, RECT* pRect, WalkCounts& counts) {
    long nCount = 0;
    if (FAILED(pAcc->get_accChildCount(&nCount)) || nCount <= 0) return false;
    std::vector<VARIANT> children(static_cast<size_t>(nCount));
    for (VARIANT& v : children) VariantInit(&v);
    long nObtained = 0;
    bool bFound = false;
    if (SUCCEEDED(AccessibleChildren(pAcc, 0, nCount, children.data(), &nObtained))) {
        for (long i = 0; i < nObtained && !bFound; ++i) {
            VARIANT& entry = children[static_cast<size_t>(i)];
            if (entry.vt != VT_DISPATCH || !entry.pdispVal) continue;
            TComPtr<IAccessible> child;
            if (FAILED(entry.pdispVal->QueryInterface(kIidAccessible, child.PutVoid())) || !child) continue;
            ++counts.nObjects;
            const VARIANT self = ChildVariant(CHILDID_SELF);
            COwnedBstr name;
            COwnedVariant role;
            if (SUCCEEDED(child->get_accName(self, name.Put())) && name.Get() && lstrcmpW(name.Get(), kTargetName) == 0 &&
                SUCCEEDED(child->get_accRole(self, role.Put())) && role.Type() == VT_I4 && role.Get().lVal == nRole) {
                long x = 0, y = 0, w = 0, h = 0;
                child->accLocation(&x, &y, &w, &h, self);
                *pRect = RECT{x, y, x + w, y + h};
                bFound = true;
            } else {
                bFound = Walk(child.Get(), nRole, pRect, counts);
            }
        }
    }
    for (VARIANT& v : children) VariantClear(&v);
    return bFound;
}

}  // namespace

int main() {
    const bool bComReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CApplicationProcess app;
    std::string error;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", "--no-dialog", sample::kFrameClass, &error)) {
        std::printf("cannot start the sample: %s\n", error.c_str());
        return 1;
    }
    CAgentClient client;
    if (!client.Open(&error)) {
        std::printf("cannot open the agent: %s\n", error.c_str());
        return 1;
    }
    HookReport hook = client.Hook(app.Frame());
    if (!hook) {
        std::printf("cannot hook the sample: %s\n", hook.error.c_str());
        return 1;
    }
    HWND window = FindAccessibilityWindow(app.Frame());
    if (!window) {
        std::printf("no accessibility window\n");
        return 1;
    }

    // Cell 9.9.9: panel 9, row 9, cell 9 (see the sample's contract).
    const int panelX = 12 + 57 * 9, rowY = 604 + 35 * 9;
    const RECT cellClient = {panelX + 2 + 5 * 9, rowY + 2, panelX + 6 + 5 * 9, rowY + 31};
    POINT centre = {(cellClient.left + cellClient.right) / 2, (cellClient.top + cellClient.bottom) / 2};
    ClientToScreen(window, &centre);
    if (!CProxyWindow::MoveCursor(centre.x, centre.y)) {
        std::printf("the cursor did not reach the cell\n");
        return 1;
    }
    ProbeResult probe = ProbeWindow(client, window, true, kItemKindAccessible, 0, 0);
    if (probe.status != AgentStatus::Ok || !probe.description.hasItem) {
        std::printf("recording failed: %s\n", AgentStatusText(probe.status));
        return 1;
    }
    LocatorForm form = probe.description.item;
    form.nKind = kItemKindAccessible;
    std::printf("recorded '%s' %s at level %d\n", form.accessible.name.c_str(), form.accessible.role.c_str(),
                form.accessible.nLevel);

    std::vector<double> agent;
    bool bAgentFound = true;
    RECT agentRect = {0, 0, 0, 0};
    for (int i = 0; i < kRuns; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        LocateResult found = LocateItem(client, window, kItemKindAccessible, 0, form, SearchArgument(), 30000);
        QueryPerformanceCounter(&b);
        bAgentFound = bAgentFound && found.status == AgentStatus::Ok && found.found;
        agentRect = found.form.rect;
        agent.push_back(Micros(a, b));
    }

    std::vector<double> outside;
    bool bOutsideFound = true;
    RECT outsideRect = {0, 0, 0, 0};
    WalkCounts counts;
    for (int i = 0; i < kRuns / 4; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        TComPtr<IAccessible> root;
        bool bFound = false;
        counts = WalkCounts();
        if (SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), kIidAccessible,
                                                 root.PutVoid())) &&
            root) {
            bFound = Walk(root.Get(), ROLE_SYSTEM_CELL, &outsideRect, counts);
        }
        QueryPerformanceCounter(&b);
        bOutsideFound = bOutsideFound && bFound;
        outside.push_back(Micros(a, b));
    }
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&outsideRect), 2);

    const Figures s1 = Summarise(agent), s2 = Summarise(outside);
    std::printf("kind 12 locate in the target (%d runs): median %.0f us, p99 %.0f us, found %s at (%ld,%ld)-(%ld,%ld)\n",
                kRuns, s1.median, s1.p99, bAgentFound ? "yes" : "NO", agentRect.left, agentRect.top, agentRect.right,
                agentRect.bottom);
    std::printf("out-of-process walk (%d runs, %ld objects visited): median %.0f us, p99 %.0f us, found %s at "
                "(%ld,%ld)-(%ld,%ld)\n",
                kRuns / 4, counts.nObjects, s2.median, s2.p99, bOutsideFound ? "yes" : "NO", outsideRect.left,
                outsideRect.top, outsideRect.right, outsideRect.bottom);
    if (s1.median > 0) {
        std::printf("ratio (walk / locate): median %.1fx, p99 %.1fx\n", s2.median / s1.median,
                    s1.p99 > 0 ? s2.p99 / s1.p99 : 0.0);
    }
    PrintTableRow("locate accessible object at level 4 of 1,111 (kind 12) vs out-of-process walk", s1, &s2);
    client.UnhookAll();
    app.Stop();
    if (bComReady) CoUninitialize();
    return 0;
}
