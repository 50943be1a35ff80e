// The demo's accessibility step (see AccessibleStep.h).
#include "demo/AccessibleStep.h"

#include <cstdio>
#include <vector>

#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/ProxyWindow.h"
#include "client/WindowDescriptionReader.h"
#include "client/WindowMatcher.h"
#include "demo/DemoSupport.h"
#include "demo/WindowPicture.h"
#include "sample/SampleProtocol.h"
#include "tool/TargetOptions.h"

namespace {

// "Shared" is the root menu's item at this position (see SampleProtocol.h).
const uint32_t kSharedPosition = 4;

struct AccessibleRecord {
    std::string label;
    std::string file;
    int nKind = 0;
    RECT screenBefore = {0, 0, 0, 0};
    bool bFound = false;
    RECT screenAfter = {0, 0, 0, 0};
};

HWND FindAccessibilityWindow(HWND frame) {
    HWND hwnd = nullptr;
    while ((hwnd = FindWindowExA(nullptr, hwnd, sample::kAccWindowClass, nullptr)) != nullptr) {
        if (GetWindow(hwnd, GW_OWNER) == frame) return hwnd;
    }
    return nullptr;
}

// The popup item's rectangle while its menu is open, from the sample.
RECT OpenMenuItemRect(HWND window, uint32_t menu, uint32_t position) {
    const ULONGLONG packed = static_cast<ULONGLONG>(SendMessageA(window, sample::kMsgAccMenuItemRect, menu, position));
    return {static_cast<short>(packed & 0xFFFF), static_cast<short>((packed >> 16) & 0xFFFF),
            static_cast<short>((packed >> 32) & 0xFFFF), static_cast<short>((packed >> 48) & 0xFFFF)};
}

// Opens the sample's popup menu with its top left corner at the window's
// client point (420, 620), as a right click there would, and waits until
// it is shown.
bool OpenPopup(HWND window) {
    POINT at = {420, 620};
    ClientToScreen(window, &at);
    SendMessageA(window, sample::kMsgAccOpenPopup, at.x, at.y);
    for (int i = 0; i < 100; ++i) {
        if (SendMessageA(window, sample::kMsgAccIsPopupOpen, 0, 0) == 1) {
            Sleep(300);
            return true;
        }
        Sleep(20);
    }
    return false;
}

// Points at the object's rectangle (screen) and records the object of the
// kind under the cursor with its window. The accessible kinds and the
// popup-menu item take their names from what lies under the cursor.
bool RecordAt(CAgentClient& client, HWND window, int kind, const RECT& screen, uint32_t index, uint32_t argument,
              const std::string& file, AccessibleRecord* record, std::string* error) {
    if (!PointAt(Centre(screen), "object", error)) return false;
    ProbeResult probe = ProbeWindow(client, window, true, kind, index, argument);
    if (probe.status != AgentStatus::Ok || !probe.description.hasItem) {
        *error = std::string("recording: ") + AgentStatusText(probe.status);
        return false;
    }
    if (!SaveDescriptionFile(file, probe.raw, error)) return false;
    record->file = file;
    record->nKind = kind;
    record->screenBefore = screen;
    record->label = probe.description.item.Text();
    return true;
}

}  // namespace

