#include "locators/TabItemLocator.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "common/Owned.h"
#include "forms/SearchArgument.h"
#include "locators/ControlClass.h"
#include "locators/ItemListPage.h"

namespace {
const UINT kFetchMask = TCIF_TEXT | TCIF_IMAGE;

// Room around a record handed to a tab control: a window that answers a
// tab message in its own way may write more than the record holds.
struct PaddedHitTest {
    TCHITTESTINFO info;
    BYTE padding[256];
};
struct PaddedRect {
    RECT rect;
    BYTE padding[256];
};

RECT TabRect(HWND hwndTab, int nIndex) {
    PaddedRect r;
    std::memset(&r, 0, sizeof(r));
    if (!SendMessageA(hwndTab, TCM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&r.rect))) {
        SetRectEmpty(&r.rect);
    }
    return r.rect;
}

// Fractions in double precision, converted by truncation toward zero.
LONG Truncate(double value) { return static_cast<LONG>(value); }
}  // namespace

CTabItemLocator::CTabItemLocator() : m_nIndex(0), m_bCurrent(0) { std::memset(&m_item, 0, sizeof(m_item)); }

CTabItemLocator::Form CTabItemLocator::MakeForm() const {
    Form form;
    form.base = GetBaseForm();
    TabItemFields& f = form.fields;
    f.mask = m_item.mask;
    f.cchTextMax = m_item.cchTextMax;
    f.iImage = m_item.iImage;
    f.nIndex = m_nIndex;
    f.bCurrent = m_bCurrent;
    // The wire carries the record's low 32 bits.
    f.lParam = static_cast<uint32_t>(m_item.lParam);
    if (m_item.pszText) f.text = m_item.pszText;
    return form;
}

int CTabItemLocator::GetDataSize() { return static_cast<int>(FormSize(MakeForm(), true)); }

void CTabItemLocator::ReadData(BYTE*& pCursor) {
    Form form;
    if (!ReadFormAt(pCursor, form)) return;
    SetBaseForm(form.base);
    const TabItemFields& f = form.fields;
    m_item.mask = f.mask;
    m_item.cchTextMax = f.cchTextMax;
    m_item.iImage = f.iImage;
    m_nIndex = f.nIndex;
    m_bCurrent = f.bCurrent;
    m_item.lParam = static_cast<LPARAM>(f.lParam);
    // A text too long for the buffer is cut; no tab holds such a text (the
    // fetches stop at 255 characters), so it is not found by text.
    std::string text = f.text;
    CutAnsiText(text, TabItemFields::kMaxText);
    ReleaseText(m_item.pszText);
    m_item.pszText = AllocText(static_cast<short>(text.size() + 1));
    if (m_item.pszText) std::memcpy(m_item.pszText, text.c_str(), text.size() + 1);
}

void CTabItemLocator::WriteData(BYTE*& pCursor) { WriteFormAt(pCursor, MakeForm()); }

int CTabItemLocator::GetItemCount(HWND hwndControl) {
    return static_cast<int>(SendMessageA(hwndControl, TCM_GETITEMCOUNT, 0, 0));
}

HWND CTabItemLocator::LoadItem(HWND hwndControl, int nIndex) {
    m_item.cchTextMax = kFetchTextSize;
    m_item.mask = kFetchMask;
    ReleaseText(m_item.pszText);
    m_item.pszText = AllocText(kFetchTextSize);
    if (!m_item.pszText) m_item.cchTextMax = 0;
    char* pszOwn = m_item.pszText;
    SendMessageA(hwndControl, TCM_GETITEMA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&m_item));
    if (pszOwn) {
        // A text as long as the buffer may come back without a terminator.
        pszOwn[kFetchTextSize - 1] = '\0';
        if (m_item.pszText && m_item.pszText != pszOwn) {
            // The control pointed the record at its own text: keep a copy.
            lstrcpynA(pszOwn, m_item.pszText, kFetchTextSize);
            m_item.pszText = pszOwn;
        }
    }
    // A control that reports no text leaves pszText nullptr: the tab has none.
    const int nCurrent = static_cast<int>(SendMessageA(hwndControl, TCM_GETCURSEL, 0, 0));
    m_bCurrent = nIndex == nCurrent ? 1 : 0;
    m_bSelected = static_cast<BYTE>(m_bCurrent);
    m_nIndex = nIndex;
    m_dwFlags = 0;
    if (HasItemText(hwndControl)) m_dwFlags = TabItemFields::kHasTextFlag;
    return nullptr;
}

