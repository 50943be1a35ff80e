#include "sample/SampleItemsWindow.h"

#include <cstdio>
#include <cstring>

#include "sample/SampleProtocol.h"

namespace {

struct DefaultNode {
    int id;
    int parentId;
    const char* text;
    int image;
    bool bLazy;
};

// The default tree of the protocol, parents before children.
const DefaultNode kDefaultTree[] = {
    {1, 0, "Documents", 0, false}, {2, 1, "Reports", 1, false}, {3, 2, "2025", 2, false},
    {4, 3, "Summary", 3, false},   {5, 3, "Budget", 3, false},  {6, 2, "2024", 2, false},
    {7, 1, "Letters", 1, false},   {8, 7, "Summary", 3, false}, {9, 0, "Projects", 0, false},
    {10, 9, "Alpha", 1, false},    {11, 10, "Summary", 3, false}, {12, 10, "Notes", 2, false},
    {13, 9, "Beta", 1, false},     {14, 13, "Plan", 2, false},  {15, 9, "Later", 1, true},
    {19, 0, "Archive", 0, false},  {20, 19, "Reports", 1, false}, {21, 20, "2025", 2, false},
    {22, 21, "Summary", 3, false},
};
const int kLaterId = 15;
const int kLaterFirstChildId = 16;
const int kLaterChildCount = 3;

const int kMaxGenerated = 10000;
const int kMaxChain = 2000;
const int kGeneratedFanOut = 10;
const int kGeneratedLevels = 5;

HWND Child(HWND parent, const char* cls, DWORD style, int x, int y, int w, int h, int id) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

std::string Format(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

// Depth-first: node, then its children, up to kGeneratedLevels levels.
void GenerateBelow(int level, int parentId, int count, int* pNext, std::vector<std::pair<int, int>>* pOrder) {
    for (int c = 0; c < kGeneratedFanOut && *pNext < count; ++c) {
        const int i = (*pNext)++;
        pOrder->push_back(std::make_pair(i, parentId));
        if (level + 1 < kGeneratedLevels) GenerateBelow(level + 1, i + 1, count, pNext, pOrder);
    }
}

}  // namespace

bool CSampleItemsWindow::Create(HWND owner) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = sample::kItemsClass;
    if (!RegisterClassA(&wc)) return false;
    m_hwnd = CreateWindowExA(0, sample::kItemsClass, sample::kItemsTitle, WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN,
                             sample::kItemsX, sample::kItemsY, sample::kItemsWidth, sample::kItemsHeight, owner, nullptr,
                             wc.hInstance, this);
    if (!m_hwnd) return false;
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(m_hwnd);
    return true;
}

