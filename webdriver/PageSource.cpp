// Builds the page source's nodes from the window tree and the snapshots of
// the controls' items, and writes them as XML.
#include "webdriver/PageSource.h"

#include <commctrl.h>

#include <cstring>
#include <unordered_map>

#include "client/ItemKindChoice.h"
#include "common/Owned.h"
#include "forms/ItemKinds.h"
#include "webdriver/WindowCommands.h"

namespace {

const size_t kMaxWindowText = 4096;
const UINT kTextTimeoutMs = 300;
const int kMaxWindowDepth = 64;
// MN_GETHMENU: the menu of an open popup menu's window.
const UINT kMenuOfMenuWindow = 0x01E1;
// A list view with this many items is searched by name by the control
// itself; the page that brings one found item stays small.
const DWORD_PTR kNamedSearchFrom = 200;
const uint32_t kNamedPageBudget = 4096;

struct KindTag {
    int kind;
    const char* tag;
};
const KindTag kKindTags[] = {
    {0, "Window"},
    {kItemKindMenuBar, "MenuBarItem"},
    {kItemKindToolbar, "ToolbarButton"},
    {kItemKindPopupMenu, "PopupMenuItem"},
    {kItemKindListView, "ListViewItem"},
    {kItemKindTree, "TreeItem"},
    {kItemKindListBox, "ListBoxItem"},
    {kItemKindTab, "TabItem"},
    {kItemKindStatusBar, "StatusBarPane"},
    {kItemKindAccessible, "Accessible"},
    {kItemKindScrollingAccessible, "Accessible"},
};

const char* BoolText(bool b) { return b ? "True" : "False"; }

void AppendEscaped(std::string& out, const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        // U+FFFE and U+FFFF are no XML characters either: U+FFFD stands in.
        if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
            (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE) {
            out += "\xEF\xBF\xBD";
            i += 2;
            continue;
        }
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default:
            // Control characters cannot stand in XML 1.0 at all.
            if (c >= 0x20) out += static_cast<char>(c);
            break;
        }
    }
}

bool WantsKind(const PageSourceOptions& options, int kind) {
    return kind > 0 && kind < 32 && (options.kinds & (1u << kind)) != 0;
}

}  // namespace

const char* ItemKindTag(int kind) {
    for (const KindTag& entry : kKindTags) {
        if (entry.kind == kind) return entry.tag;
    }
    return "Item";
}

int ItemKindOfTag(const std::string& tag) {
    for (const KindTag& entry : kKindTags) {
        if (tag == entry.tag) return entry.kind;
    }
    return -1;
}

std::wstring Utf8ToWide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    return wide;
}

std::string WideToUtf8(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
    if (n <= 0) return std::string();
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], n, nullptr, nullptr);
    return utf8;
}

std::string AnsiToUtf8(const std::string& ansi) {
    if (ansi.empty()) return ansi;
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (n <= 0) return std::string();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], n);
    return WideToUtf8(wide);
}

// The text the system keeps for the window (its caption), without asking
// the application: for a window whose thread does not answer.
std::string KeptWindowTextUtf8(HWND hwnd) {
    std::wstring text(kMaxWindowText + 1, L'\0');
    const int n = InternalGetWindowText(hwnd, &text[0], static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return WideToUtf8(text);
}

std::string WindowTextUtf8(HWND hwnd) {
    DWORD_PTR nLength = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &nLength)) {
        return KeptWindowTextUtf8(hwnd);
    }
    if (nLength > kMaxWindowText) nLength = kMaxWindowText;
    std::wstring text(static_cast<size_t>(nLength) + 1, L'\0');
    DWORD_PTR nCopied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                             kTextTimeoutMs, &nCopied)) {
        return KeptWindowTextUtf8(hwnd);
    }
    text.resize(nCopied < text.size() ? static_cast<size_t>(nCopied) : text.size() - 1);
    return WideToUtf8(text);
}

std::string WindowClassUtf8(HWND hwnd) {
    wchar_t szClass[257] = {0};
    const int n = GetClassNameW(hwnd, szClass, 256);
    return n > 0 ? WideToUtf8(std::wstring(szClass, static_cast<size_t>(n))) : std::string();
}

