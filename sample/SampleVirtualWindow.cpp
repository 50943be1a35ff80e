#include "sample/SampleVirtualWindow.h"

#include <cstdio>
#include <cstring>

#include "sample/SampleProtocol.h"

namespace {

const int kTwinRows[] = {10, 20, 30};
const char kTwinText[] = "Twin";
const int kPairLines[] = {7, 70};
const char kPairText[] = "Pair";
const int kLineHeight = 18;

HWND Child(HWND parent, DWORD exStyle, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
           int id) {
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

bool IsTwinRow(int row) {
    for (int twin : kTwinRows) {
        if (row == twin) return true;
    }
    return false;
}

// "<prefix><number, at least digits wide>", without the C library's
// formatting: the application's own find scans a million of these.
void FormatNumbered(const char* prefix, long long value, int digits, char* buffer, size_t size) {
    char reversed[24];
    int n = 0;
    unsigned long long v = value < 0 ? 0 : static_cast<unsigned long long>(value);
    do {
        reversed[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v && n < 20);
    while (n < digits && n < 20) reversed[n++] = '0';
    size_t at = 0;
    for (const char* p = prefix; *p && at + 1 < size; ++p) buffer[at++] = *p;
    while (n > 0 && at + 1 < size) buffer[at++] = reversed[--n];
    if (size) buffer[at < size ? at : size - 1] = '\0';
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Equal, or text begins with wanted when bPartial; ASCII letters without case.
bool TextMatches(const char* text, const char* wanted, bool bPartial) {
    for (;; ++text, ++wanted) {
        if (!*wanted) return bPartial || !*text;
        if (AsciiUpper(*text) != AsciiUpper(*wanted)) return false;
    }
}

std::string Narrow(const wchar_t* text) {
    if (!text) return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], size, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(size - 1));
    return narrow;
}

}  // namespace

bool CSampleVirtualWindow::Create(HWND owner, int rows, int lines) {
    m_nRows = rows;
    m_nLines = lines;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = sample::kVirtualClass;
    if (!RegisterClassA(&wc)) return false;
    m_hwnd = CreateWindowExA(0, sample::kVirtualClass, sample::kVirtualTitle, WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN,
                             sample::kVirtualX, sample::kVirtualY, sample::kVirtualWidth, sample::kVirtualHeight, owner,
                             nullptr, wc.hInstance, this);
    if (!m_hwnd) return false;
    ShowWindow(m_hwnd, SW_SHOW);
    UpdateWindow(m_hwnd);
    return true;
}

void CSampleVirtualWindow::CreateChildren() {
    CreateToolbar();
    m_pImages.reset(new CSampleImages());
    m_hwndList = Child(m_hwnd, WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                       LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 10, 40, 520, 380, sample::kVirtualListId);
    SendMessageA(m_hwndList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageA(m_hwndList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_pImages->Small()));
    const char* columns[] = {"Name", "Value"};
    for (int c = 0; c < 2; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns[c]);
        column.cx = c == 0 ? 260 : 200;
        column.iSubItem = c;
        SendMessageA(m_hwndList, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    SetRows(m_nRows);

    m_hwndStrings = Child(m_hwnd, WS_EX_CLIENTEDGE, "LISTBOX", "",
                          LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 540, 40,
                          150, 380, sample::kVirtualStringsListId);
    m_hwndData = Child(m_hwnd, WS_EX_CLIENTEDGE, "LISTBOX", "",
                       LBS_OWNERDRAWFIXED | LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 700, 40, 140, 380,
                       sample::kVirtualDataListId);
    FillLines(m_nLines, false);
    CreateGroupedList();
}

void CSampleVirtualWindow::CreateToolbar() {
    m_hwndToolbar = Child(m_hwnd, 0, TOOLBARCLASSNAMEA, "",
                          TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN, 5, 5, 400, 30,
                          sample::kVirtualToolbarId);
    SendMessageA(m_hwndToolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(m_hwndToolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    // The pool: texts separated by zeros, two zeros at the end.
    static const char kPool[] = "Alpha\0Beta\0Gamma\0";
    const LRESULT first = SendMessageA(m_hwndToolbar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(kPool));
    const int commands[sample::kVirtualToolbarButtonCount] = {sample::kCmdVirtualAlpha, sample::kCmdVirtualBeta,
                                                              sample::kCmdVirtualGamma};
    for (int k = 0; k < sample::kVirtualToolbarButtonCount; ++k) {
        TBBUTTON button = {};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = commands[k];
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
        button.dwData = static_cast<DWORD_PTR>(commands[k]);
        button.iString = static_cast<INT_PTR>(first + k);  // an index into the pool
        SendMessageA(m_hwndToolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessageA(m_hwndToolbar, TB_AUTOSIZE, 0, 0);
}

void CSampleVirtualWindow::CreateGroupedList() {
    // The group box first: a later sibling lies below it in the z-order, so
    // the group box covers the list view for anyone who asks the z-order
    // alone which window is at a point.
    HWND group = Child(m_hwnd, 0, "BUTTON", "Files", BS_GROUPBOX, 10, 430, 520, 190, sample::kVirtualGroupBoxId);
    HWND list = Child(m_hwnd, WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", LVS_REPORT | LVS_SHOWSELALWAYS, 20, 450, 500, 160,
                      sample::kVirtualGroupListId);
    SetWindowPos(group, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>("File");
    column.cx = 300;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < sample::kVirtualGroupListItems; ++i) {
        char text[32];
        FormatNumbered("File ", i, 2, text, sizeof(text));
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = text;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

// ---- owner-data list ----------------------------------------------------------

void CSampleVirtualWindow::SetRows(int rows) {
    m_nRows = rows;
    SendMessageA(m_hwndList, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), LVSICF_NOSCROLL);
    InvalidateRect(m_hwndList, nullptr, TRUE);
}

void CSampleVirtualWindow::RowText(int row, int column, char* buffer, size_t size) const {
    if (column == 0 && IsTwinRow(row)) {
        lstrcpynA(buffer, kTwinText, static_cast<int>(size));
        return;
    }
    const long long shown = static_cast<long long>(row) + m_nOffset;
    if (column == 0) {
        FormatNumbered("Row ", shown, 7, buffer, size);
    } else {
        FormatNumbered("Value ", shown * 7, 1, buffer, size);
    }
}

int CSampleVirtualWindow::RowImage(int row) const {
    return static_cast<int>((static_cast<long long>(row) + (IsTwinRow(row) ? 0 : m_nOffset)) % 4);
}

void CSampleVirtualWindow::FillDisplayInfo(LVITEMA& item) {
    if (item.iItem < 0 || item.iItem >= m_nRows) return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        ++m_nTextCount;
        RowText(item.iItem, item.iSubItem, item.pszText, static_cast<size_t>(item.cchTextMax));
    }
    if (item.mask & LVIF_IMAGE) item.iImage = RowImage(item.iItem);
}

void CSampleVirtualWindow::FillDisplayInfo(LVITEMW& item) {
    if (item.iItem < 0 || item.iItem >= m_nRows) return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        ++m_nTextCount;
        char text[64];
        RowText(item.iItem, item.iSubItem, text, sizeof(text));
        MultiByteToWideChar(CP_ACP, 0, text, -1, item.pszText, item.cchTextMax);
        item.pszText[item.cchTextMax - 1] = L'\0';
    }
    if (item.mask & LVIF_IMAGE) item.iImage = RowImage(item.iItem);
}

int CSampleVirtualWindow::FindRow(const char* wanted, bool bPartial, int start, bool bWrap) const {
    if (start < 0 || start >= m_nRows) start = 0;
    char text[64];
    for (int pass = 0; pass < (bWrap ? 2 : 1); ++pass) {
        const int from = pass == 0 ? start : 0;
        const int to = pass == 0 ? m_nRows : start;
        for (int row = from; row < to; ++row) {
            RowText(row, 0, text, sizeof(text));
            if (TextMatches(text, wanted, bPartial)) return row;
        }
    }
    return -1;
}

LRESULT CSampleVirtualWindow::AnswerFind(int start, const char* wanted, UINT flags) {
    ++m_nFindCount;
    switch (m_nFindMode) {
    case 1: return 0;  // as a window that does not handle the notification
    case 2: return -1;
    case 3: return start + 1 < m_nRows ? start + 1 : 0;
    }
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL)) || !wanted) return -1;
    return FindRow(wanted, (flags & LVFI_PARTIAL) != 0, start, (flags & LVFI_WRAP) != 0);
}

LRESULT CSampleVirtualWindow::OnNotify(const NMHDR* header) {
    if (header->hwndFrom != m_hwndList) return 0;
    switch (header->code) {
    case LVN_GETDISPINFOA:
        FillDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header))->item);
        return 0;
    case LVN_GETDISPINFOW:
        FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header))->item);
        return 0;
    case LVN_ODFINDITEMA: {
        const NMLVFINDITEMA* find = reinterpret_cast<const NMLVFINDITEMA*>(header);
        return AnswerFind(find->iStart, find->lvfi.psz, find->lvfi.flags);
    }
    case LVN_ODFINDITEMW: {
        const NMLVFINDITEMW* find = reinterpret_cast<const NMLVFINDITEMW*>(header);
        const std::string wanted = Narrow(find->lvfi.psz);
        return AnswerFind(find->iStart, find->lvfi.psz ? wanted.c_str() : nullptr, find->lvfi.flags);
    }
    }
    return 0;
}