void CSampleItemsWindow::CreateChildren() {
    RECT client;
    GetClientRect(m_hwnd, &client);
    const int width = client.right - 10;

    m_hwndToolbar = Child(m_hwnd, TOOLBARCLASSNAMEA,
                          TBSTYLE_FLAT | TBSTYLE_LIST | CCS_ADJUSTABLE | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE,
                          5, 5, width, 30, sample::kItemsToolbarId);
    SendMessageA(m_hwndToolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Narrow buttons, so that all nine fit the window's width.
    SendMessageA(m_hwndToolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SendMessageA(m_hwndToolbar, TB_SETPADDING, 0, MAKELPARAM(6, 6));
    FillToolbar(false);

    m_hwndTree = Child(m_hwnd, WC_TREEVIEWA, WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                       5, 40, width, 420, sample::kItemsTreeId);
    BuildDefaultTree(false, false);

    m_hwndList = Child(m_hwnd, "LISTBOX", WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                       5, 470, width, 300, sample::kItemsListBoxId);
    FillListBox(sample::kListBoxDefaultCount);

    m_hwndStatus = Child(m_hwnd, STATUSCLASSNAMEA, 0, 0, 0, 0, 0, sample::kItemsStatusId);
    const int parts[sample::kStatusPaneCount] = {80, 160, 220, -1};
    SendMessageA(m_hwndStatus, SB_SETPARTS, sample::kStatusPaneCount, reinterpret_cast<LPARAM>(parts));
    SetStatusTexts(0);
}

// ---- tree ---------------------------------------------------------------

void CSampleItemsWindow::ClearTree() {
    SendMessageA(m_hwndTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    m_nodes.clear();
}

HTREEITEM CSampleItemsWindow::AddNode(int id, int parentId, const std::string& text, int image, bool bFirst, bool bLazy) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parentId ? Node(static_cast<WPARAM>(parentId)) : TVI_ROOT;
    if (!insert.hParent) insert.hParent = TVI_ROOT;
    insert.hInsertAfter = bFirst ? TVI_FIRST : TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | (bLazy ? TVIF_CHILDREN : 0);
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = id;
    insert.item.cChildren = bLazy ? 1 : 0;
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(SendMessageA(m_hwndTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (id >= 0) {
        if (static_cast<size_t>(id) >= m_nodes.size()) m_nodes.resize(static_cast<size_t>(id) + 1, nullptr);
        m_nodes[static_cast<size_t>(id)] = hItem;
    }
    return hItem;
}

HTREEITEM CSampleItemsWindow::Node(WPARAM id) const { return id < m_nodes.size() ? m_nodes[id] : nullptr; }

void CSampleItemsWindow::BuildDefaultTree(bool bReversed, bool bDropTopLevel) {
    SendMessageA(m_hwndTree, WM_SETREDRAW, FALSE, 0);
    ClearTree();
    m_bReversed = bReversed;
    for (const DefaultNode& node : kDefaultTree) {
        if (bDropTopLevel && node.parentId == 0) continue;
        bool bParentIsRoot = false;
        for (const DefaultNode& parent : kDefaultTree) {
            if (parent.id == node.parentId && parent.parentId == 0) bParentIsRoot = true;
        }
        const int parentId = (bDropTopLevel && bParentIsRoot) ? 0 : node.parentId;
        AddNode(node.id, parentId, node.text, node.image, bReversed, node.bLazy);
    }
    for (HTREEITEM h = TreeView_GetRoot(m_hwndTree); h; h = TreeView_GetNextSibling(m_hwndTree, h)) {
        TreeView_Expand(m_hwndTree, h, TVE_EXPAND);
    }
    SendMessageA(m_hwndTree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hwndTree, nullptr, TRUE);
}

int CSampleItemsWindow::BuildGeneratedTree(int count) {
    if (count < 1 || count > kMaxGenerated) return 0;
    std::vector<std::pair<int, int>> order;  // (pre-order number, parent id)
    int next = 0;
    while (next < count) {
        const int i = next++;
        order.push_back(std::make_pair(i, 0));
        GenerateBelow(1, i + 1, count, &next, &order);
    }
    SendMessageA(m_hwndTree, WM_SETREDRAW, FALSE, 0);
    ClearTree();
    m_nodes.reserve(static_cast<size_t>(count) + 1);
    for (const auto& node : order) AddNode(node.first + 1, node.second, Format("Node %d", node.first), node.first % 4, false);
    SendMessageA(m_hwndTree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hwndTree, nullptr, TRUE);
    return count;
}

int CSampleItemsWindow::BuildChain(int depth) {
    if (depth < 1 || depth > kMaxChain) return 0;
    SendMessageA(m_hwndTree, WM_SETREDRAW, FALSE, 0);
    ClearTree();
    for (int level = 0; level < depth; ++level) AddNode(level + 1, level, Format("Level %d", level), level % 4, false);
    SendMessageA(m_hwndTree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hwndTree, nullptr, TRUE);
    return depth;
}

void CSampleItemsWindow::OnItemExpanding(const NMTREEVIEWA* info) {
    if (!(info->action & TVE_EXPAND) || info->itemNew.lParam != kLaterId) return;
    HTREEITEM hLater = Node(kLaterId);
    if (!hLater || TreeView_GetChild(m_hwndTree, hLater)) return;
    for (int c = 0; c < kLaterChildCount; ++c) {
        AddNode(kLaterFirstChildId + c, kLaterId, Format("Later %d", c + 1), 2, m_bReversed);
    }
}

void CSampleItemsWindow::CollapseAll(HTREEITEM hFirst) {
    for (HTREEITEM h = hFirst; h; h = TreeView_GetNextSibling(m_hwndTree, h)) {
        CollapseAll(TreeView_GetChild(m_hwndTree, h));
        TreeView_Expand(m_hwndTree, h, TVE_COLLAPSE);
    }
}

// ---- toolbar, list box, status bar -----------------------------------------

void CSampleItemsWindow::FillToolbar(bool bReversed) {
    while (SendMessageA(m_hwndToolbar, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(m_hwndToolbar, TB_DELETEBUTTON, 0, 0);
    struct Button {
        int id;
        const char* text;
    };
    const Button buttons[sample::kToolbarButtonCount] = {
        {sample::kCmdItemsNew, "New"}, {sample::kCmdItemsOpen, "Open"},  {sample::kCmdItemsSave, "Save"},
        {0, nullptr},                  {sample::kCmdItemsCut, "Cut"},    {sample::kCmdItemsCopy, "Copy"},
        {sample::kCmdItemsPaste, "Paste"}, {0, nullptr},                 {sample::kCmdItemsHelp, "Help"},
    };
    for (int k = 0; k < sample::kToolbarButtonCount; ++k) {
        const Button& b = buttons[bReversed ? sample::kToolbarButtonCount - 1 - k : k];
        TBBUTTON button = {};
        button.iBitmap = b.text ? I_IMAGENONE : 8;  // a separator's width
        button.idCommand = b.id;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = b.text ? (BTNS_BUTTON | BTNS_AUTOSIZE) : BTNS_SEP;
        button.dwData = static_cast<DWORD_PTR>(b.id);
        button.iString = b.text ? reinterpret_cast<INT_PTR>(b.text) : 0;
        SendMessageA(m_hwndToolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessageA(m_hwndToolbar, TB_AUTOSIZE, 0, 0);
    InvalidateRect(m_hwndToolbar, nullptr, TRUE);
}

void CSampleItemsWindow::FillListBox(int count) {
    SendMessageA(m_hwndList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_hwndList, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) {
        std::string text = Format("Entry %02d", i);
        switch (i) {
        case 5: text = "Apple"; break;
        case 12: text = "apple"; break;
        case 20: text = "Apple pie"; break;
        case 30: text = "Banana split"; break;
        case 45: text = "APPLE"; break;
        default: break;
        }
        SendMessageA(m_hwndList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    m_nListCount = count;
    SendMessageA(m_hwndList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hwndList, nullptr, TRUE);
}

void CSampleItemsWindow::SetStatusTexts(int generation) {
    std::string texts[sample::kStatusPaneCount];
    if (generation <= 0) {
        texts[0] = "Ready";
        texts[1] = "Line 1";
        texts[3] = Format("%d entries", m_nListCount);
    } else {
        texts[0] = Format("Busy %d", generation);
        texts[1] = Format("Line %d", generation + 1);
        texts[3] = Format("%d entries", generation);
    }
    for (int i = 0; i < sample::kStatusPaneCount; ++i) {
        SendMessageA(m_hwndStatus, SB_SETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(texts[i].c_str()));
    }
}

// ---- messages ---------------------------------------------------------------

LRESULT CSampleItemsWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    using namespace sample;
    switch (message) {
    case WM_CREATE:
        CreateChildren();
        return 0;
    case WM_SIZE:
        if (m_hwndStatus) SendMessageA(m_hwndStatus, WM_SIZE, 0, 0);
        return 0;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == m_hwndTree && (header->code == TVN_ITEMEXPANDINGA || header->code == TVN_ITEMEXPANDINGW)) {
            OnItemExpanding(reinterpret_cast<const NMTREEVIEWA*>(lParam));
        }
        // The toolbar lets its user move every button.
        if (header->hwndFrom == m_hwndToolbar && (header->code == TBN_QUERYINSERT || header->code == TBN_QUERYDELETE)) {
            return TRUE;
        }
        break;
    }
    case WM_CLOSE:
        return 0;  // closes with the frame
    }
    if (message == kMsgGetItemsControl) return reinterpret_cast<LRESULT>(GetDlgItem(m_hwnd, static_cast<int>(wParam)));
    if (message == kMsgTreeDefault) {
        BuildDefaultTree(false, false);
        return kTreeNodeCount;
    }
    if (message == kMsgTreeGenerate) return BuildGeneratedTree(wParam <= static_cast<WPARAM>(kMaxGenerated) ? static_cast<int>(wParam) : 0);
    if (message == kMsgTreeChain) return BuildChain(wParam <= static_cast<WPARAM>(kMaxChain) ? static_cast<int>(wParam) : 0);
    if (message == kMsgTreeReorder) {
        BuildDefaultTree(!m_bReversed, false);
        return 1;
    }
    if (message == kMsgTreeDropTopLevel) {
        BuildDefaultTree(false, true);
        return 1;
    }
    if (message == kMsgTreeCollapseAll) {
        CollapseAll(TreeView_GetRoot(m_hwndTree));
        return 1;
    }
    if (message == kMsgTreeSetImage) {
        HTREEITEM h = Node(wParam);
        if (!h) return 0;
        TVITEMA item = {};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.hItem = h;
        item.iImage = item.iSelectedImage = static_cast<int>(lParam);
        return SendMessageA(m_hwndTree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
    }
    if (message == kMsgTreeSetLongText) {
        HTREEITEM h = Node(wParam);
        if (!h || lParam < 1 || lParam > 4000) return 0;
        std::string text(static_cast<size_t>(lParam), 'L');
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = h;
        item.pszText = &text[0];
        return SendMessageA(m_hwndTree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
    }
    if (message == kMsgTreeSelect) {
        if (wParam == 0) return TreeView_SelectItem(m_hwndTree, nullptr) ? 1 : 0;
        HTREEITEM h = Node(wParam);
        return h && TreeView_SelectItem(m_hwndTree, h) ? 1 : 0;
    }
    if (message == kMsgTreeGetItem) return reinterpret_cast<LRESULT>(Node(wParam));
    if (message == kMsgTreeIsExpanded) {
        HTREEITEM h = Node(wParam);
        return h && (TreeView_GetItemState(m_hwndTree, h, TVIS_EXPANDED) & TVIS_EXPANDED) ? 1 : 0;
    }
    if (message == kMsgToolbarReverse) {
        // Moved one by one, as a user would drag them.
        const int count = static_cast<int>(SendMessageA(m_hwndToolbar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count - 1; ++i) SendMessageA(m_hwndToolbar, TB_MOVEBUTTON, static_cast<WPARAM>(count - 1), static_cast<LPARAM>(i));
        SendMessageA(m_hwndToolbar, TB_AUTOSIZE, 0, 0);
        InvalidateRect(m_hwndToolbar, nullptr, TRUE);
        return 1;
    }
    if (message == kMsgToolbarDefault) {
        FillToolbar(false);
        return 1;
    }
    if (message == kMsgListBoxFill) {
        if (wParam > 100000) return 0;
        FillListBox(static_cast<int>(wParam));
        return 1;
    }
    if (message == kMsgListBoxGetTop) return SendMessageA(m_hwndList, LB_GETTOPINDEX, 0, 0);
    if (message == kMsgListBoxSetTop) return SendMessageA(m_hwndList, LB_SETTOPINDEX, wParam, 0) != LB_ERR ? 1 : 0;
    if (message == kMsgStatusChange) {
        SetStatusTexts(static_cast<int>(wParam));
        return 1;
    }
    return DefWindowProcA(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CSampleItemsWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CSampleItemsWindow* self = reinterpret_cast<CSampleItemsWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<CSampleItemsWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}