const std::vector<std::string>& NodeAttributeNames() {
    static const std::vector<std::string> names = {
        "Name",  "ClassName", "AutomationId", "NativeWindowHandle", "Index",     "IsEnabled",            "IsSelected",
        "IsOffscreen", "x",   "y",            "width",              "height",    "RuntimeId", "LocalizedControlType",
        "Value"};
    return names;
}

bool NodeAttribute(const PageNode& node, const std::string& name, std::string* pValue) {
    const bool bAccessible = node.kind == kItemKindAccessible || node.kind == kItemKindScrollingAccessible;
    if (name == "Name") *pValue = node.name;
    else if (name == "ClassName") *pValue = node.className;
    else if (name == "AutomationId") *pValue = node.automationId;
    else if (name == "NativeWindowHandle") *pValue = WindowHandleText(node.window);
    else if (name == "Index") *pValue = std::to_string(node.index);
    else if (name == "IsEnabled") *pValue = BoolText(node.enabled);
    else if (name == "IsSelected") *pValue = BoolText(node.selected);
    else if (name == "IsOffscreen") *pValue = BoolText(node.offscreen);
    else if (name == "x") *pValue = std::to_string(node.screen.left);
    else if (name == "y") *pValue = std::to_string(node.screen.top);
    else if (name == "width") *pValue = std::to_string(node.screen.right - node.screen.left);
    else if (name == "height") *pValue = std::to_string(node.screen.bottom - node.screen.top);
    else if (name == "RuntimeId") *pValue = node.runtimeId;
    else if (name == "LocalizedControlType" && bAccessible) *pValue = AnsiToUtf8(node.item.role);
    else if (name == "Value" && bAccessible) *pValue = AnsiToUtf8(node.item.value);
    else return false;
    return true;
}

PageNode MakeWindowNode(HWND hwnd) {
    PageNode node;
    node.tag = "Window";
    node.window = hwnd;
    node.name = WindowTextUtf8(hwnd);
    node.className = WindowClassUtf8(hwnd);
    if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) node.automationId = std::to_string(GetDlgCtrlID(hwnd));
    node.runtimeId = WindowHandleText(hwnd);
    node.enabled = IsWindowEnabled(hwnd) != FALSE;
    GetWindowRect(hwnd, &node.screen);
    node.offscreen = !IsWindowVisible(hwnd) || IsRectEmpty(&node.screen);
    return node;
}

int CPageSource::WindowsUnder(int parent) const {
    if (parent < 0) return 0;
    int n = 0;
    for (int child : m_nodes[static_cast<size_t>(parent)].children) {
        if (m_nodes[static_cast<size_t>(child)].kind == 0) ++n;
    }
    return n;
}

int CPageSource::Push(PageNode node) {
    const int n = static_cast<int>(m_nodes.size());
    if (node.parent >= 0) m_nodes[static_cast<size_t>(node.parent)].children.push_back(n);
    m_byRuntimeId.emplace(node.runtimeId, n);
    m_nodes.push_back(std::move(node));
    if (m_visit && m_visit(m_nodes.back())) m_bStopped = true;
    return n;
}

bool CPageSource::Build(CAgentClient& client, HWND root, const PageSourceOptions& options, const NodeVisitor& visit,
                        std::string* pError) {
    m_nodes.clear();
    m_byRuntimeId.clear();
    m_options = options;
    if (!m_options.hookedThread) m_options.hookedThread = GetWindowThreadProcessId(root, nullptr);
    m_visit = visit;
    m_nWindows = 0;
    m_bStopped = false;
    if (!IsWindow(root)) {
        *pError = "the window is gone";
        return false;
    }
    if (!AddWindow(client, root, -1, 0, pError)) return false;
    // An open popup menu is a top-level window of its own; it shows under
    // the top-level window whose application opened it.
    if (!m_bStopped && !(GetWindowLongA(root, GWL_STYLE) & WS_CHILD)) {
        AddPopupMenus(client, root, 0, pError);
    }
    return true;
}

bool CPageSource::BuildItems(CAgentClient& client, HWND control, int kind, uint32_t factoryArgument,
                             const PageSourceOptions& options, std::string* pError) {
    m_nodes.clear();
    m_byRuntimeId.clear();
    m_options = options;
    m_options.kinds = 0xFFFFFFFFu;
    m_options.hookedThread = 0;
    m_visit = nullptr;
    m_nWindows = 0;
    m_bStopped = false;
    PageNode holder;
    holder.tag = "Window";
    holder.window = control;
    holder.runtimeId = WindowHandleText(control);
    Push(std::move(holder));
    return AddItems(client, control, kind, factoryArgument, 0, pError);
}