// ---- owner-drawn list boxes ---------------------------------------------------

void CSampleVirtualWindow::FillLines(int count, bool bReversed) {
    m_nLines = count;
    m_bLinesReversed = bReversed;
    for (HWND list : {m_hwndStrings, m_hwndData}) {
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * 12);
    }
    m_swatches.clear();
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<Swatch> swatch(new Swatch());
        char name[32];
        FormatNumbered("Swatch ", i, 1, name, sizeof(name));
        swatch->name = name;
        swatch->colour = RGB((i * 53) & 0xFF, (i * 97) & 0xFF, (i * 151) & 0xFF);
        m_swatches.push_back(std::move(swatch));
    }
    for (int k = 0; k < count; ++k) {
        const int i = bReversed ? count - 1 - k : k;
        char text[32];
        bool bPair = false;
        for (int pair : kPairLines) bPair = bPair || pair == i;
        if (bPair) {
            lstrcpynA(text, kPairText, sizeof(text));
        } else {
            FormatNumbered("Line ", i, 5, text, sizeof(text));
        }
        SendMessageA(m_hwndStrings, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        // Without LBS_HASSTRINGS the "string" is the item's data.
        SendMessageA(m_hwndData, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_swatches[static_cast<size_t>(i)].get()));
    }
    for (HWND list : {m_hwndStrings, m_hwndData}) {
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
}