bool CTabItemLocator::HasItemText(HWND hwndControl) {
    char szBuffer[kFetchTextSize];
    szBuffer[0] = '\0';
    TCITEMA item;
    std::memset(&item, 0, sizeof(item));
    item.mask = TCIF_TEXT;
    item.cchTextMax = kFetchTextSize;
    item.pszText = szBuffer;
    SendMessageA(hwndControl, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.pszText != nullptr;
}

RECT CTabItemLocator::ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) {
    RECT rect = {0, 0, 0, 0};
    *pnIndex = -1;
    PaddedHitTest hit;
    std::memset(&hit, 0, sizeof(hit));
    hit.info.pt.x = x;
    hit.info.pt.y = y;
    ScreenToClient(hwndControl, &hit.info.pt);
    hit.info.flags = TCHT_ONITEM;
    *pnIndex = static_cast<int>(SendMessageA(hwndControl, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit.info)));
    if (*pnIndex != -1) rect = TabRect(hwndControl, *pnIndex);
    return rect;
}

int CTabItemLocator::SearchByText(HWND hwndControl) { return Search(hwndControl, false); }

int CTabItemLocator::SearchByImage(HWND hwndControl) { return Search(hwndControl, true); }

int CTabItemLocator::Search(HWND hwndControl, bool bImageFirst) {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kFetchTextSize]);
    if (!buffer) return -1;
    char* pszBuffer = buffer.get();
    const char* pszWanted = m_item.pszText;
    int nExact = -1, nStrong = -1, nWeak = -1;
    const int nCount = GetItemCount(hwndControl);
    for (int i = 0; i < nCount; ++i) {
        TCITEMA item;
        std::memset(&item, 0, sizeof(item));
        item.mask = kFetchMask;
        item.pszText = pszBuffer;
        item.cchTextMax = kFetchTextSize;
        pszBuffer[0] = '\0';
        SendMessageA(hwndControl, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        pszBuffer[kFetchTextSize - 1] = '\0';  // an over-long text may come back unterminated
        // Texts count as equal only when both are there.
        const bool bBothTexts = item.pszText != nullptr && pszWanted != nullptr;
        const bool bText = bBothTexts && lstrcmpA(item.pszText, pszWanted) == 0;
        const bool bImage = item.iImage == m_item.iImage;
        if (bText && bImage) {
            if (i == m_nIndex) {
                nExact = i;
                break;
            }
            nStrong = i;
        } else if (bImageFirst ? (bImage && bBothTexts) : bText) {
            nWeak = i;
        }
    }
    if (nExact != -1) return nExact;
    return nStrong != -1 ? nStrong : nWeak;
}

