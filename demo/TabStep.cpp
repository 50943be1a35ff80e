// The demo's tab step (see TabStep.h).
#include "demo/TabStep.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "client/DataMessageRequests.h"
#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/WindowDescriptionReader.h"
#include "demo/DemoSupport.h"
#include "demo/WindowPicture.h"
#include "sample/SampleProtocol.h"
#include "tool/TargetOptions.h"

bool RunTabStep(const std::string& dir, int* pMissing, std::string* error) {
    CApplicationProcess app;
    if (!StartSample(app, "--items 20 --no-dialog --at 40,40", error)) return false;
    HWND watch = FindTopWindowOfProcess(app.ProcessId(), sample::kWatchWindowClass, 2000);
    HWND tabs = watch ? GetDlgItem(watch, sample::kTabTextId) : nullptr;
    if (!tabs) {
        *error = "the sample shows no tab control";
        return false;
    }
    CAgentClient client;
    if (!ConnectAgent(client, tabs, error)) return false;

    // Record the "Gamma" tab (index 3) as a recorder would: point at it and
    // take the tab under the cursor.
    DataRectResult gamma = SendForRect(client, tabs, TCM_GETITEMRECT, 3, PointerPlacement::InLParam);
    if (gamma.status != AgentStatus::Ok) {
        *error = std::string("the tab's rectangle: ") + AgentStatusText(gamma.status);
        return false;
    }
    const POINT centre = Centre(ToScreen(tabs, gamma.rect));
    if (!PointAt(centre, "tab", error)) return false;
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
        recorded.DrawBox(before, kRecordedColour, label, LabelSide::Below);
        recorded.SaveBmp(dir + "tab-recorded.bmp");
    }

    // The sample reverses its tabs; the recorded tab is found again.
    SendMessageA(watch, sample::kMsgWatchReverseTabs, sample::kTabTextId, 0);
    WindowDescriptionForm description;
    if (!LoadDescription(dir + "tab-item.bin", &description, nullptr, error)) return false;
    LocateResult found = LocateItem(client, tabs, description.nItemKind, 0, description.item, 0);
    if (found.status != AgentStatus::Ok || !found.found) {
        std::printf("tab '%s': recorded as tab %d at %s; not found after the tabs were reversed (%s)\n", label.c_str(),
                    at.index, RectText(before).c_str(), AgentStatusText(found.status));
        ++*pMissing;
        return true;
    }
    const RECT after = ToScreen(tabs, found.form.rect);
    const POINT afterCentre = Centre(after);
    ItemAtResult now = GetItemRect(client, tabs, kItemKindTab, afterCentre.x, afterCentre.y);
    CWindowPicture picture;
    if (picture.Capture(watch)) {
        picture.DrawBox(after, kFoundColour, label, LabelSide::Below);
        picture.SaveBmp(dir + "tab-found.bmp");
    }
    std::printf("tab '%s': recorded as tab %d at %s; after the tabs were reversed found as tab %d at %s; pictures "
                "tab-recorded.bmp, tab-found.bmp\n",
                label.c_str(), at.index, RectText(before).c_str(), now.index, RectText(after).c_str());
    return true;
}