void CSampleVirtualWindow::DrawLine(const DRAWITEMSTRUCT* draw) const {
    if (draw->itemID == static_cast<UINT>(-1)) return;
    const bool bSelected = (draw->itemState & ODS_SELECTED) != 0;
    FillRect(draw->hDC, &draw->rcItem, GetSysColorBrush(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(draw->hDC, TRANSPARENT);
    SetTextColor(draw->hDC, GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = draw->rcItem;
    text.left += 4;
    if (draw->hwndItem == m_hwndStrings) {
        char line[64] = {0};
        const LRESULT length = SendMessageA(draw->hwndItem, LB_GETTEXTLEN, draw->itemID, 0);
        if (length >= 0 && length < static_cast<LRESULT>(sizeof(line))) {
            SendMessageA(draw->hwndItem, LB_GETTEXT, draw->itemID, reinterpret_cast<LPARAM>(line));
        }
        DrawTextA(draw->hDC, line, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        return;
    }
    const Swatch* swatch = reinterpret_cast<const Swatch*>(draw->itemData);
    if (!swatch) return;
    HBRUSH brush = CreateSolidBrush(swatch->colour);
    RECT box = {text.left, text.top + 3, text.left + 12, text.bottom - 3};
    FillRect(draw->hDC, &box, brush);
    DeleteObject(brush);
    text.left += 18;
    DrawTextA(draw->hDC, swatch->name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// ---- messages -----------------------------------------------------------------

LRESULT CSampleVirtualWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    using namespace sample;
    switch (message) {
    case WM_CREATE:
        CreateChildren();
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kLineHeight;
        return TRUE;
    case WM_DRAWITEM:
        DrawLine(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_DESTROY:
        m_pImages.reset();
        return 0;
    }
    if (message == kMsgVirtualSetRows) {
        if (wParam < 1 || wParam > static_cast<WPARAM>(kVirtualMaxRows)) return 0;
        SetRows(static_cast<int>(wParam));
        return 1;
    }
    if (message == kMsgVirtualSetOffset) {
        if (wParam > static_cast<WPARAM>(kVirtualMaxRows)) return 0;
        m_nOffset = static_cast<int>(wParam);
        InvalidateRect(m_hwndList, nullptr, TRUE);
        return 1;
    }
    if (message == kMsgVirtualSelect) {
        const int row = static_cast<int>(static_cast<INT_PTR>(wParam));
        LVITEMA clear = {};
        clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(m_hwndList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
        if (row < 0) return 1;
        if (row >= m_nRows) return 0;
        LVITEMA select = {};
        select.state = select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(m_hwndList, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&select));
        return 1;
    }
    if (message == kMsgVirtualFindMode) {
        if (wParam > 3) return 0;
        m_nFindMode = static_cast<int>(wParam);
        return 1;
    }
    if (message == kMsgVirtualCount) {
        if (wParam == 0) return m_nFindCount;
        if (wParam == 1) return m_nTextCount;
        m_nFindCount = m_nTextCount = 0;
        return 0;
    }
    if (message == kMsgVirtualFillLines) {
        if (wParam > static_cast<WPARAM>(kVirtualMaxLines)) return 0;
        FillLines(static_cast<int>(wParam), false);
        return 1;
    }
    if (message == kMsgVirtualReverseLines) {
        FillLines(m_nLines, !m_bLinesReversed);
        return 1;
    }
    if (message == kMsgVirtualListBoxTop) {
        HWND list = GetDlgItem(m_hwnd, static_cast<int>(wParam));
        if (list != m_hwndStrings && list != m_hwndData) return LB_ERR;
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(lParam), 0);
        return SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    }
    if (message == kMsgVirtualScrollTop) {
        SendMessageA(m_hwndList, LVM_ENSUREVISIBLE, 0, FALSE);
        return 1;
    }
    return DefWindowProcA(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CSampleVirtualWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CSampleVirtualWindow* self = reinterpret_cast<CSampleVirtualWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<CSampleVirtualWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}