int CTabItemLocator::FindByImage(HWND hwndControl, DWORD dwParam) {
    if (SearchArgument::FromWire(dwParam).HasCurrentBit()) return static_cast<int>(SendMessageA(hwndControl, TCM_GETCURSEL, 0, 0));
    if (m_item.iImage == -1) return -1;
    const int nCount = GetItemCount(hwndControl);
    for (int i = 0; i < nCount; ++i) {
        TCITEMA item;
        std::memset(&item, 0, sizeof(item));
        item.mask = TCIF_IMAGE;
        item.iImage = -1;
        if (!SendMessageA(hwndControl, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
        if (item.iImage != -1 && item.iImage == m_item.iImage) return i;
    }
    return -1;
}

bool CTabItemLocator::FindItem(HWND hwndControl, DWORD dwParam) {
    const int nCount = GetItemCount(hwndControl);
    if (nCount <= 0) return false;
    int nIndex = -1;
    const SearchStrategy strategy = SearchArgument::FromWire(dwParam).strategy;
    if (strategy == SearchStrategy::kCurrent) {
        nIndex = static_cast<int>(SendMessageA(hwndControl, TCM_GETCURSEL, 0, 0));
    } else if (strategy == SearchStrategy::kRecordedIndex) {
        // Any negative index is out of range, not only -1.
        if (m_nIndex >= 0 && m_nIndex < nCount) nIndex = m_nIndex;
    } else if (!HasItemText(hwndControl)) {
        nIndex = FindByImage(hwndControl, dwParam);
    } else if (strategy == SearchStrategy::kImageFirst) {
        nIndex = SearchByImage(hwndControl);
        if (nIndex == -1) nIndex = SearchByText(hwndControl);
    } else {
        nIndex = SearchByText(hwndControl);
        if (nIndex == -1) nIndex = SearchByImage(hwndControl);
    }
    if (nIndex < 0 || nIndex >= nCount) return false;
    PaddedRect r;
    std::memset(&r, 0, sizeof(r));
    if (!SendMessageA(hwndControl, TCM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&r.rect))) {
        return false;
    }
    m_rect = r.rect;
    return true;
}

const char* CTabItemLocator::GetDescription() { return SetDescription(MakeForm().fields.Description()); }

void CTabItemLocator::GetTabGapPoint(POINT* pPoint, HWND hwndTab) {
    if (!pPoint) return;
    RECT client = {0, 0, 0, 0};
    if (!GetClientRect(hwndTab, &client)) SetRectEmpty(&client);
    POINT p;
    p.x = Truncate((client.right - client.left) * 0.5);
    p.y = Truncate((client.bottom - client.top) * 0.5);

    PaddedHitTest hit;
    std::memset(&hit, 0, sizeof(hit));
    hit.info.pt = p;
    const int nHit = static_cast<int>(SendMessageA(hwndTab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit.info)));
    const int nCount = GetItemCount(hwndTab);
    // A miss keeps the middle; so does a window that counts no tabs.
    if (hit.info.flags != TCHT_NOWHERE && nHit >= 0 && nCount > 0) {
        if (nHit == 0 && nCount == 1) {
            // A single tab: just inside its left edge.
            p.x = TabRect(hwndTab, 0).left + 2;
        } else {
            // The tab hit and its left neighbour, or tabs 0 and 1.
            const int nLeft = nHit >= 1 ? nHit - 1 : 0;
            const RECT a = TabRect(hwndTab, nLeft);
            const RECT b = TabRect(hwndTab, nLeft + 1);
            if (a.top == b.top) {
                // One row: on the boundary, half the gap from a's right edge.
                p.x = a.right - Truncate((b.left - a.right) * -0.5);
            } else {
                // Different rows: half way between a's bottom and b's top.
                p.y = a.bottom - Truncate((b.top - a.bottom) * -0.5);
            }
        }
    }

    {
        CWindowDC dc(hwndTab);
        if (dc && !PtVisible(dc.Get(), p.x, p.y)) p.y = 2;
    }
    MapWindowPoints(hwndTab, nullptr, &p, 1);
    *pPoint = p;
}

int CTabItemLocator::ListItems(HWND hwndControl, CItemListPage& page) {
    if (!IsControlOfKind(hwndControl, kItemKindTab)) return -1;
    const int nCount = GetItemCount(hwndControl);
    if (nCount < 0) return -1;
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwndControl, &client);
    for (int i = page.First(); i < nCount && !page.Full(); ++i) {
        // A fresh locator per tab: its form is the one a recording makes.
        CTabItemLocator item;
        item.m_nKind = m_nKind;
        item.LoadItem(hwndControl, i);
        ItemListEntry entry;
        entry.nIndex = i;
        const RECT rect = TabRect(hwndControl, i);
        entry.SetRect(rect);
        RECT shown;
        entry.dwFlags = ItemListEntry::kEnabled;
        if (IntersectRect(&shown, &rect, &client)) entry.dwFlags |= ItemListEntry::kVisible;
        if (item.m_bCurrent) entry.dwFlags |= ItemListEntry::kSelected;
        if (item.m_item.pszText) entry.text = item.m_item.pszText;
        page.Add(entry, item);
    }
    return nCount;
}
