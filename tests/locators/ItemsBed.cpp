#include "tests/locators/ItemsBed.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "requests/RequestHandlers.h"
#include "sample/SampleItemsWindow.h"

namespace {
CSampleItemsWindow* g_pWindow = nullptr;

void Handle(void (*handler)(MSG&), HWND control) {
    MSG msg = {};
    msg.hwnd = control;
    msg.wParam = 0;  // no reply window: the reply notification goes nowhere
    handler(msg);
    PumpMessages();
}
}  // namespace

HWND ItemsWindow() {
    if (!g_pWindow) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        g_pWindow = new CSampleItemsWindow();  // lives as long as the program
        if (!g_pWindow->Create(nullptr)) return nullptr;
        PumpMessages();
    }
    return g_pWindow->Window();
}

HWND ItemsControl(int id) { return GetDlgItem(ItemsWindow(), id); }

LRESULT ItemsMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = SendMessageA(ItemsWindow(), message, wParam, lParam);
    PumpMessages();
    return result;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

RECT ToScreen(HWND control, RECT rect) {
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

CRecordBed::CRecordBed(size_t size) : m_nSize(size) {
    m_mapping.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(size),
                                       "TavmorAgentMapFile"));
    if (m_mapping) m_view.Reset(MapViewOfFile(m_mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, size));
}

CWireCursor CRecordBed::Begin() {
    if (!Ok()) return CWireCursor();
    std::memset(View(), 0, m_nSize);
    CWireCursor w(View(), View() + m_nSize);
    w.WriteU32(0x12345678);
    return w;
}

void CRecordBed::LocateItem(HWND control) { Handle(OnLocateItem, control); }
void CRecordBed::GetItemRect(HWND control) { Handle(OnGetItemRect, control); }
void CRecordBed::InfoProbe(HWND control) { Handle(OnInfoProbe, control); }

bool CRecordBed::Reply(CWireCursor& cursor) const {
    if (!Ok()) return false;
    cursor = CWireCursor(View(), View() + m_nSize);
    return cursor.ReadU32() == 0;
}

ItemAtReply CRecordBed::ItemAt(HWND control, int kind, POINT point) {
    ItemAtReply reply;
    CWireCursor w = Begin();
    w.WriteU32(static_cast<uint32_t>(kind)).WriteI32(point.x).WriteI32(point.y).WriteU32(0);
    if (!w.Ok()) return reply;
    GetItemRect(control);
    CWireCursor r;
    if (!Reply(r)) return reply;
    reply.index = r.ReadI32();
    reply.rect.left = r.ReadI32();
    reply.rect.top = r.ReadI32();
    reply.rect.right = r.ReadI32();
    reply.rect.bottom = r.ReadI32();
    reply.ok = r.Ok();
    return reply;
}

std::string RectText(const RECT& r) {
    char text[96];
    std::snprintf(text, sizeof(text), "(%ld,%ld)-(%ld,%ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right), static_cast<long>(r.bottom));
    return text;
}
