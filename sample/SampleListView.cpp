#include "sample/SampleListView.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

bool CSampleListView::Create(HWND parent, int id, const RECT& r, bool icons, HIMAGELIST small,
                             HIMAGELIST large) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_SHOWSELALWAYS |
                  (icons ? LVS_ICON : LVS_REPORT);
    m_hwnd = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleA(nullptr), nullptr);
    if (!m_hwnd) return false;
    SendMessageA(m_hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageA(m_hwnd, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
    const char* names[] = {"Name", "Size", "Kind"};
    const int widths[] = {220, 90, 110};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = const_cast<char*>(names[c]);
        col.cx = widths[c];
        col.iSubItem = c;
        SendMessageA(m_hwnd, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
    return true;
}

SampleListItem CSampleListView::MakeItem(int i) {
    SampleListItem item;
    char text[32];
    if (i == 10 || i == 20 || i == 30) {
        item.text = "Twin";
    } else {
        std::snprintf(text, sizeof(text), "Item %04d", i);
        item.text = text;
    }
    item.nImage = i % 4;
    item.nSize = (i * 37) % 1000;
    return item;
}

void CSampleListView::Fill(int count, const std::string& order) {
    m_items.clear();
    for (int i = 0; i < count; ++i) m_items.push_back(MakeItem(i));
    if (order == "reversed") {
        std::reverse(m_items.begin(), m_items.end());
    } else if (order.compare(0, 9, "shuffled:") == 0) {
        Shuffle(static_cast<unsigned>(std::strtoul(order.c_str() + 9, nullptr, 10)));
        return;
    }
    Show();
}

void CSampleListView::Reverse() {
    std::reverse(m_items.begin(), m_items.end());
    Show();
}

void CSampleListView::Shuffle(unsigned seed) {
    // A small linear congruential generator keeps the order the same on every run.
    unsigned state = seed * 2654435761u + 1;
    for (size_t i = m_items.size(); i > 1; --i) {
        state = state * 1103515245u + 12345u;
        std::swap(m_items[i - 1], m_items[(state >> 8) % i]);
    }
    Show();
}

void CSampleListView::InsertFront(int count) {
    std::vector<SampleListItem> front;
    for (int i = 0; i < count; ++i) {
        char text[32];
        std::snprintf(text, sizeof(text), "New %04d", m_nInserted++);
        front.push_back({text, 3, 1});
    }
    m_items.insert(m_items.begin(), front.begin(), front.end());
    Show();
}

void CSampleListView::Show() {
    SendMessageA(m_hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_hwnd, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(m_hwnd, LVM_SETITEMCOUNT, m_items.size(), 0);
    static const char* kinds[] = {"Document", "Picture", "Archive"};
    for (size_t i = 0; i < m_items.size(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(m_items[i].text.c_str());
        item.iImage = m_items[i].nImage;
        int at = static_cast<int>(SendMessageA(m_hwnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        char size[32];
        std::snprintf(size, sizeof(size), "%d KB", m_items[i].nSize);
        LVITEMA sub = {};
        sub.iSubItem = 1;
        sub.pszText = size;
        SendMessageA(m_hwnd, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&sub));
        sub.iSubItem = 2;
        sub.pszText = const_cast<char*>(kinds[m_items[i].nSize % 3]);
        SendMessageA(m_hwnd, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&sub));
    }
    SendMessageA(m_hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

bool CSampleListView::SetImage(int index, int image) {
    if (index < 0 || index >= static_cast<int>(m_items.size()) || image < 0 || image > 3) return false;
    m_items[index].nImage = image;
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = image;
    return SendMessageA(m_hwnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

bool CSampleListView::Rename(int index, const std::string& text) {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return false;
    m_items[index].text = text;
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(m_items[index].text.c_str());
    return SendMessageA(m_hwnd, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

bool CSampleListView::Select(int index) {
    if (index < -1 || index >= static_cast<int>(m_items.size())) return false;
    LVITEMA clear = {};
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    if (index < 0) return true;
    LVITEMA set = {};
    set.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    set.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_hwnd, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&set));
    SendMessageA(m_hwnd, LVM_ENSUREVISIBLE, index, FALSE);
    return true;
}

void CSampleListView::SetIconView(bool icons) {
    LONG_PTR style = GetWindowLongPtrA(m_hwnd, GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | (icons ? LVS_ICON : LVS_REPORT);
    SetWindowLongPtrA(m_hwnd, GWL_STYLE, style);
    SendMessageA(m_hwnd, LVM_ARRANGE, LVA_DEFAULT, 0);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void CSampleListView::ScrollToTop() {
    if (!m_items.empty()) SendMessageA(m_hwnd, LVM_ENSUREVISIBLE, 0, FALSE);
}
