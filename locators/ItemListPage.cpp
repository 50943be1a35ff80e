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

bool CItemListPage::Add(ItemListEntry& entry, CItemLocator& item) {
    if (!Wants(entry.nIndex)) return false;
    // Written in place: the size field, the entry's fields with an empty
    // form, then the item's form straight behind its length field, which
    // with the size is filled in once the form is there. The entry ends at
    // the budget's end or the record's, whichever comes first; one that
    // does not fit is taken back whole.
    const CWireCursor start = m_cursor;
    const uint64_t nRoom = m_cursor.Remaining() < m_nBudgetLeft ? m_cursor.Remaining() : m_nBudgetLeft;
    BYTE* pEnd = m_cursor.Position() + nRoom;
    entry.form.clear();
    CWireCursor cursor(m_cursor.Position(), pEnd);
    bool bFitted = cursor.WriteU32(0).Ok() && WriteForm(cursor, entry);
    if (bFitted) {
        BYTE* pForm = cursor.Position();
        item.SetDataLimit(pEnd);
        item.WriteData(pForm);
        bFitted = !item.HasDataOverrun() && pForm >= cursor.Position() && pForm <= pEnd;
        item.SetDataLimit(nullptr);
        if (bFitted) {
            const uint32_t nForm = static_cast<uint32_t>(pForm - cursor.Position());
            const uint32_t nSize = static_cast<uint32_t>(pForm - start.Position()) - 4;
            CWireCursor(cursor.Position() - 4, pEnd).WriteU32(nForm);
            CWireCursor(start.Position(), pEnd).WriteU32(nSize);
            cursor.Skip(nForm);
        }
    }
    if (!bFitted) {
        m_bFull = true;
        m_nRefused = static_cast<uint32_t>(entry.nIndex);
        return false;
    }
    const size_t nWritten = cursor.Offset();
    m_cursor.Skip(nWritten);
    m_nBudgetLeft -= nWritten;
    ++m_nCount;
    return true;
}
