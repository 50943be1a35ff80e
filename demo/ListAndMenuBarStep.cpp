// The demo's first step: list-view and menu-bar items of the sample's frame.
//
//  1. start the sample, point at list-view and menu-bar items and record
//     each with the window it lives in (info probe), saved to files;
//  2. end the sample and start it again changed: other item order, another
//     place on the screen, the list scrolled;
//  3. load the records, find each window again in the new process, find
//     each item again in it, print the old and the new rectangles;
//  4. save pictures of both runs with the boxes drawn on the items. Finding
//     a list item scrolls it into view, which may move items found before
//     it: each list item gets a picture taken right after it was found, and
//     the overall picture shows the boxes that still sit on their items.
#include "demo/ListAndMenuBarStep.h"

#include <cstdio>
#include <string>
#include <vector>

#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/WindowDescriptionReader.h"
#include "client/WindowMatcher.h"
#include "demo/DemoSupport.h"
#include "demo/WindowPicture.h"
#include "sample/SampleProtocol.h"
#include "tool/TargetOptions.h"

namespace {

const int kListKind = kItemKindListView;
const int kMenuBarKind = kItemKindMenuBar;

struct RecordedItem {
    std::string file;    // where the description was saved
    std::string label;   // the recorded item's text
    int nKind = 0;
    RECT screenBefore = {0, 0, 0, 0};
    // Results of the second run.
    std::string match;
    bool bFound = false;
    HWND hwndAfter = nullptr;
    int nIndexAfter = -1;  // the item's index (list) or position (menu bar) when found
    RECT screenAfter = {0, 0, 0, 0};
    std::string picture;       // taken right after it was found (list items)
    bool bStillThere = false;  // still under its box when the last item was found
};

// Which side of a box its label goes: menu-bar items sit side by side.
LabelSide LabelSideOf(const RecordedItem& item) {
    return item.nKind == kMenuBarKind ? LabelSide::Below : LabelSide::Right;
}

// Points at a screen point, takes the item of the kind under it and
// records it together with its window. False (with a message) when nothing
// usable is there.
bool RecordItemAt(CAgentClient& client, HWND window, int kind, POINT screen, const std::string& file,
                  RecordedItem* out, std::string* error) {
    const ItemKindInfo* pKind = FindItemKind(kind);
    const std::string noun = pKind ? pKind->pszNoun : "item";
    if (!PointAt(screen, noun, error)) return false;
    ItemAtResult at = GetItemRect(client, window, kind, screen.x, screen.y);
    if (at.status != AgentStatus::Ok) {
        *error = std::string("item under the point: ") + AgentStatusText(at.status);
        return false;
    }
    if (at.index < 0) {
        *error = "no " + noun + " under the point";
        return false;
    }
    ProbeResult probe = ProbeWindow(client, window, true, kind, static_cast<uint32_t>(at.index), 0);
    if (probe.status != AgentStatus::Ok || !probe.description.hasItem) {
        *error = std::string("recording the item: ") + AgentStatusText(probe.status);
        return false;
    }
    if (!SaveDescriptionFile(file, probe.raw, error)) return false;
    out->file = file;
    out->nKind = kind;
    out->screenBefore = ToScreen(window, at.rect);
    const std::string text = probe.description.item.Text();
    out->label = text.empty() ? "item " + std::to_string(at.index) : text;
    return true;
}

bool Record(const std::string& dir, std::vector<RecordedItem>* items, std::string* error) {
    CApplicationProcess app;
    if (!StartSample(app, "--items 300 --no-dialog --at 40,40", error)) return false;
    CAgentClient client;
    HWND frame = app.Frame();
    HWND list = GetDlgItem(frame, sample::kListViewId);
    if (!list) {
        *error = "cannot reach the sample's list view";
        return false;
    }
    if (!ConnectAgent(client, frame, error)) return false;

    // The first row tells the row height; the other points follow from it.
    RECT listRect;
    GetWindowRect(list, &listRect);
    ItemAtResult first = GetItemRect(client, list, kListKind, listRect.left + 40, listRect.top + 40);
    if (first.status != AgentStatus::Ok || first.index < 0) {
        *error = "no list item under the first point";
        return false;
    }
    const int rowHeight = first.rect.bottom - first.rect.top;
    const int rows[] = {3 - first.index, 10 - first.index, 17 - first.index};  // item 10 is one of the "Twin"s
    int n = 0;
    for (int row : rows) {
        RECT r = first.rect;
        POINT p = {r.left + 20, r.top + row * rowHeight + rowHeight / 2};
        ClientToScreen(list, &p);
        RecordedItem item;
        if (!RecordItemAt(client, list, kListKind, p, dir + "list-item-" + std::to_string(++n) + ".bin", &item,
                          error)) {
            return false;
        }
        items->push_back(item);
    }

    // Menu rectangles of another process are not available to this one, so
    // the bar is walked with the agent's own hit test, just above the client area.
    POINT origin = {0, 0};
    ClientToScreen(frame, &origin);
    const int barY = origin.y - GetSystemMetrics(SM_CYMENU) / 2;
    std::vector<POINT> starts;
    int lastIndex = -1;
    for (int x = origin.x + 2; x < origin.x + 400 && starts.size() < 3; x += 6) {
        ItemAtResult at = GetItemRect(client, frame, kMenuBarKind, x, barY);
        if (at.status == AgentStatus::Ok && at.index >= 0 && at.index != lastIndex) {
            lastIndex = at.index;
            starts.push_back(POINT{x + 6, barY});
        }
    }
    if (starts.size() < 3) {
        *error = "the menu bar's items were not found under the caption";
        return false;
    }
    for (int position : {0, 2}) {
        RecordedItem item;
        if (!RecordItemAt(client, frame, kMenuBarKind, starts[position],
                          dir + "menu-item-" + std::to_string(position) + ".bin", &item, error)) {
            return false;
        }
        items->push_back(item);
    }

    CWindowPicture picture;
    if (picture.Capture(frame)) {
        for (const RecordedItem& item : *items) {
            picture.DrawBox(item.screenBefore, kRecordedColour, item.label, LabelSideOf(item));
        }
        picture.SaveBmp(dir + "recorded.bmp");
    }
    return true;
}

// Index of the item under the centre of the found rectangle; -1 for none.
int ItemIndexAtCentre(CAgentClient& client, const RecordedItem& item) {
    const POINT centre = Centre(item.screenAfter);
    ItemAtResult at = GetItemRect(client, item.hwndAfter, item.nKind, centre.x, centre.y);
    return at.status == AgentStatus::Ok ? at.index : -1;
}

bool FindAgain(const std::string& dir, std::vector<RecordedItem>* items, std::string* error) {
    // The same application, changed: shuffled items, another position, and
    // the list scrolled down to a far item.
    CApplicationProcess app;
    if (!StartSample(app, "--items 300 --order shuffled:7 --no-dialog --at 120,90", error)) return false;
    app.Send(sample::kMsgSelectItem, 150);
    CAgentClient client;
    if (!ConnectAgent(client, app.Frame(), error)) return false;
    // Menu-bar items first: they do not move when the list scrolls, so
    // their boxes belong on every picture.
    std::vector<RecordedItem*> order;
    for (RecordedItem& item : *items) {
        if (item.nKind == kMenuBarKind) order.push_back(&item);
    }
    for (RecordedItem& item : *items) {
        if (item.nKind != kMenuBarKind) order.push_back(&item);
    }
    int pictureNumber = 0;
    for (RecordedItem* item : order) {
        WindowDescriptionForm description;
        if (!LoadDescription(item->file, &description, nullptr, error)) return false;
        MatchResult match = FindRecordedWindow(description);
        item->match = MatchOutcomeText(match.outcome);
        if (match.outcome != MatchOutcome::Match) continue;
        LocateResult found = LocateItem(client, match.hwnd, description.nItemKind, 0, description.item, 0);
        item->bFound = found.status == AgentStatus::Ok && found.found && found.hasForm;
        if (!item->bFound) continue;
        item->hwndAfter = match.hwnd;
        item->screenAfter = ToScreen(match.hwnd, found.form.rect);
        // The returned form keeps the recorded index; the agent's hit test
        // tells which item now sits in the rectangle.
        item->nIndexAfter = ItemIndexAtCentre(client, *item);
        if (item->nKind == kMenuBarKind) continue;
        CWindowPicture moment;
        if (!moment.Capture(app.Frame())) continue;
        for (const RecordedItem* shown : order) {
            if (shown->bFound && (shown == item || shown->nKind == kMenuBarKind)) {
                moment.DrawBox(shown->screenAfter, kFoundColour, shown->label, LabelSideOf(*shown));
            }
        }
        item->picture = "found-" + std::to_string(++pictureNumber) + ".bmp";
        moment.SaveBmp(dir + item->picture);
    }

    // The overall picture: a box is drawn where the agent's hit test still
    // finds the same item at its centre.
    CWindowPicture picture;
    if (picture.Capture(app.Frame())) {
        for (RecordedItem& item : *items) {
            if (!item.bFound) continue;
            item.bStillThere = item.nIndexAfter >= 0 && ItemIndexAtCentre(client, item) == item.nIndexAfter;
            if (item.bStillThere) picture.DrawBox(item.screenAfter, kFoundColour, item.label, LabelSideOf(item));
        }
        picture.SaveBmp(dir + "found.bmp");
    }
    return true;
}

}  // namespace

