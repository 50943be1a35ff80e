#include "tests/locators/ControlBed.h"

#include <commctrl.h>
#include <cstdio>

CControlBed::CControlBed() : m_hwndFrame(nullptr), m_hwndList(nullptr), m_hwndPlain(nullptr) {}

CControlBed::~CControlBed() {}

bool CControlBed::Create(int itemCount) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HMENU bar = CreateMenu();
    const char* names[] = {"&File", "&Edit", "&View", "&Help"};
    for (const char* name : names) AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), name);
    m_frame.Reset(CreateWindowExA(0, "STATIC", "Locator bed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 600, 400,
                                  nullptr, bar, nullptr, nullptr));
    m_plain.Reset(CreateWindowExA(0, "STATIC", "No menu", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 60, 200, 200,
                                  nullptr, nullptr, nullptr, nullptr));
    m_hwndFrame = m_frame.Get();
    m_hwndPlain = m_plain.Get();
    if (!m_hwndFrame || !m_hwndPlain) return false;
    RECT client;
    GetClientRect(m_hwndFrame, &client);
    m_hwndList = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
                                 client.right, client.bottom, m_hwndFrame, reinterpret_cast<HMENU>(1001), nullptr, nullptr);
    if (!m_hwndList) return false;
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 4, 0);
    for (int i = 0; i < 4; ++i) {
        CWindowDC screen(nullptr);
        COwnedGdiObject bmp(CreateCompatibleBitmap(screen.Get(), 16, 16));
        ImageList_Add(images, static_cast<HBITMAP>(bmp.Get()), nullptr);
    }
    SendMessageA(m_hwndList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 200;
    column.pszText = const_cast<char*>("Name");
    SendMessageA(m_hwndList, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    Fill(itemCount);
    UpdateWindow(m_hwndFrame);
    return true;
}

void CControlBed::Fill(int itemCount) {
    SendMessageA(m_hwndList, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < itemCount; ++i) {
        char text[32];
        if (i == 10 || i == 20 || i == 30) std::snprintf(text, sizeof(text), "Twin");
        else std::snprintf(text, sizeof(text), "Item %04d", i);
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        item.pszText = text;
        item.iImage = i % 4;
        item.lParam = i;
        SendMessageA(m_hwndList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void CControlBed::SetImage(int index, int image) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = image;
    SendMessageA(m_hwndList, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void CControlBed::Select(int index) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = index >= 0 ? LVIS_SELECTED : 0;
    SendMessageA(m_hwndList, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

RECT CControlBed::ItemRect(int index, int part) const {
    RECT r = {};
    r.left = part;
    SendMessageA(m_hwndList, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

RECT CControlBed::MenuItemScreenRect(int position) const {
    RECT r = {};
    GetMenuItemRect(m_hwndFrame, Menu(), static_cast<UINT>(position), &r);
    return r;
}

