#include "client/ItemSnapshot.h"

#include <climits>

#include "forms/ItemListForm.h"

namespace {
const char kNoRoom[] = "an item does not fit one page (the page budget or the record is too small for it)";
}  // namespace

bool TakeSnapshotEntry(int kind, const ItemListEntry& entry, SnapshotItem* item) {
    if (!item) return false;
    SnapshotItem taken;
    taken.index = entry.nIndex;
    taken.rect = RECT{entry.nLeft, entry.nTop, entry.nRight, entry.nBottom};
    taken.visible = (entry.dwFlags & ItemListEntry::kVisible) != 0;
    taken.selected = (entry.dwFlags & ItemListEntry::kSelected) != 0;
    taken.expanded = (entry.dwFlags & ItemListEntry::kExpanded) != 0;
    taken.hasChildren = (entry.dwFlags & ItemListEntry::kHasChildren) != 0;
    taken.submenu = (entry.dwFlags & ItemListEntry::kSubmenu) != 0;
    taken.enabled = (entry.dwFlags & ItemListEntry::kEnabled) != 0;
    taken.level = entry.nLevel;
    taken.parent = entry.nParent;
    taken.commandId = entry.nId;
    taken.childCount = entry.nChildCount;
    taken.state = entry.dwState;
    taken.text = entry.text;
    if (kind == kItemKindAccessible || kind == kItemKindScrollingAccessible) {
        if (entry.extraTexts.size() > 0) taken.role = entry.extraTexts[0];
        if (entry.extraTexts.size() > 1) taken.value = entry.extraTexts[1];
    } else {
        taken.columns = entry.extraTexts;
    }
    const BYTE* pForm = reinterpret_cast<const BYTE*>(entry.form.data());
    CWireCursor form(pForm, pForm + entry.form.size());
    // The form must be the kind's and fill its bytes exactly.
    if (!DecodeLocatorForm(kind, form, &taken.form) || form.Remaining() != 0) return false;
    *item = std::move(taken);
    return true;
}

SnapshotResult ReadItemSnapshotPage(CAgentClient& client, HWND window, int kind, const SnapshotOptions& options,
                                    uint32_t first, uint32_t* next, DWORD timeoutMs) {
    SnapshotResult result;
    if (next) *next = first;
    ItemListRequest request;
    request.nKind = static_cast<uint16_t>(kind);
    request.nFactoryArgument = options.factoryArgument;
    request.nFirst = first;
    request.nBudget = options.pageBudget;
    request.dwFlags = options.allNodes ? ItemListRequest::kAllNodesFlag : 0;
    request.nDepth = options.depth < 0 ? 0 : static_cast<uint32_t>(options.depth);
    CWireCursor w = client.BeginRequest(timeoutMs);
    if (!WriteForm(w, request)) {
        result.status = client.IsStalled() ? AgentStatus::Stalled : AgentStatus::BadRequest;
        return result;
    }
    CWireCursor reply;
    result.status = client.Send(window, client.Messages().nItemList, 0, w, &reply, timeoutMs);
    if (result.status != AgentStatus::Ok) return result;
    ItemListReplyHead head;
    if (!ReadForm(reply, head)) {
        result.status = AgentStatus::BadReply;
        return result;
    }
    result.served = head.bServed != 0;
    if (!result.served) return result;
    result.total = head.nTotal;
    // A page never goes back, and never past the end without saying so.
    if (head.nCount > 0 && (head.nNext <= first || head.nNext - first < head.nCount)) {
        result.status = AgentStatus::BadReply;
        result.error = "the agent's page goes back";
        return result;
    }
    for (uint32_t i = 0; i < head.nCount; ++i) {
        ItemListEntry entry;
        SnapshotItem item;
        if (!ReadItemListEntry(reply, entry) || !TakeSnapshotEntry(kind, entry, &item)) {
            result.status = AgentStatus::BadReply;
            result.error = "entry " + std::to_string(i) + " of the page from " + std::to_string(first) +
                           " cannot be read";
            return result;
        }
        result.items.push_back(std::move(item));
    }
    if (next) *next = head.nNext;
    return result;
}

SnapshotResult ReadItemSnapshot(CAgentClient& client, HWND window, int kind, const SnapshotOptions& options,
                                DWORD timeoutMs) {
    SnapshotResult result;
    uint32_t first = 0;
    for (;;) {
        uint32_t next = first;
        SnapshotResult page = ReadItemSnapshotPage(client, window, kind, options, first, &next, timeoutMs);
        result.status = page.status;
        result.served = page.served;
        result.error = page.error;
        if (page.status != AgentStatus::Ok || !page.served) return result;
        // The latest total counts: the control may have changed between pages.
        result.total = page.total;
        for (SnapshotItem& item : page.items) {
            if (result.items.size() >= options.maxItems) return result;
            result.items.push_back(std::move(item));
        }
        if (result.items.size() >= options.maxItems || next >= page.total) return result;
        if (page.items.empty()) {
            // Nothing fitted: asking again would bring the same empty page.
            result.status = AgentStatus::Overrun;
            result.error = kNoRoom;
            return result;
        }
        first = next;
    }
}

RECT ItemRectOnScreen(HWND window, int kind, const RECT& rect) {
    if (kind == kItemKindPopupMenu) return rect;  // popup items report screen coordinates
    POINT a = {rect.left, rect.top}, b = {rect.right, rect.bottom};
    ClientToScreen(window, &a);
    ClientToScreen(window, &b);
    return RECT{a.x, a.y, b.x, b.y};
}