bool CPageSource::AddWindow(CAgentClient& client, HWND hwnd, int parent, int depth, std::string* pError) {
    if (m_bStopped || m_nWindows >= m_options.maxWindows) return true;
    ++m_nWindows;
    PageNode node = MakeWindowNode(hwnd);
    node.index = WindowsUnder(parent);
    node.parent = parent;
    const int self = Push(std::move(node));
    if (m_bStopped) return true;

    HWND target = hwnd;
    const int kind = ChooseItemKind(hwnd, nullptr, &target);
    if (kind != kItemKindPopupMenu && WantsKind(m_options, kind)) {
        if (!AddItems(client, target, kind, 0, self, pError)) return false;
    }
    if (depth >= kMaxWindowDepth) return true;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child && !m_bStopped; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        if (!AddWindow(client, child, self, depth + 1, pError)) return false;
    }
    return true;
}

bool CPageSource::AddItems(CAgentClient& client, HWND target, int kind, uint32_t factoryArgument, int parent,
                           std::string* pError) {
    // Only the thread the agent is hooked on answers; the others' controls
    // show as windows without items.
    if (m_options.hookedThread && GetWindowThreadProcessId(target, nullptr) != m_options.hookedThread) return true;
    SnapshotResult snapshot;
    if (m_options.indexFilter >= 0 && (kind == kItemKindListView || kind == kItemKindListBox)) {
        snapshot = ReadIndexedItem(client, target, kind);
    } else if (!(m_options.bNameFilter && kind == kItemKindListView &&
                 ReadNamedListViewItems(client, target, &snapshot))) {
        SnapshotOptions snapshotOptions;
        snapshotOptions.depth = m_options.accessibleDepth;
        snapshotOptions.maxItems = m_options.maxItemsPerControl;
        snapshotOptions.factoryArgument = factoryArgument;
        snapshot = ReadItemSnapshot(client, target, kind, snapshotOptions, m_options.requestTimeoutMs);
    }
    m_status = snapshot.status;
    if (snapshot.status != AgentStatus::Ok) {
        *pError = std::string("reading the items of window ") + WindowHandleText(target) +
                  " failed: " + AgentStatusText(snapshot.status);
        return false;
    }
    if (snapshot.served) PushItems(target, kind, factoryArgument, parent, snapshot);
    return true;
}