bool RunListAndMenuBarStep(const std::string& dir, int* pMissing, std::string* error) {
    std::vector<RecordedItem> items;
    std::printf("recording items in the sample application...\n");
    if (!Record(dir, &items, error)) {
        *error = "recording: " + *error;
        return false;
    }
    std::printf("restarting it with shuffled items, moved and scrolled, and finding them again...\n\n");
    if (!FindAgain(dir, &items, error)) {
        *error = "finding again: " + *error;
        return false;
    }

    std::printf("%-12s %-9s %-28s %-8s %-6s %-28s %s\n", "item", "kind", "recorded at (screen)", "window", "found",
                "now at (screen)", "picture");
    for (const RecordedItem& item : items) {
        std::string picture = item.picture.empty() ? (item.bStillThere ? "found.bmp" : "-") : item.picture;
        if (!item.picture.empty() && item.bStillThere) picture += ", found.bmp";
        std::printf("%-12s %-9s %-28s %-8s %-6s %-28s %s\n", item.label.c_str(), ItemKindName(item.nKind).c_str(),
                    RectText(item.screenBefore).c_str(), item.match.c_str(), item.bFound ? "yes" : "no",
                    item.bFound ? RectText(item.screenAfter).c_str() : "-", picture.c_str());
        if (!item.bFound) ++*pMissing;
    }
    std::printf("\nA list item is scrolled into view when it is found, so later finds may move it: each has a\n"
                "picture taken right after it was found; found.bmp shows the boxes still on their items at the end.\n");
    return true;
}
