#include "tool/DemoTabStep.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "client/DataMessageRequests.h"
#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/WindowDescriptionReader.h"
#include "sample/SampleProtocol.h"
#include "tool/TargetOptions.h"
#include "tool/WindowPicture.h"

namespace {

RECT ToScreen(HWND hwnd, RECT r) {
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

bool RunDemoTabStep(const std::string& dir, std::string* error) {
    CApplicationProcess app;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", "--items 20 --no-dialog --at 40,40", sample::kFrameClass,
                   error)) {
        return false;
    }
    HWND watch = FindTopWindowOfProcess(app.ProcessId(), sample::kWatchWindowClass, 2000);
    HWND tabs = watch ? GetDlgItem(watch, sample::kTabTextId) : nullptr;
    if (!tabs) {
        *error = "the sample shows no tab control";
        return false;
    }
    CAgentClient client;
    if (!ConnectAgent(client, tabs, error)) return false;

    // Record the "Gamma" tab (index 3) as a recorder would: under a point.
    DataRectResult gamma = SendForRect(client, tabs, TCM_GETITEMRECT, 3, PointerPlacement::InLParam);
    POINT centre = {(gamma.rect.left + gamma.rect.right) / 2, (gamma.rect.top + gamma.rect.bottom) / 2};
    ClientToScreen(tabs, &centre);
    ItemAtResult at = GetItemRect(client, tabs, kItemKindTab, centre.x, centre.y);
    if (at.status != AgentStatus::Ok || at.index < 0) {
        *error = "no tab under the point";
        return false;
    }
    ProbeResult probe = ProbeWindow(client, tabs, true, kItemKindTab, static_cast<uint32_t>(at.index), 0);
    if (probe.status != AgentStatus::Ok || !probe.description.hasItem) {
        *error = std::string("recording the tab: ") + AgentStatusText(probe.status);
        return false;
    }
    if (!SaveDescriptionFile(dir + "tab-item.bin", probe.raw, error)) return false;
    const std::string label = probe.description.item.Text();
    const RECT before = ToScreen(tabs, at.rect);
    CWindowPicture recorded;
    if (recorded.Capture(watch)) {
        recorded.DrawBox(before, RGB(0, 90, 255), label, CWindowPicture::LabelBelow);
        recorded.SaveBmp(dir + "tab-recorded.bmp");
    }

    // The sample reverses its tabs; the recorded tab is found again.
    SendMessageA(watch, sample::kMsgWatchReverseTabs, sample::kTabTextId, 0);
    WindowDescriptionForm description;
    if (!LoadDescription(dir + "tab-item.bin", &description, nullptr, error)) return false;
    LocateResult found = LocateItem(client, tabs, description.nItemKind, 0, description.item, 0);
    if (found.status != AgentStatus::Ok || !found.found) {
        *error = "the recorded tab was not found after the reversal";
        return false;
    }
    const RECT after = ToScreen(tabs, found.form.rect);
    ItemAtResult now = GetItemRect(client, tabs, kItemKindTab, (after.left + after.right) / 2,
                                   (after.top + after.bottom) / 2);
    CWindowPicture picture;
    if (picture.Capture(watch)) {
        picture.DrawBox(after, RGB(230, 0, 0), label, CWindowPicture::LabelBelow);
        picture.SaveBmp(dir + "tab-found.bmp");
    }
    std::printf("tab '%s': recorded as tab %d at (%ld,%ld)-(%ld,%ld); after the tabs were reversed found as tab %d "
                "at (%ld,%ld)-(%ld,%ld); pictures tab-recorded.bmp, tab-found.bmp\n",
                label.c_str(), at.index, static_cast<long>(before.left), static_cast<long>(before.top),
                static_cast<long>(before.right), static_cast<long>(before.bottom), now.index,
                static_cast<long>(after.left), static_cast<long>(after.top), static_cast<long>(after.right),
                static_cast<long>(after.bottom));
    return true;
}
