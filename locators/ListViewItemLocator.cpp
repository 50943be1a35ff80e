#include "locators/ListViewItemLocator.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "forms/SearchArgument.h"
#include "locators/ControlClass.h"
#include "locators/ItemListPage.h"

namespace {
const UINT kFetchMask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;

int RectPartCode(ReportedPart part) {
    switch (part) {
    case ReportedPart::kIcon: return LVIR_ICON;
    case ReportedPart::kLabel: return LVIR_LABEL;
    case ReportedPart::kSelectBounds: return LVIR_SELECTBOUNDS;
    default: return LVIR_BOUNDS;
    }
}
}  // namespace

CListViewItemLocator::CListViewItemLocator() { std::memset(&m_item, 0, sizeof(m_item)); }

CListViewItemLocator::Form CListViewItemLocator::MakeForm() const {
    Form form;
    form.base = GetBaseForm();
    ListViewItemFields& f = form.fields;
    f.iItem = m_item.iItem;
    f.iSubItem = m_item.iSubItem;
    f.cchTextMax = m_item.cchTextMax;
    f.iImage = m_item.iImage;
    f.mask = m_item.mask;
    f.state = m_item.state;
    f.stateMask = m_item.stateMask;
    // The wire carries the record's low 32 bits.
    f.lParam = static_cast<uint32_t>(m_item.lParam);
    if (m_item.pszText) f.text = m_item.pszText;
    return form;
}

int CListViewItemLocator::GetDataSize() { return static_cast<int>(FormSize(MakeForm(), true)); }

void CListViewItemLocator::ReadData(BYTE*& pCursor) {
    Form form;
    if (!ReadFormAt(pCursor, form)) return;
    SetBaseForm(form.base);
    const ListViewItemFields& f = form.fields;
    m_item.iItem = f.iItem;
    m_item.iSubItem = f.iSubItem;
    m_item.cchTextMax = f.cchTextMax;
    m_item.iImage = f.iImage;
    m_item.mask = f.mask;
    m_item.state = f.state;
    m_item.stateMask = f.stateMask;
    m_item.lParam = static_cast<LPARAM>(f.lParam);
    // A text too long for the buffer is cut; a list view never holds such
    // a text (its fetches stop at 255 characters), so it is not found.
    std::string text = f.text;
    CutAnsiText(text, ListViewItemFields::kMaxText);
    ReleaseText(m_item.pszText);
    m_item.pszText = AllocText(static_cast<short>(text.size() + 1));
    if (m_item.pszText) std::memcpy(m_item.pszText, text.c_str(), text.size() + 1);
}

void CListViewItemLocator::WriteData(BYTE*& pCursor) { WriteFormAt(pCursor, MakeForm()); }

int CListViewItemLocator::GetItemCount(HWND hwndControl) {
    return static_cast<int>(SendMessageA(hwndControl, LVM_GETITEMCOUNT, 0, 0));
}

HWND CListViewItemLocator::LoadItem(HWND hwndControl, int nIndex) {
    m_item.iItem = nIndex;
    m_bSelected = 0;
    m_item.mask = kFetchMask;
    m_item.cchTextMax = kFetchTextSize;
    // A list view reports only the state bits the mask asks for; the
    // selected bit is always asked for so that it can be recorded.
    m_item.stateMask |= LVIS_SELECTED;
    ReleaseText(m_item.pszText);
    m_item.pszText = AllocText(kFetchTextSize);
    if (!m_item.pszText) m_item.cchTextMax = 0;
    SendMessageA(hwndControl, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&m_item));
    // A control may fill the whole buffer without a terminator when the
    // text is longer (Wine's does): cut it at the buffer's last byte.
    if (m_item.pszText == m_pszText && m_pszText) m_pszText[kFetchTextSize - 1] = '\0';
    if (m_item.pszText != m_pszText && m_pszText) {
        // The control pointed the record at its own text: keep a copy in ours.
        if (m_item.pszText) lstrcpynA(m_pszText, m_item.pszText, kFetchTextSize);
        m_item.pszText = m_pszText;
    }
    if (m_item.state & LVIS_SELECTED) m_bSelected = 1;
    return nullptr;
}

