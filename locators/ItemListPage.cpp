#include "locators/ItemListPage.h"

#include <climits>
#include <vector>

#include "locators/ItemLocator.h"

CItemListPage::CItemListPage(CWireCursor& cursor, const ItemListRequest& request)
    : m_cursor(cursor),
      m_request(request),
      m_nBudgetLeft(request.nBudget == 0 ? UINT64_MAX : request.nBudget),
      m_nCount(0),
      m_nRefused(0),
      m_bFull(false) {}

int CItemListPage::Depth() const {
    // Levels below the window's object; the walk (one stack frame per
    // level) is bounded whatever was asked.
    const uint32_t kMostLevels = 256;
    return static_cast<int>(m_request.nDepth > kMostLevels ? kMostLevels : m_request.nDepth);
}

int CItemListPage::First() const {
    return m_request.nFirst > static_cast<uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(m_request.nFirst);
}

bool CItemListPage::Wants(int nIndex) const {
    return !m_bFull && nIndex >= 0 && static_cast<uint32_t>(nIndex) >= m_request.nFirst;
}

bool CItemListPage::TakeForm(CItemLocator& item, std::string& form) {
    // The declared size is at least the written one; a kind that states it
    // short gets one larger try.
    const int nDeclared = item.GetDataSize();
    size_t nRoom = (nDeclared > 0 ? static_cast<size_t>(nDeclared) : 0) + 256;
    for (int nTry = 0; nTry < 2; ++nTry, nRoom *= 16) {
        std::vector<BYTE> buffer(nRoom);
        BYTE* pCursor = buffer.data();
        item.SetDataLimit(buffer.data() + buffer.size());
        item.WriteData(pCursor);
        const bool bFitted = !item.HasDataOverrun();
        item.SetDataLimit(nullptr);
        if (bFitted) {
            form.assign(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(pCursor - buffer.data()));
            return true;
        }
    }
    return false;
}

bool CItemListPage::Add(ItemListEntry& entry, CItemLocator& item) {
    if (!Wants(entry.nIndex)) return false;
    const bool bTaken = TakeForm(item, entry.form);
    const uint64_t nSize = ItemListEntrySize(entry);
    if (!bTaken || nSize > m_nBudgetLeft || !WriteItemListEntry(m_cursor, entry)) {
        m_bFull = true;
        m_nRefused = static_cast<uint32_t>(entry.nIndex);
        return false;
    }
    m_nBudgetLeft -= nSize;
    ++m_nCount;
    return true;
}
