// The demo's step for the items window of the sample: a tree item (one of
// two "Reports" in different branches), a toolbar button, a list-box item
// below the visible part and a status-bar pane are pointed at, taken under
// the cursor, recorded with their windows, and found again in a changed
// sample.
#include "demo/ControlItemsStep.h"

#include <cstdio>
#include <vector>

#include "client/AgentClient.h"
#include "client/ApplicationProcess.h"
#include "client/ControlItemForms.h"
#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/WindowDescriptionReader.h"
#include "client/WindowMatcher.h"
#include "demo/DemoSupport.h"
#include "demo/WindowPicture.h"
#include "forms/SearchArgument.h"
#include "sample/SampleProtocol.h"
#include "tool/TargetOptions.h"

namespace {

struct ControlItem {
    ControlItem(const char* pszLabel, int id, const LocatorForm& form, SearchArgument search)
        : label(pszLabel), nControlId(id), where(form), search(search) {}

    const char* label;
    int nControlId;
    LocatorForm where;       // how the demo finds the item to point at
    SearchArgument search;   // how it is searched when it is found again
    std::string file;
    RECT before = {0, 0, 0, 0};  // screen
    std::string match;
    bool bFound = false;
    RECT after = {0, 0, 0, 0};
    std::string textBefore;  // as recorded
    std::string textAfter;
};

bool StartItemsWindow(CApplicationProcess& app, CAgentClient& client, HWND* pItems, std::string* error) {
    if (!StartSample(app, "--no-dialog", error)) return false;
    *pItems = reinterpret_cast<HWND>(app.Send(sample::kMsgGetItemsWindow));
    if (!*pItems) {
        *error = "the sample has no items window";
        return false;
    }
    return ConnectAgent(client, *pItems, error);
}

HWND Control(HWND items, int id) { return GetDlgItem(items, id); }

// Points at the item (the centre of its rectangle from a locate with the
// demo's form), takes the item under the cursor and records it with its
// window.
bool RecordItem(CAgentClient& client, HWND items, const std::string& dir, ControlItem* item, std::string* error) {
    HWND control = Control(items, item->nControlId);
    LocateResult shown = LocateItem(client, control, item->where.nKind, 0, item->where, item->search);
    if (shown.status != AgentStatus::Ok || !shown.found) {
        *error = std::string("the sample's ") + item->label + " is not there";
        return false;
    }
    const POINT centre = Centre(ToScreen(control, shown.form.rect));
    if (!PointAt(centre, item->label, error)) return false;
    ItemAtResult at = GetItemRect(client, control, item->where.nKind, centre.x, centre.y);
    if (at.status != AgentStatus::Ok || at.index == -1) {
        *error = std::string("nothing under the point for the ") + item->label;
        return false;
    }
    ProbeResult probe = ProbeWindow(client, control, true, item->where.nKind, static_cast<uint32_t>(at.index), 0);
    if (probe.status != AgentStatus::Ok || !probe.description.hasItem) {
        *error = std::string("recording the ") + item->label + ": " + AgentStatusText(probe.status);
        return false;
    }
    item->file = dir + "control-item-" + std::to_string(item->nControlId) + ".bin";
    item->before = ToScreen(control, at.rect);
    item->textBefore = probe.description.item.Text();
    return SaveDescriptionFile(item->file, probe.raw, error);
}

}  // namespace

bool RunControlItemsStep(const std::string& dir, int* pMissing, std::string* error) {
    std::vector<ControlItem> items = {
        {"tree item Archive/Reports", sample::kItemsTreeId, TreeItemForm({"Archive", "Reports"}, 1), SearchArgument(SearchStrategy::kPathFirst)},
        {"toolbar button Copy", sample::kItemsToolbarId, ToolbarButtonForm(sample::kCmdItemsCopy), SearchArgument()},
        {"list-box item Banana split", sample::kItemsListBoxId, ListBoxItemForm("Banana split"), SearchArgument()},
        {"status-bar pane 2", sample::kItemsStatusId, StatusBarPaneForm(1), SearchArgument()},
    };
    {
        CApplicationProcess app;
        CAgentClient client;
        HWND window = nullptr;
        if (!StartItemsWindow(app, client, &window, error)) return false;
        for (ControlItem& item : items) {
            if (!RecordItem(client, window, dir, &item, error)) return false;
        }
        CWindowPicture picture;
        if (picture.Capture(window)) {
            for (const ControlItem& item : items) picture.DrawBox(item.before, kRecordedColour, item.label);
            picture.SaveBmp(dir + "recorded-controls.bmp");
        }
    }

    CApplicationProcess app;
    CAgentClient client;
    HWND window = nullptr;
    if (!StartItemsWindow(app, client, &window, error)) return false;
    SendMessageA(window, sample::kMsgTreeReorder, 0, 0);
    SendMessageA(window, sample::kMsgTreeCollapseAll, 0, 0);
    SendMessageA(window, sample::kMsgToolbarReverse, 0, 0);
    SendMessageA(window, sample::kMsgListBoxSetTop, 45, 0);
    SendMessageA(window, sample::kMsgStatusChange, 3, 0);
    for (ControlItem& item : items) {
        WindowDescriptionForm description;
        if (!LoadDescription(item.file, &description, nullptr, error)) return false;
        MatchResult match = FindRecordedWindow(description);
        item.match = MatchOutcomeText(match.outcome);
        if (match.outcome != MatchOutcome::Match) continue;
        LocateResult found = LocateItem(client, match.hwnd, description.nItemKind, 0, description.item, item.search);
        item.bFound = found.status == AgentStatus::Ok && found.found && found.hasForm;
        if (!item.bFound) continue;
        item.after = ToScreen(match.hwnd, found.form.rect);
        item.textAfter = found.form.Text();
    }
    CWindowPicture picture;
    if (picture.Capture(window)) {
        for (const ControlItem& item : items) {
            if (item.bFound) picture.DrawBox(item.after, kFoundColour, item.label);
        }
        picture.SaveBmp(dir + "found-controls.bmp");
    }

    std::printf("\nItems window, restarted with the tree reordered and collapsed, the buttons reversed, the list\n"
                "scrolled and the pane texts changed:\n");
    std::printf("%-28s %-28s %-8s %-6s %-28s %s\n", "item", "recorded at (screen)", "window", "found", "now at (screen)",
                "text recorded -> now");
    for (const ControlItem& item : items) {
        const std::string texts = "'" + item.textBefore + "' -> " + (item.bFound ? "'" + item.textAfter + "'" : "-");
        std::printf("%-28s %-28s %-8s %-6s %-28s %s\n", item.label, RectText(item.before).c_str(), item.match.c_str(),
                    item.bFound ? "yes" : "no", item.bFound ? RectText(item.after).c_str() : "-", texts.c_str());
        if (!item.bFound) ++*pMissing;
    }
    std::printf("Pictures: recorded-controls.bmp, found-controls.bmp\n");
    return true;
}
