// Every item of a control in a few round trips: the "TavmorItemList"
// request, paged by the client itself.
//
//   SnapshotResult all = ReadItemSnapshot(client, listView, kItemKindListView);
//   for (const SnapshotItem& item : all.items) ... item.text, item.rect, item.form ...
//   LocateItem(client, listView, kItemKindListView, 0, all.items[5].form, 0);  // found again later
//
// An agent that does not know the request swallows it: the client's
// timeout and withdrawal handle that (status Timeout).
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "client/AgentClient.h"
#include "client/LocatorForm.h"

struct ItemListEntry;

struct SnapshotItem {
    int index = -1;
    RECT rect = {0, 0, 0, 0};  // coordinates of the kind's hit test
    bool visible = false, selected = false, expanded = false, hasChildren = false, submenu = false, enabled = true;
    int level = 0, parent = -1, commandId = 0, childCount = 0;
    uint32_t state = 0;
    std::string text;
    std::vector<std::string> columns;  // list view: columns 1..n
    std::string role, value;           // accessible
    LocatorForm form;  // the recorded form: LocateItem(client, window, kind, 0, form, search) finds it again
};

struct SnapshotOptions {
    bool allNodes = false;  // trees: every node without expanding anything
    int depth = 8;          // accessible trees
    size_t maxItems = SIZE_MAX;
    uint32_t pageBudget = 0;       // 0: as much as the record holds
    uint32_t factoryArgument = 0;  // the popup menu's handle for kind 6
};

struct SnapshotResult {
    AgentStatus status = AgentStatus::NotOpen;
    bool served = false;
    uint32_t total = 0;
    std::vector<SnapshotItem> items;
    // Why the snapshot stopped short, for a person (empty when it did not).
    std::string error;
};

SnapshotResult ReadItemSnapshot(CAgentClient& client, HWND window, int kind, const SnapshotOptions& options = {},
                                DWORD timeoutMs = CAgentClient::kDefaultTimeoutMs);

// One page of the listing from index first: what ReadItemSnapshot repeats.
// The result's items are the page's entries; *next receives where the next
// page starts (total at the end).
SnapshotResult ReadItemSnapshotPage(CAgentClient& client, HWND window, int kind, const SnapshotOptions& options,
                                    uint32_t first, uint32_t* next,
                                    DWORD timeoutMs = CAgentClient::kDefaultTimeoutMs);

// The rectangle of an item of a kind on the screen (client of the control;
// menu bar: of the window that owns the bar; popup: already screen;
// accessible: client of the request's window).
RECT ItemRectOnScreen(HWND window, int kind, const RECT& rect);

// An entry of the wire as a snapshot item of a kind; false (and the item
// partly filled) when its form cannot be decoded.
bool TakeSnapshotEntry(int kind, const ItemListEntry& entry, SnapshotItem* item);