bool RunAccessibleStep(const std::string& dir, int* pMissing, std::string* error) {
    std::vector<AccessibleRecord> records(3);
    const std::string arguments = "--no-dialog --items 20";
    {
        CApplicationProcess app;
        if (!StartSample(app, arguments, error)) return false;
        HWND window = FindAccessibilityWindow(app.Frame());
        HWND scroller = window ? GetDlgItem(window, sample::kAccScrollerId) : nullptr;
        if (!scroller) {
            *error = "the sample has no accessibility window";
            return false;
        }
        CAgentClient client;
        if (!ConnectAgent(client, window, error)) return false;
        // The second of two push buttons named "Twin" (their descriptions differ).
        if (!RecordAt(client, window, kItemKindAccessible, ToScreen(window, RECT{240, 30, 340, 60}), 0, 0,
                      dir + "acc-twin.bin", &records[0], error)) {
            return false;
        }
        records[0].label += " (second)";
        // "Near" in the scrolling area, visible now.
        const sample::AccScrollItem& nearItem = sample::kAccScrollItems[0];
        if (!RecordAt(client, scroller, kItemKindScrollingAccessible,
                      ToScreen(scroller, RECT{nearItem.left, nearItem.top, nearItem.right, nearItem.bottom}), 0, 0,
                      dir + "acc-near.bin", &records[1], error)) {
            return false;
        }
        // The popup item "Shared": the menu opened and the cursor on the
        // item, whose name is the one under the cursor.
        const uint32_t menu = static_cast<uint32_t>(SendMessageA(window, sample::kMsgAccGetPopupMenu, 0, 0));
        if (!OpenPopup(window)) {
            *error = "the sample's popup menu did not open";
            return false;
        }
        const RECT shared = OpenMenuItemRect(window, menu, kSharedPosition);
        bool bRecorded = false;
        if (IsRectEmpty(&shared)) {
            *error = "the open popup menu has no item at position " + std::to_string(kSharedPosition);
        } else if (RecordAt(client, window, kItemKindPopupMenu, shared, sample::kAccCmdShared, menu,
                            dir + "acc-popup.bin", &records[2], error)) {
            // The name is what lies under the cursor: on a platform whose
            // accessibility gives an open menu no item names, none.
            records[2].label = "popup " + std::to_string(sample::kAccCmdShared) +
                               (records[2].label.empty() ? " (no name under the cursor)" : " '" + records[2].label + "'");
            bRecorded = true;
        }
        CWindowPicture picture;
        if (bRecorded && picture.Capture(window)) {
            for (const AccessibleRecord& record : records) {
                picture.DrawBox(record.screenBefore, kRecordedColour, record.label);
            }
            picture.SaveBmp(dir + "acc-recorded.bmp");
        }
        SendMessageA(window, sample::kMsgAccClosePopup, 0, 0);
        if (!bRecorded) return false;
    }

    // The sample again, its scrolling area scrolled so that "Near" is out of view.
    CApplicationProcess app;
    if (!StartSample(app, arguments, error)) return false;
    HWND window = FindAccessibilityWindow(app.Frame());
    if (!window) {
        *error = "the restarted sample has no accessibility window";
        return false;
    }
    SendMessageA(window, sample::kMsgAccScrollTo, 500, 700);
    CAgentClient client;
    if (!ConnectAgent(client, window, error)) return false;
    CProxyWindow proxy;
    if (!proxy.Start(error)) return false;
    for (int i = 0; i < 2; ++i) {
        WindowDescriptionForm description;
        if (!LoadDescription(records[i].file, &description, nullptr, error)) return false;
        MatchResult match = FindRecordedWindow(description);
        if (match.outcome != MatchOutcome::Match) continue;
        LocateResult found = LocateItem(client, match.hwnd, description.nItemKind, 0, description.item, 0, 60000);
        records[i].bFound = found.status == AgentStatus::Ok && found.found;
        if (records[i].bFound) records[i].screenAfter = ToScreen(match.hwnd, found.form.rect);
    }
    std::printf("(%u clicks by the proxy to bring the scrolled object into view)\n",
                static_cast<unsigned>(proxy.Clicks().size()));
    proxy.Stop();

    // The popup item: its path while the menu is open, then its rectangle.
    WindowDescriptionForm popup;
    if (!LoadDescription(records[2].file, &popup, nullptr, error)) return false;
    const uint32_t menu = static_cast<uint32_t>(SendMessageA(window, sample::kMsgAccGetPopupMenu, 0, 0));
    const bool bOpen = OpenPopup(window);
    if (bOpen) {
        LocateResult found = LocateItem(client, window, kItemKindPopupMenu, menu, popup.item, 0);
        if (found.status == AgentStatus::Ok && found.found && !found.form.popupMenu.path.empty()) {
            const PopupMenuStep& last = found.form.popupMenu.path.back();
            records[2].screenAfter = OpenMenuItemRect(window, last.hMenu, last.nPosition);
            records[2].bFound = !IsRectEmpty(&records[2].screenAfter);
        }
    }
    CWindowPicture picture;
    if (picture.Capture(window)) {
        for (const AccessibleRecord& record : records) {
            if (record.bFound) picture.DrawBox(record.screenAfter, kFoundColour, record.label);
        }
        picture.SaveBmp(dir + "acc-found.bmp");
    }
    if (bOpen) SendMessageA(window, sample::kMsgAccClosePopup, 0, 0);

    // The first column fits the longest label.
    int labelWidth = 6;
    for (const AccessibleRecord& record : records) {
        if (static_cast<int>(record.label.size()) > labelWidth) labelWidth = static_cast<int>(record.label.size());
    }
    std::printf("%-*s %-20s %-28s %-6s %s\n", labelWidth, "object", "kind", "recorded at (screen)", "found",
                "now at (screen)");
    for (const AccessibleRecord& record : records) {
        std::printf("%-*s %-20s %-28s %-6s %s\n", labelWidth, record.label.c_str(), ItemKindName(record.nKind).c_str(),
                    RectText(record.screenBefore).c_str(), record.bFound ? "yes" : "no",
                    record.bFound ? RectText(record.screenAfter).c_str() : "-");
        if (!record.bFound) ++*pMissing;
    }
    std::printf("Pictures: acc-recorded.bmp, acc-found.bmp\n");
    return true;
}
