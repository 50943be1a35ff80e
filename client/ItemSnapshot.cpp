#include "client/ItemSnapshot.h"

#include <climits>
#include <utility>

#include "forms/ItemListForm.h"

namespace {
const char kNoRoom[] = "an item does not fit one page (the page budget or the record is too small for it)";
}  // namespace

namespace {

// The entry as a snapshot item, its texts moved out of it: a page's reader
// reuses one entry, whose next read assigns every field again.
bool TakeEntryTexts(int kind, ItemListEntry& entry, SnapshotItem* item) {
    if (!item) return false;
    const BYTE* pForm = reinterpret_cast<const BYTE*>(entry.form.data());
    CWireCursor form(pForm, pForm + entry.form.size());
    // The form must be the kind's and fill its bytes exactly.
    if (!DecodeLocatorForm(kind, form, &item->form) || form.Remaining() != 0) return false;
    item->index = entry.nIndex;
    item->rect = RECT{entry.nLeft, entry.nTop, entry.nRight, entry.nBottom};
    item->visible = (entry.dwFlags & ItemListEntry::kVisible) != 0;
    item->selected = (entry.dwFlags & ItemListEntry::kSelected) != 0;
    item->expanded = (entry.dwFlags & ItemListEntry::kExpanded) != 0;
    item->hasChildren = (entry.dwFlags & ItemListEntry::kHasChildren) != 0;
    item->submenu = (entry.dwFlags & ItemListEntry::kSubmenu) != 0;
    item->enabled = (entry.dwFlags & ItemListEntry::kEnabled) != 0;
    item->level = entry.nLevel;
    item->parent = entry.nParent;
    item->commandId = entry.nId;
    item->childCount = entry.nChildCount;
    item->state = entry.dwState;
    item->text = std::move(entry.text);
    if (kind == kItemKindAccessible || kind == kItemKindScrollingAccessible) {
        if (entry.extraTexts.size() > 0) item->role = std::move(entry.extraTexts[0]);
        if (entry.extraTexts.size() > 1) item->value = std::move(entry.extraTexts[1]);
    } else {
        item->columns = std::move(entry.extraTexts);
    }
    return true;
}

}  // namespace

bool TakeSnapshotEntry(int kind, const ItemListEntry& entry, SnapshotItem* item) {
    ItemListEntry copy = entry;
    return TakeEntryTexts(kind, copy, item);
}

namespace {

// One page from index first, its items appended to result.items (at most
// up to maxItems in all); *next receives where the next page starts.
void ReadPageInto(CAgentClient& client, HWND window, int kind, const SnapshotOptions& options, uint32_t first,
                  uint32_t* next, DWORD timeoutMs, SnapshotResult& result) {
    *next = first;
    ItemListRequest request;
    request.nKind = static_cast<uint16_t>(kind);
    request.nFactoryArgument = options.factoryArgument;
    request.nFirst = first;
    request.nBudget = options.pageBudget;
    request.dwFlags = options.allNodes ? ItemListRequest::kAllNodesFlag : 0;
    request.nDepth = options.depth < 0 ? 0 : static_cast<uint32_t>(options.depth);
    // The reply says how far its page goes: only the request's bytes need
    // clearing, not the whole record.
    CWireCursor w = client.BeginRequest(timeoutMs, 4 + static_cast<size_t>(FormSize(request)));
    if (!WriteForm(w, request)) {
        result.status = client.IsStalled() ? AgentStatus::Stalled : AgentStatus::BadRequest;
        return;
    }
    CWireCursor reply;
    result.status = client.Send(window, client.Messages().nItemList, 0, w, &reply, timeoutMs);
    if (result.status != AgentStatus::Ok) return;
    ItemListReplyHead head;
    if (!ReadForm(reply, head)) {
        result.status = AgentStatus::BadReply;
        return;
    }
    result.served = head.bServed != 0;
    if (!result.served) return;
    result.total = head.nTotal;
    // A page never goes back, and never past the end without saying so.
    if (head.nCount > 0 && (head.nNext <= first || head.nNext - first < head.nCount)) {
        result.status = AgentStatus::BadReply;
        result.error = "the agent's page goes back";
        return;
    }
    const size_t room = options.maxItems - result.items.size();
    result.items.reserve(result.items.size() + (head.nCount < room ? head.nCount : room));
    ItemListEntry entry;
    for (uint32_t i = 0; i < head.nCount && result.items.size() < options.maxItems; ++i) {
        result.items.emplace_back();
        if (!ReadItemListEntry(reply, entry) || !TakeEntryTexts(kind, entry, &result.items.back())) {
            result.items.pop_back();
            result.status = AgentStatus::BadReply;
            result.error = "entry " + std::to_string(i) + " of the page from " + std::to_string(first) +
                           " cannot be read";
            return;
        }
    }
    *next = head.nNext;
}

}  // namespace

SnapshotResult ReadItemSnapshotPage(CAgentClient& client, HWND window, int kind, const SnapshotOptions& options,
                                    uint32_t first, uint32_t* next, DWORD timeoutMs) {
    SnapshotResult result;
    uint32_t nextFirst = first;
    ReadPageInto(client, window, kind, options, first, &nextFirst, timeoutMs, result);
    if (next) *next = nextFirst;
    return result;
}

SnapshotResult ReadItemSnapshot(CAgentClient& client, HWND window, int kind, const SnapshotOptions& options,
                                DWORD timeoutMs) {
    SnapshotResult result;
    uint32_t first = 0;
    for (;;) {
        const size_t before = result.items.size();
        uint32_t next = first;
        result.error.clear();
        // The latest total counts: the control may have changed between pages.
        ReadPageInto(client, window, kind, options, first, &next, timeoutMs, result);
        if (result.status != AgentStatus::Ok || !result.served) return result;
        if (result.items.size() >= options.maxItems || next >= result.total) return result;
        if (result.items.size() == before) {
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
