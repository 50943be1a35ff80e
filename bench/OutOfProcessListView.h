// The way a controller without the agent finds a list-view item by its
// text: an item record and a text buffer allocated in the target with
// VirtualAllocEx, then per item LVM_GETITEMA and ReadProcessMemory of the
// record and of the text; the found item is scrolled into view and its
// rectangle read the same way.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/Owned.h"

// The index of the first item with this text, -1 if none; *rect its
// rectangle (client coordinates of the list view).
inline int FindListViewItemOutOfProcess(HANDLE process, HWND list, const std::string& text, RECT* rect) {
    const SIZE_T bufferSize = 256;
    CRemoteMemory memory(process, sizeof(LVITEMA) + bufferSize);
    BYTE* remote = static_cast<BYTE*>(memory.Get());
    if (!remote) return -1;
    char* remoteText = reinterpret_cast<char*>(remote + sizeof(LVITEMA));
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    int found = -1;
    char local[256];
    for (int i = 0; i < count && found < 0; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = remoteText;
        item.cchTextMax = static_cast<int>(bufferSize);
        SIZE_T done = 0;
        WriteProcessMemory(process, remote, &item, sizeof(item), &done);
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &item, sizeof(item), &done);
        ReadProcessMemory(process, item.pszText, local, sizeof(local), &done);
        local[sizeof(local) - 1] = '\0';
        if (text == local) found = i;
    }
    if (found >= 0) {
        RECT r = {LVIR_BOUNDS, 0, 0, 0};
        SIZE_T done = 0;
        SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(found), 0);
        WriteProcessMemory(process, remote, &r, sizeof(r), &done);
        SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(found), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, rect, sizeof(*rect), &done);
    }
    return found;
}
