#include "sample/SampleFrame.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "sample/SampleAccessibilityWindow.h"
#include "sample/SampleMenuBar.h"
#include "sample/SampleOptionsDialog.h"
#include "sample/SampleProtocol.h"
#include "sample/SampleResources.h"

namespace {

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

LRESULT CALLBACK PlainChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Registers a plain child class once.
void RegisterChildClass(const char* name, int colour) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainChildProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(colour);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

}  // namespace

bool CSampleFrame::Create(const SampleCommandLine& options) {
    m_options = options;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = sample::kFrameClass;
    if (!RegisterClassA(&wc)) return false;
    const std::string title = options.title.empty() ? sample::kDefaultTitle : options.title;
    HMENU menu = CSampleMenuBar::Build(options.bMenuExtra);
    m_hwnd = CreateWindowExA(0, sample::kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                             options.x, options.y, 900, 700, nullptr, menu, wc.hInstance, this);
    if (!m_hwnd) return false;
    ShowWindow(m_hwnd, SW_SHOW);
    UpdateWindow(m_hwnd);
    if (options.bDialog) m_hwndDialog = CSampleOptionsDialog::Create(m_hwnd, options.x + 920, options.y);
    m_items.Create(m_hwnd);
    CSampleAccessibilityWindow::CreateFor(m_hwnd);
    if (options.bVirtual) m_virtual.Create(m_hwnd, options.nVirtualRows, options.nVirtualLines);
    return true;
}