RECT CListViewItemLocator::ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) {
    RECT rect = {0, 0, 0, 0};
    LVHITTESTINFO info;
    std::memset(&info, 0, sizeof(info));
    info.pt.x = x;
    info.pt.y = y;
    ScreenToClient(hwndControl, &info.pt);
    info.flags = LVHT_ONITEMICON | LVHT_ONITEMLABEL;
    *pnIndex = static_cast<int>(SendMessageA(hwndControl, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (*pnIndex != -1) {
        rect.left = LVIR_BOUNDS;
        if (!SendMessageA(hwndControl, LVM_GETITEMRECT, static_cast<WPARAM>(*pnIndex), reinterpret_cast<LPARAM>(&rect))) {
            // No rectangle, no item: a window that is no list view answers
            // the hit test with 0, which must not pass for item 0.
            SetRectEmpty(&rect);
            *pnIndex = -1;
        }
    }
    return rect;
}

int CListViewItemLocator::SearchByImage(HWND hwndControl) { return Search(hwndControl, true); }

int CListViewItemLocator::SearchByText(HWND hwndControl) { return Search(hwndControl, false); }

bool CListViewItemLocator::FetchForSearch(HWND hwndControl, int i, char* pszBuffer, LVITEMA* pItem) {
    std::memset(pItem, 0, sizeof(*pItem));
    pItem->mask = kFetchMask;
    pItem->iItem = i;
    pItem->pszText = pszBuffer;
    pItem->cchTextMax = kFetchTextSize;
    pszBuffer[0] = '\0';
    if (!SendMessageA(hwndControl, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(pItem))) return false;
    pszBuffer[kFetchTextSize - 1] = '\0';  // an over-long text may come back unterminated
    if (!pItem->pszText) pItem->pszText = pszBuffer;
    return true;
}

bool CListViewItemLocator::IsRecordedItemExact(HWND hwndControl, char* pszBuffer) {
    if (m_item.iItem < 0 || m_item.iItem >= GetItemCount(hwndControl)) return false;
    LVITEMA item;
    if (!FetchForSearch(hwndControl, m_item.iItem, pszBuffer, &item)) return false;
    return lstrcmpA(item.pszText, m_item.pszText ? m_item.pszText : "") == 0 && item.iImage == m_item.iImage;
}

int CListViewItemLocator::SearchByAskingTheList(HWND hwndControl, char* pszBuffer) {
    // Enough for every item of a text that a few rows share; a list that
    // names more (or keeps answering wrongly) is walked instead.
    const int kMostAnswers = 256;
    const int kMostWrongAnswers = 16;
    if (!(GetWindowLongPtrA(hwndControl, GWL_STYLE) & LVS_OWNERDATA) || !m_item.pszText || !m_item.pszText[0]) return -1;
    const int nCount = GetItemCount(hwndControl);
    LVFINDINFOA find;
    std::memset(&find, 0, sizeof(find));
    find.flags = LVFI_STRING;  // whole text, without regard to case: finds every item the walk would take
    find.psz = m_item.pszText;
    int nStrong = -1, nWeak = -1, nWrong = 0;
    int nStart = -1;
    for (int nAnswers = 0; nAnswers < kMostAnswers; ++nAnswers) {
        // The item at the start is left out of a search; an application
        // that searches from it names it again, and is asked from the next.
        int nFound = static_cast<int>(SendMessageA(hwndControl, LVM_FINDITEMA, static_cast<WPARAM>(nStart),
                                                   reinterpret_cast<LPARAM>(&find)));
        if (nStart >= 0 && nFound == nStart) {
            nFound = static_cast<int>(SendMessageA(hwndControl, LVM_FINDITEMA, static_cast<WPARAM>(nStart + 1),
                                                   reinterpret_cast<LPARAM>(&find)));
        }
        // Nothing more, or the search wrapped around.
        if (nFound < 0 || nFound <= nStart || nFound >= nCount) {
            return nStrong != -1 ? nStrong : nWeak;
        }
        LVITEMA item;
        const bool bText = FetchForSearch(hwndControl, nFound, pszBuffer, &item) && lstrcmpA(item.pszText, m_item.pszText) == 0;
        if (!bText) {
            // Another letter case (which LVFI_STRING allows), or a wrong answer.
            if (++nWrong > kMostWrongAnswers) return -1;
        } else if (item.iImage != m_item.iImage) {
            nWeak = nFound;
        } else if (nFound == m_item.iItem) {
            return nFound;
        } else {
            nStrong = nFound;
        }
        nStart = nFound;
    }
    return -1;
}

int CListViewItemLocator::Search(HWND hwndControl, bool bImageFirst) {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kFetchTextSize]);
    char* pszBuffer = buffer.get();
    if (!pszBuffer) return -1;
    // An item that kept its place ends the walk at once: ask for it first.
    if (IsRecordedItemExact(hwndControl, pszBuffer)) return m_item.iItem;
    // Only the text-first search takes candidates by their text alone.
    if (!bImageFirst) {
        const int nAsked = SearchByAskingTheList(hwndControl, pszBuffer);
        if (nAsked >= 0) return nAsked;
    }
    const char* pszWanted = m_item.pszText ? m_item.pszText : "";
    int nExact = -1, nStrong = -1, nWeak = -1;
    const int nCount = GetItemCount(hwndControl);
    for (int i = 0; i < nCount; ++i) {
        LVITEMA item;
        if (!FetchForSearch(hwndControl, i, pszBuffer, &item)) continue;
        const bool bText = lstrcmpA(item.pszText, pszWanted) == 0;
        const bool bImage = item.iImage == m_item.iImage;
        if (bText && bImage) {
            if (i == m_item.iItem) {
                nExact = i;
                break;
            }
            nStrong = i;
        } else if (bImageFirst ? bImage : bText) {
            nWeak = i;
        }
    }
    if (nExact != -1) return nExact;
    return nStrong != -1 ? nStrong : nWeak;
}

