#include "sample/SampleItemReads.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

namespace {

const int kTextSize = 256;

bool IsClass(HWND hwnd, const char* className) {
    char name[64] = {0};
    return GetClassNameA(hwnd, name, sizeof(name)) && lstrcmpiA(name, className) == 0;
}

// Text, image, parameter and state; the rectangle and the state once more;
// the text of every further column.
void ReadListView(HWND list) {
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    char text[kTextSize];
    for (int i = 0; i < count; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
        item.iItem = i;
        item.stateMask = LVIS_SELECTED;
        item.pszText = text;
        item.cchTextMax = kTextSize;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        RECT rect = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
        SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), 0xFFFF);
        for (int column = 1; column < columns; ++column) {
            LVITEMA sub = {};
            sub.iSubItem = column;
            sub.pszText = text;
            sub.cchTextMax = kTextSize;
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sub));
        }
    }
}

HTREEITEM Next(HWND tree, UINT code, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

// Every node in pre-order: its record and text (with its state), its text
// rectangle, its first child and next sibling.
void ReadTree(HWND tree) {
    char text[kTextSize];
    std::vector<HTREEITEM> stack;
    for (HTREEITEM item = Next(tree, TVGN_ROOT, nullptr); item;) {
        TVITEMA record = {};
        record.mask = 0x7F | TVIF_HANDLE;
        record.hItem = item;
        record.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
        record.pszText = text;
        record.cchTextMax = kTextSize;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&record));
        RECT rect = {};
        std::memcpy(&rect, &item, sizeof(item));
        SendMessageA(tree, TVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));
        HTREEITEM child = Next(tree, TVGN_CHILD, item);
        if (child) {
            stack.push_back(item);
            item = child;
            continue;
        }
        HTREEITEM next = Next(tree, TVGN_NEXT, item);
        while (!next && !stack.empty()) {
            next = Next(tree, TVGN_NEXT, stack.back());
            stack.pop_back();
        }
        item = next;
    }
}

// Text, rectangle and selection of every item.
void ReadListBox(HWND list) {
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    std::vector<char> text;
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) continue;
        text.assign(static_cast<size_t>(length) + 1 + sizeof(ULONG_PTR), '\0');
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        RECT rect = {};
        SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
        SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0);
    }
}

}  // namespace

LRESULT TimeOwnItemReads(HWND control) {
    DWORD process = 0;
    GetWindowThreadProcessId(control, &process);
    if (process != GetCurrentProcessId()) return 0;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (IsClass(control, WC_LISTVIEWA)) {
        ReadListView(control);
    } else if (IsClass(control, WC_TREEVIEWA)) {
        ReadTree(control);
    } else if (IsClass(control, "ListBox")) {
        ReadListBox(control);
    } else {
        return 0;
    }
    QueryPerformanceCounter(&end);
    const LONGLONG micros = (end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
    return static_cast<LRESULT>(micros > 0 ? micros : 1);
}
