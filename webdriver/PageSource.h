// The page source of a window: the window, its visible child windows
// nested, and under each control its items read with the snapshot request
// (menu-bar items under a window with a menu bar, open popup menus of the
// process under the top-level window, tree items and accessible objects
// nested by level). One node per element, in document order; the XML
// written from the nodes is what GET source returns and what XPath runs
// over.
//
// Element names: Window, and each item kind's tag (ItemKindTag). Attributes:
// Name, ClassName, AutomationId, NativeWindowHandle, Index, IsEnabled,
// IsSelected, IsOffscreen, x, y, width, height (screen), RuntimeId (unique
// in one source: the window handle, and for an item ".kind.index" after
// it), and for accessible objects LocalizedControlType (the role text) and
// Value.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "client/AgentClient.h"
#include "client/ItemSnapshot.h"

// One element of the page source.
struct PageNode {
    std::string tag;              // "Window", "ListViewItem", ...
    HWND window = nullptr;        // the window; for an item, the window its requests go to
    int kind = 0;                 // 0 for a window, else the item's kind
    uint32_t factoryArgument = 0; // the popup menu's handle for popup-menu items
    SnapshotItem item;            // for an item: what the snapshot said, its recorded form included
    std::string name;             // UTF-8
    std::string className;
    std::string automationId;
    std::string runtimeId;
    int index = 0;
    bool enabled = true, selected = false, offscreen = false;
    RECT screen = {0, 0, 0, 0};
    int parent = -1;              // node number, -1 for the root
    std::vector<int> children;    // node numbers
};

struct PageSourceOptions {
    // Item kinds to read, as bits (1u << kind); 0 reads windows only.
    uint32_t kinds = 0xFFFFFFFFu;
    int accessibleDepth = 8;
    // The thread the client's agent is hooked on: only its windows are asked
    // for items (0: the root window's thread).
    DWORD hookedThread = 0;
    DWORD requestTimeoutMs = CAgentClient::kDefaultTimeoutMs;
    // When set, only items whose Name is this text are wanted: a long list
    // view then gives just those, found by the control itself
    // (LVM_FINDITEM) instead of read item by item. Other kinds are read
    // whole. For finds by name; a page source never sets it.
    bool bNameFilter = false;
    std::string nameFilter;
    // When 0 or more, only items whose AutomationId is this index are
    // wanted: list views and list boxes then give just the item at that
    // index (one page read from there). For finds by accessibility id.
    int indexFilter = -1;
    // Bounds that keep a hostile or huge application from running away.
    size_t maxWindows = 5000;
    size_t maxItemsPerControl = 200000;
};

class CPageSource {
public:
    // Called for each node as it is added, in document order; returning
    // true stops the building there (a find that wants the first match).
    using NodeVisitor = std::function<bool(const PageNode&)>;

    // Builds the tree of root (a window). The items come through client,
    // which must be open and hooked on the application's thread. False with
    // *pError when root is no window or the agent fails.
    bool Build(CAgentClient& client, HWND root, const PageSourceOptions& options, const NodeVisitor& visit,
               std::string* pError);
    // The items of one control (kind) alone, nested, under a node for the
    // control.
    bool BuildItems(CAgentClient& client, HWND control, int kind, uint32_t factoryArgument,
                    const PageSourceOptions& options, std::string* pError);

    const std::vector<PageNode>& Nodes() const { return m_nodes; }
    // The XML of the node and its descendants (the whole tree from 0).
    std::string Xml(int from = 0) const;
    // Node number of the RuntimeId, -1 when none.
    int FindRuntimeId(const std::string& runtimeId) const;
    // True when node is a descendant of ancestor (not itself).
    bool IsDescendant(int node, int ancestor) const;
    // What the agent said to the last snapshot request (Timeout when the
    // application stopped answering).
    AgentStatus LastStatus() const { return m_status; }

private:
    bool AddWindow(CAgentClient& client, HWND hwnd, int parent, int depth, std::string* pError);
    bool AddItems(CAgentClient& client, HWND target, int kind, uint32_t factoryArgument, int parent,
                  std::string* pError);
    void AddPopupMenus(CAgentClient& client, HWND root, int parent, std::string* pError);
    // The snapshot of a long list view's items named m_options.nameFilter;
    // false when the control cannot be asked that way (then it is read whole).
    bool ReadNamedListViewItems(CAgentClient& client, HWND listView, SnapshotResult* pSnapshot);
    // The snapshot of the one item at m_options.indexFilter.
    SnapshotResult ReadIndexedItem(CAgentClient& client, HWND control, int kind);
    void PushItems(HWND target, int kind, uint32_t factoryArgument, int parent, SnapshotResult& snapshot);
    int Push(PageNode node);
    // The windows among the node's children so far: the next window's Index.
    int WindowsUnder(int parent) const;
    void WriteNode(int n, int depth, std::string& out) const;

    std::vector<PageNode> m_nodes;
    std::unordered_map<std::string, int> m_byRuntimeId;
    PageSourceOptions m_options;
    NodeVisitor m_visit;
    size_t m_nWindows = 0;
    bool m_bStopped = false;
    AgentStatus m_status = AgentStatus::Ok;
};

// The node of a window as it is now (no parent, index 0).
PageNode MakeWindowNode(HWND hwnd);
// The element name of an item kind ("ListViewItem"); "Window" for 0.
const char* ItemKindTag(int kind);
// The kind whose tag is tag (0 for "Window"); -1 for no tag.
int ItemKindOfTag(const std::string& tag);
// Text in the application's code page as UTF-8.
std::string AnsiToUtf8(const std::string& ansi);
std::string WideToUtf8(const std::wstring& wide);
std::wstring Utf8ToWide(const std::string& utf8);
// The window's title or text (WM_GETTEXT with a time limit), UTF-8.
std::string WindowTextUtf8(HWND hwnd);
std::string WindowClassUtf8(HWND hwnd);
// The node's attribute by its page-source name; false when it has none.
bool NodeAttribute(const PageNode& node, const std::string& name, std::string* pValue);
// Every attribute name a node can carry, in the page source's order.
const std::vector<std::string>& NodeAttributeNames();