bool CPageSource::ReadNamedListViewItems(CAgentClient& client, HWND listView, SnapshotResult* pSnapshot) {
    DWORD_PTR nCount = 0;
    if (!SendMessageTimeoutW(listView, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &nCount) ||
        nCount < kNamedSearchFrom) {
        return false;
    }
    // The search record goes into the application's memory, laid out as a
    // process of our own width lays it out.
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(listView, &dwProcess);
    COwnedHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
                                     dwProcess));
    BOOL bTheirs32 = FALSE, bOurs32 = FALSE;
    if (!process || !IsWow64Process(process.Get(), &bTheirs32) || !IsWow64Process(GetCurrentProcess(), &bOurs32) ||
        bTheirs32 != bOurs32) {
        return false;
    }
    const std::wstring wanted = Utf8ToWide(m_options.nameFilter);
    const size_t nBytes = sizeof(LVFINDINFOW) + (wanted.size() + 1) * sizeof(wchar_t);
    CRemoteMemory remote(process.Get(), nBytes);
    if (!remote) return false;
    std::vector<BYTE> record(nBytes, 0);
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = reinterpret_cast<LPCWSTR>(static_cast<BYTE*>(remote.Get()) + sizeof(LVFINDINFOW));
    std::memcpy(record.data(), &find, sizeof(find));
    std::memcpy(record.data() + sizeof(find), wanted.c_str(), (wanted.size() + 1) * sizeof(wchar_t));
    SIZE_T nWritten = 0;
    if (!WriteProcessMemory(process.Get(), remote.Get(), record.data(), nBytes, &nWritten) || nWritten != nBytes) {
        return false;
    }
    pSnapshot->status = AgentStatus::Ok;
    pSnapshot->served = true;
    pSnapshot->total = static_cast<uint32_t>(nCount);
    // The control compares without regard to case; the snapshot's entry
    // says whether the text is the same.
    LONG_PTR nFrom = -1;
    for (size_t nFound = 0; nFound < m_options.maxItemsPerControl && !m_bStopped; ++nFound) {
        DWORD_PTR nIndex = 0;
        if (!SendMessageTimeoutW(listView, LVM_FINDITEMW, static_cast<WPARAM>(nFrom),
                                 reinterpret_cast<LPARAM>(remote.Get()), SMTO_ABORTIFHUNG, m_options.requestTimeoutMs,
                                 &nIndex)) {
            return false;
        }
        const LONG_PTR nAt = static_cast<LONG_PTR>(static_cast<int>(nIndex));
        if (nAt < 0 || nAt <= nFrom) break;
        nFrom = nAt;
        SnapshotOptions pageOptions;
        pageOptions.pageBudget = kNamedPageBudget;
        uint32_t nNext = 0;
        SnapshotResult page = ReadItemSnapshotPage(client, listView, kItemKindListView, pageOptions,
                                                   static_cast<uint32_t>(nAt), &nNext, m_options.requestTimeoutMs);
        if (page.status != AgentStatus::Ok) {
            pSnapshot->status = page.status;
            return true;
        }
        for (SnapshotItem& item : page.items) {
            if (item.index == static_cast<int>(nAt) && AnsiToUtf8(item.text) == m_options.nameFilter) {
                pSnapshot->items.push_back(std::move(item));
                break;
            }
        }
    }
    return true;
}

SnapshotResult CPageSource::ReadIndexedItem(CAgentClient& client, HWND control, int kind) {
    SnapshotOptions pageOptions;
    pageOptions.pageBudget = kNamedPageBudget;
    uint32_t nNext = 0;
    SnapshotResult page = ReadItemSnapshotPage(client, control, kind, pageOptions,
                                               static_cast<uint32_t>(m_options.indexFilter), &nNext,
                                               m_options.requestTimeoutMs);
    SnapshotResult snapshot;
    snapshot.status = page.status;
    snapshot.served = page.served;
    snapshot.total = page.total;
    for (SnapshotItem& item : page.items) {
        if (item.index == m_options.indexFilter) {
            snapshot.items.push_back(std::move(item));
            break;
        }
    }
    return snapshot;
}

void CPageSource::PushItems(HWND target, int kind, uint32_t factoryArgument, int parent, SnapshotResult& snapshot) {
    const bool bAccessible = kind == kItemKindAccessible || kind == kItemKindScrollingAccessible;
    const bool bCommands = kind == kItemKindMenuBar || kind == kItemKindToolbar || kind == kItemKindPopupMenu;
    // Children by the parent each entry names (an entry's index, or -1);
    // a parent that is missing or not before its child makes a root.
    std::unordered_map<int, size_t> position;
    std::vector<std::vector<size_t>> children(snapshot.items.size());
    std::vector<size_t> roots;
    for (size_t i = 0; i < snapshot.items.size(); ++i) {
        const SnapshotItem& item = snapshot.items[i];
        // The window's own object is the Window node already, and an object
        // with no name, role, value or children (the platform's bare window
        // objects) gives nothing to find it by; the former's children hang
        // under the Window node.
        if (bAccessible && (item.level == 0 || (item.text.empty() && item.role.empty() && item.value.empty() &&
                                                 item.childCount <= 0))) {
            continue;
        }
        auto found = position.find(item.parent);
        if (item.parent >= 0 && found != position.end()) {
            children[found->second].push_back(i);
        } else {
            roots.push_back(i);
        }
        position.emplace(item.index, i);
    }
    // Depth first in entry order, without recursion (a tree can be deep).
    struct Pending {
        size_t entry;
        int parentNode;
    };
    std::vector<Pending> stack;
    for (auto it = roots.rbegin(); it != roots.rend(); ++it) stack.push_back({*it, parent});
    while (!stack.empty() && !m_bStopped) {
        const Pending next = stack.back();
        stack.pop_back();
        SnapshotItem& item = snapshot.items[next.entry];
        PageNode node;
        node.tag = ItemKindTag(kind);
        node.window = target;
        node.kind = kind;
        node.factoryArgument = factoryArgument;
        node.name = AnsiToUtf8(item.text);
        node.className = node.tag;
        node.automationId = std::to_string(bCommands ? item.commandId : item.index);
        node.runtimeId = WindowHandleText(target) + "." + std::to_string(kind) + "." + std::to_string(item.index);
        node.index = item.index;
        node.enabled = item.enabled;
        node.selected = item.selected;
        node.offscreen = !item.visible;
        node.screen = ItemRectOnScreen(target, kind, item.rect);
        node.parent = next.parentNode;
        node.item = std::move(item);
        if (bAccessible && node.item.form.nKind == 0) node.item.form.nKind = kind;
        const int self = Push(std::move(node));
        const std::vector<size_t>& mine = children[next.entry];
        for (auto it = mine.rbegin(); it != mine.rend(); ++it) stack.push_back({*it, self});
    }
}

