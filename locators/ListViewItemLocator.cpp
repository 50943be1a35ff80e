#include "locators/ListViewItemLocator.h"

#include <cstring>
#include <new>

#include "locators/TerminatedTextFieldCodec.h"

namespace {
const DWORD kStrategyMask = 0x7;
const DWORD kStrategyImageFirst = 1;
const DWORD kStrategyIndex = 3;
const DWORD kStrategySelected = 4;
const UINT kFetchMask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;

int RectPartCode(DWORD dwParam) {
    switch ((dwParam >> 8) & 0x7) {
    case 2: return LVIR_ICON;
    case 3: return LVIR_LABEL;
    case 4: return LVIR_SELECTBOUNDS;
    default: return LVIR_BOUNDS;
    }
}
}  // namespace

CListViewItemLocator::CListViewItemLocator() { std::memset(&m_item, 0, sizeof(m_item)); }

int CListViewItemLocator::GetDataSize() {
    CTerminatedTextFieldCodec codec;
    return kBaseDataSize + 32 + codec.GetTextFieldSize(m_item.pszText);
}

void CListViewItemLocator::ReadData(BYTE*& pCursor) {
    CItemLocator::ReadData(pCursor);
    int iItem = 0, iSubItem = 0, cchTextMax = 0, iImage = 0;
    DWORD mask = 0, state = 0, stateMask = 0, lParam = 0;
    if (!ReadInt(pCursor, iItem) || !ReadInt(pCursor, iSubItem) || !ReadInt(pCursor, cchTextMax) ||
        !ReadInt(pCursor, iImage) || !ReadDWord(pCursor, mask) || !ReadDWord(pCursor, state) ||
        !ReadDWord(pCursor, stateMask) || !ReadDWord(pCursor, lParam)) {
        return;
    }
    m_item.iItem = iItem;
    m_item.iSubItem = iSubItem;
    m_item.cchTextMax = cchTextMax;
    m_item.iImage = iImage;
    m_item.mask = mask;
    m_item.state = state;
    m_item.stateMask = stateMask;
    m_item.lParam = static_cast<LPARAM>(lParam);

    CTerminatedTextFieldCodec codec;
    codec.SetLimit(GetDataLimit());
    uint32_t nSize = 0;
    codec.ReadText(pCursor, NULL, nSize);
    if (codec.HasOverrun()) {
        MarkDataOverrun();
        return;
    }
    // A text too long for the buffer is cut; a list view never holds such
    // a text (its fetches stop at 255 characters), so it is not found.
    if (nSize > static_cast<uint32_t>(kMaxTextSize)) nSize = kMaxTextSize;
    ReleaseText(m_item.pszText);
    m_item.pszText = AllocText(static_cast<short>(nSize));
    if (!m_item.pszText) {
        // Out of memory: step over the field so the search argument behind it is read.
        char szNothing[1];
        codec.SetDestinationSize(1);
        codec.ReadText(pCursor, szNothing, nSize);
    } else {
        codec.SetDestinationSize(nSize);
        codec.ReadText(pCursor, m_item.pszText, nSize);
    }
    if (codec.HasOverrun()) MarkDataOverrun();
}

void CListViewItemLocator::WriteData(BYTE*& pCursor) {
    CItemLocator::WriteData(pCursor);
    if (!WriteInt(pCursor, m_item.iItem) || !WriteInt(pCursor, m_item.iSubItem) ||
        !WriteInt(pCursor, m_item.cchTextMax) || !WriteInt(pCursor, m_item.iImage) ||
        !WriteDWord(pCursor, m_item.mask) || !WriteDWord(pCursor, m_item.state) ||
        !WriteDWord(pCursor, m_item.stateMask) ||
        !WriteDWord(pCursor, static_cast<DWORD>(m_item.lParam))) {
        return;
    }
    CTerminatedTextFieldCodec codec;
    codec.SetLimit(GetDataLimit());
    uint32_t nLength = 0;
    codec.WriteText(pCursor, m_item.pszText, nLength);
    if (codec.HasOverrun()) MarkDataOverrun();
}

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
    return NULL;
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
            SetRectEmpty(&rect);
        }
    }
    return rect;
}

int CListViewItemLocator::SearchByImage(HWND hwndControl) { return Search(hwndControl, true); }

int CListViewItemLocator::SearchByText(HWND hwndControl) { return Search(hwndControl, false); }

int CListViewItemLocator::Search(HWND hwndControl, bool bImageFirst) {
    char* pszBuffer = new (std::nothrow) char[kFetchTextSize];
    if (!pszBuffer) return -1;
    const char* pszWanted = m_item.pszText ? m_item.pszText : "";
    int nExact = -1, nStrong = -1, nWeak = -1;
    const int nCount = GetItemCount(hwndControl);
    for (int i = 0; i < nCount; ++i) {
        LVITEMA item;
        std::memset(&item, 0, sizeof(item));
        item.mask = kFetchMask;
        item.iItem = i;
        item.pszText = pszBuffer;
        item.cchTextMax = kFetchTextSize;
        pszBuffer[0] = '\0';
        if (!SendMessageA(hwndControl, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) continue;
        pszBuffer[kFetchTextSize - 1] = '\0';  // an over-long text may come back unterminated
        const bool bText = lstrcmpA(item.pszText ? item.pszText : "", pszWanted) == 0;
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
    delete[] pszBuffer;
    if (nExact != -1) return nExact;
    return nStrong != -1 ? nStrong : nWeak;
}

bool CListViewItemLocator::FindItem(HWND hwndControl, DWORD dwParam) {
    int nIndex = -1;
    switch (dwParam & kStrategyMask) {
    case kStrategySelected:
        nIndex = static_cast<int>(SendMessageA(hwndControl, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        break;
    case kStrategyIndex:
        // Any negative index is out of range, not only -1.
        if (m_item.iItem >= 0 && m_item.iItem < GetItemCount(hwndControl)) nIndex = m_item.iItem;
        break;
    case kStrategyImageFirst:
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
    m_rect.left = RectPartCode(dwParam);
    return SendMessageA(hwndControl, LVM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&m_rect)) != 0;
}

const char* CListViewItemLocator::GetDescription() {
    if (m_item.pszText && m_item.pszText[0]) return FormatDescription("the '%s' list item", m_item.pszText);
    lstrcpynA(m_szDescription, "a list item", kDescriptionSize);
    return m_szDescription;
}
