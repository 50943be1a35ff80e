// The demo's accessibility step (see AccessibleDemoStep.h).
#include "tool/AccessibleDemoStep.h"

#include <cstdio>
#include <vector>

#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/ProxyWindow.h"
#include "client/WindowDescriptionReader.h"
#include "client/WindowMatcher.h"
#include "sample/SampleProtocol.h"
#include "tool/TargetOptions.h"
#include "tool/WindowPicture.h"

namespace {

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

RECT ToScreen(HWND hwnd, RECT r) {
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string RectAsText(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof(text), "(%ld,%ld)-(%ld,%ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right), static_cast<long>(r.bottom));
    return text;
}

// The popup item's rectangle while its menu is open, from the sample.
RECT OpenMenuItemRect(HWND window, uint32_t menu, uint32_t position) {
    const ULONGLONG packed = static_cast<ULONGLONG>(SendMessageA(window, sample::kMsgAccMenuItemRect, menu, position));
    return {static_cast<short>(packed & 0xFFFF), static_cast<short>((packed >> 16) & 0xFFFF),
            static_cast<short>((packed >> 32) & 0xFFFF), static_cast<short>((packed >> 48) & 0xFFFF)};
}

bool OpenPopup(HWND window, POINT at) {
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

// Records the object of kind under the screen point with its window.
bool RecordAt(CAgentClient& client, HWND window, int kind, POINT screen, uint32_t index, uint32_t argument,
              const std::string& file, AccessibleRecord* record, std::string* error) {
    if (!CProxyWindow::MoveCursor(screen.x, screen.y)) {
        *error = "the cursor did not reach the object";
        return false;
    }
    ProbeResult probe = ProbeWindow(client, window, true, kind, index, argument);
    if (probe.status != AgentStatus::Ok || !probe.description.hasItem) {
        *error = std::string("recording: ") + AgentStatusText(probe.status);
        return false;
    }
    if (!SaveDescriptionFile(file, probe.raw, error)) return false;
    record->file = file;
    record->nKind = kind;
    record->label = probe.description.item.Text();
    return true;
}

}  // namespace

int RunAccessibleDemoStep(const std::string& dir, std::string* error) {
    std::vector<AccessibleRecord> records(3);
    const std::string arguments = "--no-dialog --items 20";
    {
        CApplicationProcess app;
        if (!app.Start(ProgramDirectory() + "VintrelSample.exe", arguments, sample::kFrameClass, error)) return -1;
        HWND window = FindAccessibilityWindow(app.Frame());
        HWND scroller = window ? GetDlgItem(window, sample::kAccScrollerId) : nullptr;
        if (!scroller) {
            *error = "the sample has no accessibility window";
            return -1;
        }
        CAgentClient client;
        if (!ConnectAgent(client, window, error)) return -1;
        // The second of two push buttons named "Twin" (their descriptions differ).
        const RECT twin = {240, 30, 340, 60};
        POINT p = {290, 45};
        ClientToScreen(window, &p);
        if (!RecordAt(client, window, kItemKindAccessible, p, 0, 0, dir + "acc-twin.bin", &records[0], error)) {
            return -1;
        }
        records[0].screenBefore = ToScreen(window, twin);
        records[0].label += " (second)";
        // "Near" in the scrolling area, visible now.
        const sample::AccScrollItem& nearItem = sample::kAccScrollItems[0];
        p = {(nearItem.left + nearItem.right) / 2, (nearItem.top + nearItem.bottom) / 2};
        ClientToScreen(scroller, &p);
        if (!RecordAt(client, scroller, kItemKindScrollingAccessible, p, 0, 0, dir + "acc-near.bin", &records[1],
                      error)) {
            return -1;
        }
        records[1].screenBefore = ToScreen(scroller, RECT{nearItem.left, nearItem.top, nearItem.right, nearItem.bottom});
        // The popup item "Shared", with the name of the object under the cursor.
        const uint32_t menu = static_cast<uint32_t>(SendMessageA(window, sample::kMsgAccGetPopupMenu, 0, 0));
        p = {70, 155};  // the "Pressure" gauge
        ClientToScreen(window, &p);
        if (!RecordAt(client, window, kItemKindPopupMenu, p, sample::kAccCmdShared, menu, dir + "acc-popup.bin",
                      &records[2], error)) {
            return -1;
        }
        records[2].label = "popup " + std::to_string(sample::kAccCmdShared) + " '" + records[2].label + "'";
        CWindowPicture picture;
        if (picture.Capture(window)) {
            for (int i = 0; i < 2; ++i) picture.DrawBox(records[i].screenBefore, RGB(0, 90, 255), records[i].label);
            picture.SaveBmp(dir + "acc-recorded.bmp");
        }
    }

    // The sample again, its scrolling area scrolled so that "Near" is out of view.
    CApplicationProcess app;
    if (!app.Start(ProgramDirectory() + "VintrelSample.exe", arguments, sample::kFrameClass, error)) return -1;
    HWND window = FindAccessibilityWindow(app.Frame());
    if (!window) {
        *error = "the restarted sample has no accessibility window";
        return -1;
    }
    SendMessageA(window, sample::kMsgAccScrollTo, 500, 700);
    CAgentClient client;
    if (!ConnectAgent(client, window, error)) return -1;
    CProxyWindow proxy;
    if (!proxy.Start(error)) return -1;
    for (int i = 0; i < 2; ++i) {
        WindowDescriptionForm description;
        if (!LoadDescription(records[i].file, &description, nullptr, error)) return -1;
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
    const uint32_t menu = static_cast<uint32_t>(SendMessageA(window, sample::kMsgAccGetPopupMenu, 0, 0));
    POINT at = {420, 620};
    ClientToScreen(window, &at);
    CWindowPicture picture;
    if (LoadDescription(records[2].file, &popup, nullptr, error) && OpenPopup(window, at)) {
        LocateResult found = LocateItem(client, window, kItemKindPopupMenu, menu, popup.item, 0);
        if (found.status == AgentStatus::Ok && found.found && !found.form.popupMenu.path.empty()) {
            const PopupMenuStep& last = found.form.popupMenu.path.back();
            records[2].screenAfter = OpenMenuItemRect(window, last.hMenu, last.nPosition);
            records[2].bFound = !IsRectEmpty(&records[2].screenAfter);
        }
        picture.Capture(window);
        SendMessageA(window, sample::kMsgAccClosePopup, 0, 0);
    } else {
        picture.Capture(window);
    }
    for (const AccessibleRecord& record : records) {
        if (record.bFound) picture.DrawBox(record.screenAfter, RGB(230, 0, 0), record.label);
    }
    picture.SaveBmp(dir + "acc-found.bmp");

    int missing = 0;
    for (const AccessibleRecord& record : records) {
        std::printf("%-28s %-20s %-28s %-6s %s\n", record.label.c_str(), ItemKindName(record.nKind).c_str(),
                    record.nKind == kItemKindPopupMenu ? "-" : RectAsText(record.screenBefore).c_str(),
                    record.bFound ? "yes" : "no", record.bFound ? RectAsText(record.screenAfter).c_str() : "-");
        if (!record.bFound) ++missing;
    }
    std::printf("Pictures: acc-recorded.bmp, acc-found.bmp\n");
    return missing;
}