bool CListViewItemLocator::FindItem(HWND hwndControl, DWORD dwParam) {
    const SearchArgument search = SearchArgument::FromWire(dwParam);
    int nIndex = -1;
    switch (search.strategy) {
    case SearchStrategy::kCurrent:
        nIndex = static_cast<int>(SendMessageA(hwndControl, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        break;
    case SearchStrategy::kRecordedIndex:
        // Any negative index is out of range, not only -1.
        if (m_item.iItem >= 0 && m_item.iItem < GetItemCount(hwndControl)) nIndex = m_item.iItem;
        break;
    case SearchStrategy::kImageFirst:
        nIndex = SearchByImage(hwndControl);
        if (nIndex == -1) nIndex = SearchByText(hwndControl);
        break;
    default:
        nIndex = SearchByText(hwndControl);
        if (nIndex == -1) nIndex = SearchByImage(hwndControl);
        break;
    }
    if (nIndex < 0) return false;
    SendMessageA(hwndControl, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nIndex), 0);
    m_rect.left = RectPartCode(search.part);
    return SendMessageA(hwndControl, LVM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&m_rect)) != 0;
}

const char* CListViewItemLocator::GetDescription() { return SetDescription(MakeForm().fields.Description()); }

int CListViewItemLocator::ColumnCount(HWND hwndControl) {
    HWND hwndHeader = reinterpret_cast<HWND>(SendMessageA(hwndControl, LVM_GETHEADER, 0, 0));
    // The header's messages are sent only to a header control.
    char szClass[32] = {0};
    if (!hwndHeader || !GetClassNameA(hwndHeader, szClass, sizeof(szClass)) || lstrcmpiA(szClass, WC_HEADERA) != 0) {
        return 1;
    }
    const int nColumns = static_cast<int>(SendMessageA(hwndHeader, HDM_GETITEMCOUNT, 0, 0));
    if (nColumns < 1) return 1;
    return nColumns > ItemListEntry::kMaxExtraTexts + 1 ? ItemListEntry::kMaxExtraTexts + 1 : nColumns;
}

void CListViewItemLocator::ReadColumnTexts(HWND hwndControl, int nIndex, int nColumns, std::vector<std::string>& texts) {
    // The strings of an entry reused item after item keep their room.
    texts.resize(nColumns > 1 ? static_cast<size_t>(nColumns - 1) : 0);
    char szText[kFetchTextSize];
    for (int nColumn = 1; nColumn < nColumns; ++nColumn) {
        LVITEMA item;
        std::memset(&item, 0, sizeof(item));
        item.iSubItem = nColumn;
        item.pszText = szText;
        item.cchTextMax = kFetchTextSize;
        szText[0] = '\0';
        SendMessageA(hwndControl, LVM_GETITEMTEXTA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item));
        szText[kFetchTextSize - 1] = '\0';
        texts[static_cast<size_t>(nColumn - 1)].assign(item.pszText == szText || !item.pszText ? szText : item.pszText);
    }
}

int CListViewItemLocator::ListItems(HWND hwndControl, CItemListPage& page) {
    if (!IsControlOfKind(hwndControl, kItemKindListView)) return -1;
    const int nCount = GetItemCount(hwndControl);
    if (nCount < 0) return -1;
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwndControl, &client);
    const int nColumns = ColumnCount(hwndControl);
    // One entry for all items: every field is set again for each.
    ItemListEntry entry;
    for (int i = page.First(); i < nCount && !page.Full(); ++i) {
        // A fresh locator per item: its form is the one a recording makes.
        CListViewItemLocator item;
        item.m_nKind = m_nKind;
        item.LoadItem(hwndControl, i);
        entry.nIndex = i;
        RECT rect = {LVIR_BOUNDS, 0, 0, 0};
        if (!SendMessageA(hwndControl, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect))) {
            SetRectEmpty(&rect);
        }
        entry.SetRect(rect);
        RECT shown;
        entry.dwFlags = ItemListEntry::kEnabled;
        if (IntersectRect(&shown, &rect, &client)) entry.dwFlags |= ItemListEntry::kVisible;
        if (item.m_bSelected) entry.dwFlags |= ItemListEntry::kSelected;
        entry.dwState = static_cast<uint32_t>(SendMessageA(hwndControl, LVM_GETITEMSTATE, static_cast<WPARAM>(i), 0xFFFF));
        entry.text.assign(item.m_item.pszText ? item.m_item.pszText : "");
        ReadColumnTexts(hwndControl, i, nColumns, entry.extraTexts);
        page.Add(entry, item);
    }
    return nCount;
}
