#include "sample/SampleTabs.h"

#include <vector>

#include "common/Owned.h"
#include "sample/SampleProtocol.h"

namespace {

const int kImageSize = 16;
const COLORREF kImageColours[] = {RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 40, 200), RGB(200, 160, 0)};

struct TabSpec {
    const char* text;
    int image;
};

// The tab control procedure, kept for the control whose tabs report no text.
WNDPROC g_pfnTabProc = nullptr;

// Answers every tab fetch without a text pointer, as controls that keep no
// texts for their tabs do.
LRESULT CALLBACK TextlessTabProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcA(g_pfnTabProc, hwnd, message, wParam, lParam);
    if ((message == TCM_GETITEMA || message == TCM_GETITEMW) && lParam) {
        TCITEMA* item = reinterpret_cast<TCITEMA*>(lParam);
        if (item->mask & TCIF_TEXT) item->pszText = nullptr;
    }
    return result;
}

std::vector<TabSpec> SpecsOf(int controlId) {
    using namespace sample;
    switch (controlId) {
    case kTabTextId:
        return {{"Alpha", 0}, {"Beta", 1}, {"Twin", 2}, {"Gamma", 3}, {"Twin", 2}, {"ALPHA", 1}};
    case kTabNoTextId: return {{"", 0}, {"", 1}, {"", 2}, {"", 1}};
    case kTabButtonsId:
    case kTabFixedId: return {{"One", 0}, {"Two", 1}, {"Three", 2}, {"Four", 3}};
    case kTabSingleId: return {{"Only", 0}};
    }
    return {};
}

HIMAGELIST BuildImages() {
    HIMAGELIST list = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24, 4, 0);
    if (!list) return nullptr;
    CWindowDC screen(nullptr);
    for (COLORREF colour : kImageColours) {
        COwnedGdiObject bitmap(CreateCompatibleBitmap(screen.Get(), kImageSize, kImageSize));
        COwnedMemoryDC dc(CreateCompatibleDC(screen.Get()));
        if (!bitmap || !dc) continue;
        {
            CSelectedObject selected(dc.Get(), bitmap.Get());
            COwnedGdiObject brush(CreateSolidBrush(colour));
            RECT r = {0, 0, kImageSize, kImageSize};
            FillRect(dc.Get(), &r, static_cast<HBRUSH>(brush.Get()));
        }
        ImageList_Add(list, static_cast<HBITMAP>(bitmap.Get()), nullptr);
    }
    return list;
}

}  // namespace

CSampleTabs::~CSampleTabs() {
    if (m_hImages) ImageList_Destroy(m_hImages);
}

void CSampleTabs::Create(HWND parent, int y) {
    using namespace sample;
    m_hwndParent = parent;
    m_hImages = BuildImages();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    struct Layout {
        int id;
        DWORD style;
        int x, y, w, h;
    };
    const Layout layouts[] = {
        {kTabTextId, 0, 10, y, 880, 60},
        {kTabNoTextId, 0, 10, y + 66, 300, 60},
        {kTabButtonsId, TCS_BUTTONS | TCS_FIXEDWIDTH, 320, y + 66, 200, 24},
        {kTabFixedId, TCS_FIXEDWIDTH, 530, y + 66, 240, 24},
        {kTabSingleId, 0, 780, y + 66, 110, 24},
    };
    for (const Layout& l : layouts) {
        HWND tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | l.style, l.x, l.y,
                                   l.w, l.h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(l.id)), instance,
                                   nullptr);
        if (!tab) continue;
        SendMessageA(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_hImages));
        if (l.style & TCS_FIXEDWIDTH) SendMessageA(tab, TCM_SETITEMSIZE, 0, MAKELPARAM(60, 22));
        if (l.id == kTabNoTextId) {
            g_pfnTabProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(tab, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextlessTabProc)));
        }
        Fill(l.id);
    }
}

HWND CSampleTabs::Control(int controlId) const { return GetDlgItem(m_hwndParent, controlId); }

void CSampleTabs::Fill(int controlId) {
    HWND tab = Control(controlId);
    if (!tab) return;
    SendMessageA(tab, TCM_DELETEALLITEMS, 0, 0);
    const std::vector<TabSpec> specs = SpecsOf(controlId);
    for (size_t i = 0; i < specs.size(); ++i) {
        TCITEMA item = {};
        item.mask = TCIF_IMAGE;
        item.iImage = specs[i].image;
        if (specs[i].text[0]) {
            item.mask |= TCIF_TEXT;
            item.pszText = const_cast<char*>(specs[i].text);
        }
        SendMessageA(tab, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(tab, TCM_SETCURSEL, 0, 0);
}

void CSampleTabs::Reset() {
    using namespace sample;
    for (int id : {kTabTextId, kTabNoTextId, kTabButtonsId, kTabFixedId, kTabSingleId}) Fill(id);
}

bool CSampleTabs::SetImage(int controlId, int index, int image) {
    HWND tab = Control(controlId);
    if (!tab) return false;
    TCITEMA item = {};
    item.mask = TCIF_IMAGE;
    item.iImage = image;
    return SendMessageA(tab, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

bool CSampleTabs::Reverse(int controlId) {
    HWND tab = Control(controlId);
    if (!tab) return false;
    const int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    struct Saved {
        std::string text;
        int image;
    };
    std::vector<Saved> saved;
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        // Asked of the control's own procedure: the textless one hides texts.
        if (g_pfnTabProc && controlId == sample::kTabNoTextId) {
            CallWindowProcA(g_pfnTabProc, tab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        } else {
            SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
        text[sizeof(text) - 1] = '\0';
        saved.push_back({item.pszText ? item.pszText : "", item.iImage});
    }
    SendMessageA(tab, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < count; ++i) {
        const Saved& s = saved[static_cast<size_t>(count - 1 - i)];
        TCITEMA item = {};
        item.mask = TCIF_IMAGE;
        item.iImage = s.image;
        if (!s.text.empty()) {
            item.mask |= TCIF_TEXT;
            item.pszText = const_cast<char*>(s.text.c_str());
        }
        SendMessageA(tab, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(tab, TCM_SETCURSEL, 0, 0);
    return true;
}

bool CSampleTabs::SetCurrent(int controlId, int index) {
    HWND tab = Control(controlId);
    if (!tab) return false;
    SendMessageA(tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    return true;
}

bool CSampleTabs::Rename(int controlId, int index, const std::string& text) {
    HWND tab = Control(controlId);
    if (!tab) return false;
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text.c_str());
    return SendMessageA(tab, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}
