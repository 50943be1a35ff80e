#include "locators/ListBoxItemLocator.h"

#include <cstring>
#include <memory>
#include <new>
#include "locators/ControlClass.h"
#include "locators/ItemListPage.h"

CListBoxItemLocator::CListBoxItemLocator() : m_nIndex(-1) {}

CListBoxItemLocator::Form CListBoxItemLocator::MakeForm() const {
    Form form;
    form.base = GetBaseForm();
    form.fields.nIndex = m_nIndex;
    if (m_pszText) form.fields.text = m_pszText;
    return form;
}

int CListBoxItemLocator::GetDataSize() { return static_cast<int>(FormSize(MakeForm(), true)); }

void CListBoxItemLocator::SetText(std::string text) {
    CutAnsiText(text, kMaxText);
    char* pszText = AllocText(static_cast<short>(text.size() + 1));
    if (pszText) std::memcpy(pszText, text.c_str(), text.size() + 1);
}

void CListBoxItemLocator::ReadData(BYTE*& pCursor) {
    Form form;
    if (!ReadFormAt(pCursor, form)) return;
    SetBaseForm(form.base);
    m_nIndex = form.fields.nIndex;
    SetText(form.fields.text);
}

void CListBoxItemLocator::WriteData(BYTE*& pCursor) { WriteFormAt(pCursor, MakeForm()); }

int CListBoxItemLocator::GetItemCount(HWND hwndControl) {
    return static_cast<int>(SendMessageA(hwndControl, LB_GETCOUNT, 0, 0));
}