void CSampleFrame::CreateChildren() {
    m_pImages.reset(new CSampleImages());
    RECT listRect = {0, 0, 600, 450};
    m_list.Create(m_hwnd, sample::kListViewId, listRect, m_options.bIcons, m_pImages->Small(), m_pImages->Large());
    m_list.Fill(m_options.nItems, m_options.order);

    // Three levels: frame > panel > group > edit.
    RegisterChildClass(sample::kPanelClass, COLOR_3DLIGHT);
    RegisterChildClass(sample::kGroupClass, COLOR_WINDOW);
    HWND panel = Child(m_hwnd, sample::kPanelClass, "Panel", WS_BORDER, 610, 0, 270, 120, sample::kPanelId);
    HWND group = Child(panel, sample::kGroupClass, "Group", WS_BORDER, 5, 5, 255, 105, sample::kGroupId);
    Child(group, "EDIT", "three levels down", WS_BORDER | ES_AUTOHSCROLL, 5, 5, 220, 24, sample::kDeepEditId);

    HWND scroll = Child(m_hwnd, "SCROLLBAR", "", SBS_HORZ, 610, 130, 260, 18, sample::kScrollBarId);
    SetScrollRange(scroll, SB_CTL, 0, 250, TRUE);
    HWND track = Child(m_hwnd, TRACKBAR_CLASSA, "", TBS_HORZ, 610, 160, 260, 32, sample::kTrackbarId);
    SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(5, 95));

    // The class name's last fields change from run to run, as generated
    // class names of some frameworks do.
    char afx[96];
    std::snprintf(afx, sizeof(afx), "%s%08lX:%08lX:%08lX", sample::kAfxClassPrefix,
                  static_cast<unsigned long>(GetCurrentProcessId()), static_cast<unsigned long>(GetTickCount()),
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(m_hwnd) & 0xFFFFFFFF));
    RegisterChildClass(afx, COLOR_INFOBK);
    Child(m_hwnd, afx, "Afx child", WS_BORDER, 610, 200, 260, 60, sample::kAfxChildId);

    m_hwndStatus = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                   m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(sample::kStatusId)),
                                   GetModuleHandleA(nullptr), nullptr);
    int parts[3] = {200, 450, -1};
    SendMessageA(m_hwndStatus, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    SendMessageA(m_hwndStatus, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Ready"));
    SendMessageA(m_hwndStatus, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("Items"));
    SendMessageA(m_hwndStatus, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>("Sample"));
}

LRESULT CSampleFrame::OnCopyData(const COPYDATASTRUCT* data) {
    if (!data || !data->lpData || data->cbData == 0 || data->cbData > 4096) return 0;
    // The text need not be terminated inside the block; take at most cbData bytes.
    const char* text = static_cast<const char*>(data->lpData);
    std::string s(text, strnlen(text, data->cbData));
    if (data->dwData >= sample::kCopyDataMenuBase) {
        return CSampleMenuBar::Rename(m_hwnd, static_cast<int>(data->dwData - sample::kCopyDataMenuBase), s) ? 1 : 0;
    }
    return m_list.Rename(static_cast<int>(data->dwData), s) ? 1 : 0;
}

namespace {
// The descendant with an id (an enumeration callback: the 32-bit build
// wants the standard calling convention, which a lambda does not have).
struct ChildSearch {
    LONG id;
    HWND found;
};

BOOL CALLBACK FindChildById(HWND child, LPARAM lParam) {
    ChildSearch* pSearch = reinterpret_cast<ChildSearch*>(lParam);
    if (GetWindowLongA(child, GWL_ID) != pSearch->id) return TRUE;
    pSearch->found = child;
    return FALSE;
}
}  // namespace

LRESULT CSampleFrame::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    using namespace sample;
    switch (message) {
    case WM_CREATE:
        CreateChildren();
        return 0;
    case WM_SIZE:
        if (m_hwndStatus) SendMessageA(m_hwndStatus, WM_SIZE, 0, 0);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kCmdExit: DestroyWindow(m_hwnd); return 0;
        case kCmdIcons: m_list.SetIconView(true); return 0;
        case kCmdReport: m_list.SetIconView(false); return 0;
        }
        break;
    case WM_COPYDATA:
        return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == static_cast<UINT_PTR>(kListViewId)) {
            const int index = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
            if (header->code == NM_CLICK) RememberClick(kClickSourceList, index, kClickLeft);
            if (header->code == NM_DBLCLK) RememberClick(kClickSourceList, index, kClickDouble);
            if (header->code == NM_RCLICK) RememberClick(kClickSourceList, index, kClickRight);
        }
        break;
    }
    case WM_INITMENUPOPUP:
        // A menu of the bar opens: its position, unless it is the system menu.
        if (!HIWORD(lParam)) RememberClick(kClickSourceMenuBar, LOWORD(lParam), kClickLeft);
        break;
    case WM_DESTROY:
        m_pImages.reset();
        PostQuitMessage(0);
        return 0;
    }
    if (message == kMsgReverseItems) { m_list.Reverse(); return 1; }
    if (message == kMsgSetImage) return m_list.SetImage(static_cast<int>(wParam), static_cast<int>(lParam)) ? 1 : 0;
    if (message == kMsgSelectItem) return m_list.Select(static_cast<int>(static_cast<INT_PTR>(wParam))) ? 1 : 0;
    if (message == kMsgSetView) { m_list.SetIconView(wParam == 1); return 1; }
    if (message == kMsgSetItemCount) {
        if (wParam > 100000) return 0;
        m_list.Fill(static_cast<int>(wParam), "forward");
        return 1;
    }
    if (message == kMsgInsertFront) {
        if (wParam > 10000) return 0;
        m_list.InsertFront(static_cast<int>(wParam));
        return 1;
    }
    if (message == kMsgShuffle) { m_list.Shuffle(static_cast<unsigned>(wParam)); return 1; }
    if (message == kMsgScrollTop) { m_list.ScrollToTop(); return 1; }
    if (message == kMsgToggleExtraMenu) { CSampleMenuBar::ToggleTools(m_hwnd); return 1; }
    if (message == kMsgGetControl) return reinterpret_cast<LRESULT>(GetDlgItem(m_hwnd, static_cast<int>(wParam)));
    if (message == kMsgGetDialog) return reinterpret_cast<LRESULT>(m_hwndDialog);
    if (message == kMsgGetLastClick) return m_lastClick;
    if (message == kMsgCountResources) return wParam <= 4 ? CSampleResources::Count(static_cast<SampleResource>(wParam)) : 0;
    if (message == kMsgFetchOwnObjects) {
        return wParam <= 10000 ? CSampleResources::FetchOwnObjects(static_cast<unsigned>(wParam)) : 0;
    }
    if (message == kMsgLeak) {
        if (wParam > 10000) return 0;
        CSampleResources::Leak(static_cast<unsigned>(wParam));
        return 1;
    }
    if (message == kMsgDestroyControl) {
        ChildSearch search = {static_cast<LONG>(wParam), nullptr};
        EnumChildWindows(m_hwnd, FindChildById, reinterpret_cast<LPARAM>(&search));
        if (!search.found) return 0;
        DestroyWindow(search.found);  // the message's whole point: the control goes
        return 1;
    }
    if (message == kMsgEcho) {
        PostMessageA(reinterpret_cast<HWND>(wParam), kMsgEcho, 0, lParam);
        return 1;
    }
    if (message == kMsgClearLastClick) {
        m_lastClick = 0;
        return 1;
    }
    if (message == kMsgStall) {
        // A target that is busy: its thread retrieves nothing meanwhile.
        Sleep(static_cast<DWORD>(wParam > 60000 ? 60000 : wParam));
        return 1;
    }
    if (message == kMsgGetItemsWindow) return reinterpret_cast<LRESULT>(m_items.Window());
    if (message == kMsgGetVirtualWindow) return reinterpret_cast<LRESULT>(m_virtual.Window());
    return DefWindowProcA(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CSampleFrame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CSampleFrame* self = reinterpret_cast<CSampleFrame*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<CSampleFrame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

void CSampleFrame::RememberClick(int source, int index, int button) {
    m_lastClick = (static_cast<LRESULT>(button) << 24) | (static_cast<LRESULT>(source) << 16) | (index & 0xFFFF);
}
