// One page of an item listing ("TavmorItemList"), filled by a locator's
// ListItems: it knows where the page starts, what the request asked for,
// and takes whole entries until the next one would pass the byte budget or
// the record. The entry that did not fit, and every one after it, wait for
// the next page, which starts at that entry's index.
#pragma once
#include <windows.h>

#include <cstdint>

#include "forms/ItemListForm.h"

class CItemLocator;

class CItemListPage {
public:
    // Entries go to cursor (bounded by its end and by nBudget bytes; 0: no
    // budget but the record's).
    CItemListPage(CWireCursor& cursor, const ItemListRequest& request);
    CItemListPage(const CItemListPage&) = delete;
    CItemListPage& operator=(const CItemListPage&) = delete;

    const ItemListRequest& Request() const { return m_request; }
    bool AllNodes() const { return (m_request.dwFlags & ItemListRequest::kAllNodesFlag) != 0; }
    int Depth() const;
    // The first index the page wants, at most INT_MAX.
    int First() const;
    // Whether the item at nIndex goes into this page: at or after the first
    // index, and no entry has yet been refused.
    bool Wants(int nIndex) const;
    // True once an entry has been refused: no later one is taken.
    bool Full() const { return m_bFull; }
    // Adds the entry for nIndex with the item's recorded form, as item
    // writes it (WriteData after LoadItem); false when it does not fit.
    bool Add(ItemListEntry& entry, CItemLocator& item);

    uint32_t Count() const { return m_nCount; }
    // The first index of the next page: the refused entry's, or nTotal
    // when every entry fitted.
    uint32_t Next(uint32_t nTotal) const { return m_bFull ? m_nRefused : nTotal; }

private:
    CWireCursor& m_cursor;
    ItemListRequest m_request;
    uint64_t m_nBudgetLeft;
    uint32_t m_nCount;
    uint32_t m_nRefused;
    bool m_bFull;
};