void CPageSource::AddPopupMenus(CAgentClient& client, HWND root, int parent, std::string* pError) {
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(root, &dwProcess);
    HWND menu = nullptr;
    while (!m_bStopped && (menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr) {
        DWORD dwMenuProcess = 0;
        GetWindowThreadProcessId(menu, &dwMenuProcess);
        if (dwMenuProcess != dwProcess || !IsWindowVisible(menu)) continue;
        DWORD_PTR hMenu = 0;
        if (!SendMessageTimeoutA(menu, kMenuOfMenuWindow, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &hMenu) || !hMenu) {
            continue;
        }
        PageNode node;
        node.tag = "Window";
        node.window = menu;
        node.className = WindowClassUtf8(menu);
        node.runtimeId = WindowHandleText(menu);
        node.index = WindowsUnder(parent);
        GetWindowRect(menu, &node.screen);
        node.parent = parent;
        const int self = Push(std::move(node));
        std::string error;
        if (!m_bStopped && WantsKind(m_options, kItemKindPopupMenu)) {
            AddItems(client, menu, kItemKindPopupMenu, static_cast<uint32_t>(hMenu), self, &error);
        }
        if (!error.empty() && pError->empty()) *pError = error;
    }
}

std::string CPageSource::Xml(int from) const {
    std::string out;
    if (from < 0 || static_cast<size_t>(from) >= m_nodes.size()) return out;
    out.reserve(m_nodes.size() * 256);
    WriteNode(from, 0, out);
    return out;
}

void CPageSource::WriteNode(int first, int baseDepth, std::string& out) const {
    // Iterative: a deep tree must not exhaust the stack.
    struct Step {
        int node;
        int depth;
        bool closing;
    };
    std::vector<Step> stack = {{first, baseDepth, false}};
    while (!stack.empty()) {
        const Step step = stack.back();
        stack.pop_back();
        const PageNode& node = m_nodes[static_cast<size_t>(step.node)];
        out.append(static_cast<size_t>(step.depth) * 2, ' ');
        if (step.closing) {
            out += "</" + node.tag + ">\n";
            continue;
        }
        out += "<" + node.tag;
        for (const std::string& name : NodeAttributeNames()) {
            std::string value;
            if (!NodeAttribute(node, name, &value)) continue;
            out += " " + name + "=\"";
            AppendEscaped(out, value);
            out += "\"";
        }
        if (node.children.empty()) {
            out += "/>\n";
            continue;
        }
        out += ">\n";
        stack.push_back({step.node, step.depth, true});
        for (auto it = node.children.rbegin(); it != node.children.rend(); ++it) {
            stack.push_back({*it, step.depth + 1, false});
        }
    }
}

int CPageSource::FindRuntimeId(const std::string& runtimeId) const {
    auto found = m_byRuntimeId.find(runtimeId);
    return found == m_byRuntimeId.end() ? -1 : found->second;
}

bool CPageSource::IsDescendant(int node, int ancestor) const {
    if (node < 0 || static_cast<size_t>(node) >= m_nodes.size()) return false;
    for (int p = m_nodes[static_cast<size_t>(node)].parent; p >= 0; p = m_nodes[static_cast<size_t>(p)].parent) {
        if (p == ancestor) return true;
    }
    return false;
}