bool CListBoxItemLocator::HasItemTexts(HWND hwndControl) {
    const LONG_PTR nStyle = GetWindowLongPtrA(hwndControl, GWL_STYLE);
    return !(nStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || (nStyle & LBS_HASSTRINGS);
}

HWND CListBoxItemLocator::LoadItem(HWND hwndControl, int nIndex) {
    const LRESULT nLength = SendMessageA(hwndControl, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (nLength == LB_ERR || nLength < 0) return nullptr;
    if (!HasItemTexts(hwndControl)) {
        // The "text" would be the item's data: record the index alone.
        FreeText();
        m_nIndex = nIndex;
        return nullptr;
    }
    // The whole text is fetched into a buffer of its own size (with room
    // for the pointer-sized item data that an owner-drawn list box without
    // strings copies instead), then cut to what the locator keeps.
    const size_t nBuffer = static_cast<size_t>(nLength) + 1 + sizeof(ULONG_PTR);
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[nBuffer]);
    if (!buffer) return nullptr;
    std::memset(buffer.get(), 0, nBuffer);
    SendMessageA(hwndControl, LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(buffer.get()));
    buffer[static_cast<size_t>(nLength)] = '\0';
    SetText(buffer.get());
    m_nIndex = nIndex;
    return nullptr;
}

RECT CListBoxItemLocator::ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) {
    *pnIndex = -1;
    RECT result = {0, 0, 0, 0};
    POINT point = {x, y};
    ScreenToClient(hwndControl, &point);
    // Items scrolled out of view have rectangles outside the client area:
    // a point outside it hits nothing, and no visible item lies above the
    // top index.
    RECT client;
    if (!GetClientRect(hwndControl, &client) || !PtInRect(&client, point)) return result;
    const int nCount = GetItemCount(hwndControl);
    int nTop = static_cast<int>(SendMessageA(hwndControl, LB_GETTOPINDEX, 0, 0));
    if (nTop < 0) nTop = 0;
    for (int i = nTop; i < nCount; ++i) {
        RECT rect = {0, 0, 0, 0};
        if (SendMessageA(hwndControl, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
            continue;
        }
        if (rect.top >= client.bottom) break;
        if (PtInRect(&rect, point)) {
            *pnIndex = i;
            result = rect;
            break;
        }
    }
    return result;
}

int CListBoxItemLocator::SearchByText(HWND hwndControl) {
    UINT search = LB_FINDSTRINGEXACT;
    const LPARAM text = reinterpret_cast<LPARAM>(m_pszText);
    int nFirst = static_cast<int>(SendMessageA(hwndControl, search, static_cast<WPARAM>(-1), text));
    if (nFirst == LB_ERR) {
        search = LB_FINDSTRING;
        nFirst = static_cast<int>(SendMessageA(hwndControl, search, static_cast<WPARAM>(-1), text));
        if (nFirst == LB_ERR) return -1;
    }
    // The match at the recorded index wins; otherwise the last match before
    // the search wraps around to the first again.
    int nCurrent = nFirst;
    const int nCount = GetItemCount(hwndControl);
    for (int nSteps = 0; nCurrent != m_nIndex && nSteps < nCount; ++nSteps) {
        const int nNext = static_cast<int>(SendMessageA(hwndControl, search, static_cast<WPARAM>(nCurrent), text));
        if (nNext == LB_ERR || nNext == nFirst || nNext <= nCurrent) break;
        nCurrent = nNext;
    }
    return nCurrent;
}

void CListBoxItemLocator::BringIntoView(HWND hwndControl, int nChosen) {
    RECT window;
    GetWindowRect(hwndControl, &window);
    if (static_cast<int>(SendMessageA(hwndControl, LB_GETTOPINDEX, 0, 0)) >= nChosen) {
        SendMessageA(hwndControl, LB_SETTOPINDEX, static_cast<WPARAM>(nChosen), 0);
        return;
    }
    const int nCount = static_cast<int>(SendMessageA(hwndControl, LB_GETCOUNT, 0, 0));
    RECT rect = {0, 0, 0, 0};
    SendMessageA(hwndControl, LB_GETITEMRECT, static_cast<WPARAM>(nChosen), reinterpret_cast<LPARAM>(&rect));
    MapWindowPoints(hwndControl, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    // Where every line has the same height, the lines but the last are
    // scrolled in one step (scrolling line by line costs a repaint of the
    // list box each, seconds for thousands of lines); the top index where
    // the walk ends is the same.
    const LONG_PTR nStyle = GetWindowLongPtrA(hwndControl, GWL_STYLE);
    const int nHeight = rect.bottom - rect.top;
    if (!(nStyle & LBS_OWNERDRAWVARIABLE) && nHeight > 0 && rect.bottom > window.bottom) {
        const int nLines = (rect.bottom - window.bottom + nHeight - 1) / nHeight;
        if (nLines > 1) {
            const int nTop = static_cast<int>(SendMessageA(hwndControl, LB_GETTOPINDEX, 0, 0));
            SendMessageA(hwndControl, LB_SETTOPINDEX, static_cast<WPARAM>(nTop + nLines - 1), 0);
            SendMessageA(hwndControl, LB_GETITEMRECT, static_cast<WPARAM>(nChosen), reinterpret_cast<LPARAM>(&rect));
            MapWindowPoints(hwndControl, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        }
    }
    // Then one line at a time. A list box that will not scroll further (one that
    // stops a page before the end, or an item taller than the window) ends
    // the loop as well as the last item reaching the top.
    for (int nSteps = 0; rect.bottom > window.bottom && nSteps < nCount; ++nSteps) {
        const int nTop = static_cast<int>(SendMessageA(hwndControl, LB_GETTOPINDEX, 0, 0));
        SendMessageA(hwndControl, LB_SETTOPINDEX, static_cast<WPARAM>(nTop + 1), 0);
        if (nTop >= nCount - 1) break;
        if (static_cast<int>(SendMessageA(hwndControl, LB_GETTOPINDEX, 0, 0)) == nTop) break;
        SendMessageA(hwndControl, LB_GETITEMRECT, static_cast<WPARAM>(nChosen), reinterpret_cast<LPARAM>(&rect));
        MapWindowPoints(hwndControl, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    }
}

bool CListBoxItemLocator::FindItem(HWND hwndControl, DWORD) {
    int nChosen = -1;
    if (!m_pszText || !m_pszText[0] || !HasItemTexts(hwndControl)) {
        // No text (an empty one included, which no list-box search can
        // find), or a list box without texts, whose searches compare item
        // data with the text's address (a text recorded from such a list
        // box is the bytes of its data): the recorded index, when the list
        // box has it.
        if (m_nIndex < 0 || m_nIndex >= GetItemCount(hwndControl)) return false;
        nChosen = m_nIndex;
    } else {
        nChosen = SearchByText(hwndControl);
        if (nChosen < 0) return false;
    }
    // Found by index too, the item is brought into view: a rectangle outside
    // the list box would point at something else.
    BringIntoView(hwndControl, nChosen);
    return SendMessageA(hwndControl, LB_GETITEMRECT, static_cast<WPARAM>(nChosen), reinterpret_cast<LPARAM>(&m_rect)) != LB_ERR;
}

const char* CListBoxItemLocator::GetDescription() { return SetDescription(MakeForm().fields.Description()); }

int CListBoxItemLocator::ListItems(HWND hwndControl, CItemListPage& page) {
    // A list box, or the list of a combo box.
    if (!IsControlOfKind(hwndControl, kItemKindListBox)) return -1;
    const int nCount = GetItemCount(hwndControl);
    if (nCount < 0) return -1;
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwndControl, &client);
    for (int i = page.First(); i < nCount && !page.Full(); ++i) {
        // A fresh locator per item: its form is the one a recording makes.
        CListBoxItemLocator item;
        item.m_nKind = m_nKind;
        item.LoadItem(hwndControl, i);
        ItemListEntry entry;
        entry.nIndex = i;
        RECT rect = {0, 0, 0, 0};
        if (SendMessageA(hwndControl, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
            SetRectEmpty(&rect);
        }
        entry.SetRect(rect);
        RECT shown;
        entry.dwFlags = ItemListEntry::kEnabled;
        if (IntersectRect(&shown, &rect, &client)) entry.dwFlags |= ItemListEntry::kVisible;
        if (SendMessageA(hwndControl, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) entry.dwFlags |= ItemListEntry::kSelected;
        if (item.m_pszText) entry.text = item.m_pszText;
        page.Add(entry, item);
    }
    return nCount;
}
