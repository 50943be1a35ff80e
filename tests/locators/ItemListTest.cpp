// The item listing ("TavmorItemList") against the sample application in a
// process of its own, for every kind: counts, texts and rectangles are
// compared with what each control reports in the sample's process, read
// from here through memory in the target (VirtualAllocEx, the control's
// message, ReadProcessMemory) or with the messages the system copies across
// processes; menus through the agent's data-message command. Then the pages
// at their edges, and items of a listing found again with the locate
// request after the sample was restarted and changed.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "client/DataMessageRequests.h"
#include "client/ItemRequests.h"
#include "client/ItemSnapshot.h"
#include "common/Owned.h"
#include "forms/ItemListForm.h"
#include "sample/SampleProtocol.h"
#include "tests/support/SharedSampleSuite.h"

namespace {

std::string RectText(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// A control's message whose argument is a record in the target's memory:
// the record (and a text buffer behind it) is written there, the message
// sent, and both read back.
class CRemoteRecord {
public:
    static const SIZE_T kSize = 4096;
    CRemoteRecord(DWORD processId)
        : m_process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)),
          m_memory(m_process.Get(), kSize) {}
    bool Ok() const { return static_cast<bool>(m_memory); }
    BYTE* Remote(size_t offset = 0) const { return static_cast<BYTE*>(m_memory.Get()) + offset; }

    // Sends message with wParam and the remote copy of record (in its first
    // bytes); the record comes back in record, the result is returned.
    template <class TRecord>
    LRESULT Send(HWND control, UINT message, WPARAM wParam, TRecord* record) const {
        SIZE_T done = 0;
        WriteProcessMemory(m_process.Get(), Remote(), record, sizeof(*record), &done);
        const LRESULT result = SendMessageA(control, message, wParam, reinterpret_cast<LPARAM>(Remote()));
        ReadProcessMemory(m_process.Get(), Remote(), record, sizeof(*record), &done);
        return result;
    }
    // The text the control left in the buffer at offset 2048.
    std::string Text() const {
        char local[1024] = {0};
        SIZE_T done = 0;
        ReadProcessMemory(m_process.Get(), Remote(kTextOffset), local, sizeof(local) - 1, &done);
        return local;
    }
    static const size_t kTextOffset = 2048;

private:
    COwnedHandle m_process;
    CRemoteMemory m_memory;
};

class ItemListTest : public CSharedSampleSuite<ItemListTest> {
public:
    static constexpr const char* kArguments = "--no-dialog";
    static constexpr size_t kRecordSize = CAgentClient::kDefaultRecordSize;

protected:
    void SetUp() override {
        CSharedSampleSuite<ItemListTest>::SetUp();
        if (HasFatalFailure()) return;
        m_items = reinterpret_cast<HWND>(s_app->Send(sample::kMsgGetItemsWindow));
        ASSERT_NE(m_items, nullptr);
        m_remote.reset(new CRemoteRecord(s_app->ProcessId()));
        ASSERT_TRUE(m_remote->Ok());
    }
    HWND ItemsControl(int id) const {
        return reinterpret_cast<HWND>(SendMessageA(m_items, sample::kMsgGetItemsControl, static_cast<WPARAM>(id), 0));
    }
    HWND WatchWindow() const {
        HWND hwnd = nullptr;
        while ((hwnd = FindWindowExA(nullptr, hwnd, sample::kWatchWindowClass, nullptr)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == s_app->ProcessId()) return hwnd;
        }
        return nullptr;
    }
    HWND AccessibilityWindow() const {
        HWND hwnd = nullptr;
        while ((hwnd = FindWindowExA(nullptr, hwnd, sample::kAccWindowClass, nullptr)) != nullptr) {
            if (GetWindow(hwnd, GW_OWNER) == s_app->Frame()) return hwnd;
        }
        return nullptr;
    }
    SnapshotResult Snapshot(HWND window, int kind, SnapshotOptions options = {}) {
        SnapshotResult result = ReadItemSnapshot(*s_client, window, kind, options);
        EXPECT_EQ(result.status, AgentStatus::Ok) << AgentStatusText(result.status) << " " << result.error;
        EXPECT_TRUE(result.served) << "kind " << kind;
        if (options.maxItems == SIZE_MAX) EXPECT_EQ(result.total, result.items.size()) << "kind " << kind;
        for (size_t i = 0; i < result.items.size(); ++i) {
            EXPECT_EQ(result.items[i].index, static_cast<int>(i)) << "kind " << kind;
            EXPECT_EQ(result.items[i].form.nKind, kind);
        }
        return result;
    }

    // One raw page: the reply's head and entries as the wire carries them.
    bool RawPage(HWND window, int kind, uint32_t first, uint32_t budget, ItemListReplyHead* head,
                 std::vector<ItemListEntry>* entries) {
        ItemListRequest request;
        request.nKind = static_cast<uint16_t>(kind);
        request.nFirst = first;
        request.nBudget = budget;
        CWireCursor w = s_client->BeginRequest();
        if (!WriteForm(w, request)) return false;
        CWireCursor reply;
        const AgentStatus status = s_client->Send(window, s_client->Messages().nItemList, 0, w, &reply);
        EXPECT_EQ(status, AgentStatus::Ok) << AgentStatusText(status);
        if (status != AgentStatus::Ok || !ReadForm(reply, *head)) return false;
        entries->clear();
        for (uint32_t i = 0; i < head->nCount; ++i) {
            ItemListEntry entry;
            if (!ReadItemListEntry(reply, entry)) return false;
            entries->push_back(entry);
        }
        return true;
    }

    HWND m_items = nullptr;
    std::unique_ptr<CRemoteRecord> m_remote;
};

TEST_F(ItemListTest, ListViewItemsColumnsAndRectanglesAreTheControls) {
    HWND list = s_app->Control(sample::kListViewId);
    ASSERT_NE(list, nullptr);
    const SnapshotResult all = Snapshot(list, 7);
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    ASSERT_EQ(all.items.size(), static_cast<size_t>(count));
    ASSERT_GT(count, 0);
    RECT client;
    GetClientRect(list, &client);
    for (int i = 0; i < count; ++i) {
        const SnapshotItem& item = all.items[static_cast<size_t>(i)];
        for (int column = 0; column < 3; ++column) {
            LVITEMA record = {};
            record.iSubItem = column;
            record.pszText = reinterpret_cast<char*>(m_remote->Remote(CRemoteRecord::kTextOffset));
            record.cchTextMax = 256;
            m_remote->Send(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), &record);
            const std::string text = m_remote->Text();
            if (column == 0) {
                EXPECT_EQ(item.text, text) << "item " << i;
                EXPECT_EQ(item.form.listView.text, text) << "item " << i;
            } else {
                ASSERT_EQ(item.columns.size(), 2u) << "item " << i;
                EXPECT_EQ(item.columns[static_cast<size_t>(column - 1)], text) << "item " << i << " column " << column;
            }
        }
        RECT rect = {LVIR_BOUNDS, 0, 0, 0};
        ASSERT_TRUE(m_remote->Send(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), &rect));
        EXPECT_TRUE(EqualRect(&rect, &item.rect)) << "item " << i << ": listed " << RectText(item.rect)
                                                   << ", control " << RectText(rect);
        RECT shown;
        EXPECT_EQ(item.visible, IntersectRect(&shown, &rect, &client) != FALSE) << "item " << i;
        EXPECT_EQ(item.form.listView.iItem, i);
        EXPECT_EQ(item.form.listView.iImage, i % 4) << "item " << i;
    }
    EXPECT_EQ(all.items[10].text, "Twin");
}

TEST_F(ItemListTest, TreeListsVisibleNodesOrEveryNodeWithoutExpandingAny) {
    ASSERT_EQ(SendMessageA(m_items, sample::kMsgTreeDefault, 0, 0), sample::kTreeNodeCount);
    HWND tree = ItemsControl(sample::kItemsTreeId);
    const SnapshotResult visible = Snapshot(tree, 8);
    // Only the roots are expanded: their children show, nothing below.
    std::vector<std::string> texts;
    for (const SnapshotItem& item : visible.items) texts.push_back(std::string(item.level, ' ') + item.text);
    const std::vector<std::string> expected = {"Documents", " Reports", " Letters", "Projects", " Alpha",
                                               " Beta",      " Later",   "Archive",  " Reports"};
    EXPECT_EQ(texts, expected);

    SnapshotOptions every;
    every.allNodes = true;
    const SnapshotResult all = Snapshot(tree, 8, every);
    EXPECT_EQ(all.items.size(), static_cast<size_t>(SendMessageA(tree, TVM_GETCOUNT, 0, 0)));
    EXPECT_EQ(all.items.size(), static_cast<size_t>(sample::kTreeNodeCount));
    // "Later" makes its children when expanded: the listing expanded nothing.
    HTREEITEM later = reinterpret_cast<HTREEITEM>(SendMessageA(m_items, sample::kMsgTreeGetItem, 15, 0));
    EXPECT_EQ(SendMessageA(m_items, sample::kMsgTreeIsExpanded, 15, 0), 0);
    EXPECT_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(later)), 0);

    RECT client;
    GetClientRect(tree, &client);
    for (const SnapshotItem& item : all.items) {
        HTREEITEM handle = nullptr;
        // The entry's handle, as the form records its low 32 bits.
        for (int id = 1; id <= sample::kTreeNodeCount + 3 && !handle; ++id) {
            HTREEITEM h = reinterpret_cast<HTREEITEM>(SendMessageA(m_items, sample::kMsgTreeGetItem, id, 0));
            if (h && static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(h)) == item.form.tree.hItem) handle = h;
        }
        ASSERT_NE(handle, nullptr) << item.text;
        TVITEMA record = {};
        record.mask = TVIF_TEXT | TVIF_HANDLE | TVIF_STATE | TVIF_CHILDREN;
        record.hItem = handle;
        record.stateMask = TVIS_EXPANDED;
        record.pszText = reinterpret_cast<char*>(m_remote->Remote(CRemoteRecord::kTextOffset));
        record.cchTextMax = 256;
        ASSERT_TRUE(m_remote->Send(tree, TVM_GETITEMA, 0, &record));
        EXPECT_EQ(item.text, m_remote->Text());
        EXPECT_EQ(item.expanded, (record.state & TVIS_EXPANDED) != 0) << item.text;
        // The parent entry is the node's parent.
        HTREEITEM parent = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(handle)));
        if (!parent) {
            EXPECT_EQ(item.parent, -1) << item.text;
            EXPECT_EQ(item.level, 0) << item.text;
        } else {
            ASSERT_GE(item.parent, 0) << item.text;
            const SnapshotItem& p = all.items[static_cast<size_t>(item.parent)];
            EXPECT_EQ(p.form.tree.hItem, static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(parent))) << item.text;
            EXPECT_EQ(item.level, p.level + 1) << item.text;
            EXPECT_TRUE(p.hasChildren) << p.text;
        }
        RECT rect = {0, 0, 0, 0};
        std::memcpy(&rect, &handle, sizeof(handle));
        const bool shown = m_remote->Send(tree, TVM_GETITEMRECT, 1, &rect) != 0;
        if (shown) {
            EXPECT_TRUE(EqualRect(&rect, &item.rect)) << item.text << ": listed " << RectText(item.rect) << ", control "
                                                      << RectText(rect);
        }
        RECT visibleRect;
        EXPECT_EQ(item.visible, shown && IntersectRect(&visibleRect, &rect, &client) != FALSE) << item.text;
    }
}

TEST_F(ItemListTest, ListBoxToolbarAndStatusBarAreTheControls) {
    HWND list = ItemsControl(sample::kItemsListBoxId);
    SendMessageA(m_items, sample::kMsgListBoxFill, sample::kListBoxDefaultCount, 0);
    const SnapshotResult entries = Snapshot(list, 9);
    ASSERT_EQ(entries.items.size(), static_cast<size_t>(SendMessageW(list, LB_GETCOUNT, 0, 0)));
    for (const SnapshotItem& item : entries.items) {
        wchar_t text[256] = {0};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item.index), reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(item.text.begin(), item.text.end()), text) << "entry " << item.index;
        RECT rect = {0, 0, 0, 0};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(item.index), reinterpret_cast<LPARAM>(&rect));
        EXPECT_TRUE(EqualRect(&rect, &item.rect)) << "entry " << item.index << ": listed " << RectText(item.rect)
                                                   << ", control " << RectText(rect);
    }
    EXPECT_EQ(entries.items[5].text, "Apple");

    SendMessageA(m_items, sample::kMsgToolbarDefault, 0, 0);
    HWND toolbar = ItemsControl(sample::kItemsToolbarId);
    const SnapshotResult buttons = Snapshot(toolbar, 4);
    ASSERT_EQ(buttons.items.size(), static_cast<size_t>(sample::kToolbarButtonCount));
    const int ids[] = {sample::kCmdItemsNew, sample::kCmdItemsOpen, sample::kCmdItemsSave, 0, sample::kCmdItemsCut,
                       sample::kCmdItemsCopy, sample::kCmdItemsPaste, 0, sample::kCmdItemsHelp};
    for (const SnapshotItem& item : buttons.items) {
        EXPECT_EQ(item.commandId, ids[item.index]) << "button " << item.index;
        EXPECT_EQ(item.form.toolbar.idCommand, ids[item.index]);
        TBBUTTON button = {};
        ASSERT_TRUE(m_remote->Send(toolbar, TB_GETBUTTON, static_cast<WPARAM>(item.index), &button));
        EXPECT_EQ(item.state, button.fsState) << "button " << item.index;
        RECT rect = {0, 0, 0, 0};
        ASSERT_TRUE(m_remote->Send(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(item.index), &rect));
        EXPECT_TRUE(EqualRect(&rect, &item.rect)) << "button " << item.index << ": listed " << RectText(item.rect)
                                                   << ", control " << RectText(rect);
        if (ids[item.index] != 0) {
            // TB_GETBUTTONTEXTA writes the text at its lParam: the buffer lies at the record's start.
            char none = 0;
            m_remote->Send(toolbar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(ids[item.index]), &none);
            char text[64] = {0};
            SIZE_T done = 0;
            COwnedHandle process(OpenProcess(PROCESS_VM_READ, FALSE, s_app->ProcessId()));
            ReadProcessMemory(process.Get(), m_remote->Remote(), text, sizeof(text) - 1, &done);
            EXPECT_EQ(item.text, text) << "button " << item.index;
            EXPECT_FALSE(item.text.empty()) << "button " << item.index;
        } else {
            EXPECT_EQ(item.text, "") << "separator " << item.index;
        }
    }

    SendMessageA(m_items, sample::kMsgStatusChange, 0, 0);
    HWND status = ItemsControl(sample::kItemsStatusId);
    const SnapshotResult panes = Snapshot(status, 11);
    ASSERT_EQ(panes.items.size(), static_cast<size_t>(sample::kStatusPaneCount));
    const char* texts[] = {"Ready", "Line 1", "", "60 entries"};
    for (const SnapshotItem& item : panes.items) {
        EXPECT_EQ(item.text, texts[item.index]) << "pane " << item.index;
        RECT rect = {0, 0, 0, 0};
        ASSERT_TRUE(m_remote->Send(status, SB_GETRECT, static_cast<WPARAM>(item.index), &rect));
        EXPECT_TRUE(EqualRect(&rect, &item.rect)) << "pane " << item.index << ": listed " << RectText(item.rect)
                                                   << ", control " << RectText(rect);
        EXPECT_EQ(item.form.statusBar.nIndex, item.index);
    }
}

TEST_F(ItemListTest, TabsAndMenuBarAreTheControls) {
    HWND watch = WatchWindow();
    ASSERT_NE(watch, nullptr);
    SendMessageA(watch, sample::kMsgWatchResetTabs, 0, 0);
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(watch, sample::kMsgWatchGetControl, sample::kTabTextId, 0));
    const SnapshotResult listed = Snapshot(tabs, 10);
    const char* texts[] = {"Alpha", "Beta", "Twin", "Gamma", "Twin", "ALPHA"};
    ASSERT_EQ(listed.items.size(), 6u);
    for (const SnapshotItem& item : listed.items) {
        EXPECT_EQ(item.text, texts[item.index]);
        EXPECT_EQ(item.selected, item.index == 0) << "tab " << item.index;
        RECT rect = {0, 0, 0, 0};
        ASSERT_TRUE(m_remote->Send(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(item.index), &rect));
        EXPECT_TRUE(EqualRect(&rect, &item.rect)) << "tab " << item.index << ": listed " << RectText(item.rect)
                                                   << ", control " << RectText(rect);
    }

    HWND frame = s_app->Frame();
    const SnapshotResult bar = Snapshot(frame, 3);
    const std::vector<std::string> titles = {"&File", "&Edit", "&View", "&Help"};
    ASSERT_EQ(bar.items.size(), titles.size());
    HMENU menu = GetMenu(frame);
    for (const SnapshotItem& item : bar.items) {
        EXPECT_EQ(item.text, titles[static_cast<size_t>(item.index)]);
        EXPECT_TRUE(item.submenu) << item.text;
        EXPECT_TRUE(item.visible) << item.text;
        EXPECT_EQ(item.form.menuBar.nPosition, item.index);
        const DataRectResult inside = GetMenuItemRectangle(*s_client, frame, frame, menu, static_cast<UINT>(item.index));
        ASSERT_EQ(inside.status, AgentStatus::Ok);
        RECT screen = ItemRectOnScreen(frame, 3, item.rect);
        EXPECT_TRUE(EqualRect(&screen, &inside.rect)) << item.text << ": listed " << RectText(screen)
                                                      << " on the screen, the sample " << RectText(inside.rect);
    }
}

TEST_F(ItemListTest, PopupMenuItemsWithIdsAndSubmenus) {
    HWND window = AccessibilityWindow();
    ASSERT_NE(window, nullptr);
    const uint32_t menu = static_cast<uint32_t>(static_cast<ULONG_PTR>(SendMessageA(window, sample::kMsgAccGetPopupMenu, 0, 0)));
    ASSERT_NE(menu, 0u);
    SnapshotOptions options;
    options.factoryArgument = menu;
    const SnapshotResult listed = Snapshot(window, 6, options);
    ASSERT_EQ(listed.items.size(), 7u);
    const char* names[] = {"Open Item", "More", "Other", "", "Shared", "Twice", "Twice"};
    const bool submenus[] = {false, true, true, false, false, false, false};
    for (const SnapshotItem& item : listed.items) {
        EXPECT_EQ(item.text, names[item.index]) << "item " << item.index;
        EXPECT_EQ(item.submenu, submenus[item.index]) << "item " << item.index;
        EXPECT_EQ(item.form.popupMenu.name, names[item.index]);
        // The menu is closed: nothing of it is on the screen.
        EXPECT_FALSE(item.visible) << "item " << item.index;
    }
    EXPECT_EQ(listed.items[0].commandId, sample::kAccCmdOpenItem);
    EXPECT_EQ(listed.items[4].commandId, sample::kAccCmdShared);
    EXPECT_EQ(listed.items[4].form.popupMenu.nItemId, static_cast<uint32_t>(sample::kAccCmdShared));
    // The listed form finds its item in the menu.
    LocateResult found = LocateItem(*s_client, window, 6, menu, listed.items[5].form, 0);
    ASSERT_EQ(found.status, AgentStatus::Ok);
    EXPECT_TRUE(found.found);
}

TEST_F(ItemListTest, AccessibleTreeToTheDepthAskedPastFaultingObjects) {
    HWND window = AccessibilityWindow();
    ASSERT_NE(window, nullptr);
    SnapshotOptions top;
    top.depth = 1;
    const SnapshotResult shallow = Snapshot(window, 12, top);
    std::vector<std::string> names;
    for (const SnapshotItem& item : shallow.items) names.push_back(item.text);
    ASSERT_GE(names.size(), 6u);
    EXPECT_EQ(names[0], "Accessibility Sample");
    for (const SnapshotItem& item : shallow.items) EXPECT_LE(item.level, 1) << item.text;

    const SnapshotResult all = Snapshot(window, 12);
    size_t cells = 0, grid = 0;
    bool afterFaulty = false;
    for (const SnapshotItem& item : all.items) {
        if (item.text.compare(0, 5, "Cell ") == 0) {
            ++cells;
            EXPECT_EQ(item.level, 4) << item.text;
        }
        if (item.text == "After Faulty") afterFaulty = true;
        if (item.text == "OK") {
            EXPECT_EQ(item.level, 2);
            EXPECT_EQ(item.form.accessible.description, "Accept the changes");
            const RECT expected = {20, 30, 120, 60};
            EXPECT_TRUE(EqualRect(&expected, &item.rect)) << "listed " << RectText(item.rect);
            EXPECT_EQ(all.items[static_cast<size_t>(item.parent)].text, "Buttons");
        }
        if (item.text == "Level") {
            EXPECT_EQ(item.value, "42");
        }
        if (item.text == "Grid") {
            grid = static_cast<size_t>(item.childCount);
            EXPECT_TRUE(item.hasChildren);
        }
    }
    EXPECT_EQ(cells, 1000u);
    EXPECT_EQ(grid, 10u);
    EXPECT_TRUE(afterFaulty) << "the walk stopped at the faulting objects";
    // One level less: no cells.
    SnapshotOptions three;
    three.depth = 3;
    const SnapshotResult upToRows = Snapshot(window, 12, three);
    for (const SnapshotItem& item : upToRows.items) EXPECT_NE(item.text.compare(0, 5, "Cell "), 0) << item.text;
    EXPECT_EQ(upToRows.items.size() + 1000, all.items.size());

    // The scrolling kind lists what lies outside the view too, marked so.
    HWND scroller = GetDlgItem(window, sample::kAccScrollerId);
    ASSERT_EQ(SendMessageA(window, sample::kMsgAccScrollTo, 0, 0), 1);
    const SnapshotResult area = Snapshot(scroller, 13);
    bool farDown = false, nearby = false;
    for (const SnapshotItem& item : area.items) {
        if (item.text == "Far Down") {
            farDown = true;
            EXPECT_FALSE(item.visible);
        }
        if (item.text == "Near") {
            nearby = true;
            EXPECT_TRUE(item.visible);
        }
    }
    EXPECT_TRUE(farDown && nearby);
}

TEST_F(ItemListTest, ListedItemsAreFoundAgainByLocate) {
    HWND window = AccessibilityWindow();
    const SnapshotResult objects = Snapshot(window, 12);
    for (const SnapshotItem& item : objects.items) {
        if (item.text != "Beta" && item.text != "Pressure") continue;
        LocateResult found = LocateItem(*s_client, window, 12, 0, item.form, 0);
        ASSERT_EQ(found.status, AgentStatus::Ok);
        EXPECT_TRUE(found.found) << item.text;
        EXPECT_TRUE(EqualRect(&found.form.rect, &item.rect)) << item.text << ": found " << RectText(found.form.rect)
                                                             << ", listed " << RectText(item.rect);
    }
}

TEST_F(ItemListTest, PagesHoldWholeEntriesWithinTheBudget) {
    HWND list = ItemsControl(sample::kItemsListBoxId);
    SendMessageA(m_items, sample::kMsgListBoxFill, sample::kListBoxDefaultCount, 0);
    ItemListReplyHead head;
    std::vector<ItemListEntry> entries;
    ASSERT_TRUE(RawPage(list, 9, 0, 0, &head, &entries));
    ASSERT_EQ(head.bServed, 1u);
    ASSERT_EQ(head.nTotal, 60u);
    ASSERT_EQ(head.nCount, 60u);
    EXPECT_EQ(head.nNext, 60u);
    const uint32_t first = static_cast<uint32_t>(ItemListEntrySize(entries[0]));
    const uint32_t second = static_cast<uint32_t>(ItemListEntrySize(entries[1]));

    // Exactly one entry's bytes: that entry.
    ASSERT_TRUE(RawPage(list, 9, 0, first, &head, &entries));
    EXPECT_EQ(head.nCount, 1u);
    EXPECT_EQ(head.nNext, 1u);
    // Two entries' bytes, and one byte less.
    ASSERT_TRUE(RawPage(list, 9, 0, first + second, &head, &entries));
    EXPECT_EQ(head.nCount, 2u);
    EXPECT_EQ(head.nNext, 2u);
    ASSERT_TRUE(RawPage(list, 9, 0, first + second - 1, &head, &entries));
    EXPECT_EQ(head.nCount, 1u);
    EXPECT_EQ(head.nNext, 1u);
    // Less than one entry: nothing, and the page starts where it was asked.
    ASSERT_TRUE(RawPage(list, 9, 0, first - 1, &head, &entries));
    EXPECT_EQ(head.nCount, 0u);
    EXPECT_EQ(head.nNext, 0u);
    SnapshotOptions tiny;
    tiny.pageBudget = first - 1;
    const SnapshotResult refused = ReadItemSnapshot(*s_client, list, 9, tiny);
    EXPECT_EQ(refused.status, AgentStatus::Overrun);
    EXPECT_NE(refused.error.find("does not fit"), std::string::npos) << refused.error;
    // A first index past the end, near and far.
    for (uint32_t past : {60u, 61u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        ASSERT_TRUE(RawPage(list, 9, past, 0, &head, &entries));
        EXPECT_EQ(head.bServed, 1u);
        EXPECT_EQ(head.nCount, 0u) << past;
        EXPECT_EQ(head.nNext, 60u) << past;
    }
    // Small pages give the same items as one large one.
    SnapshotOptions small;
    small.pageBudget = first * 3;
    const SnapshotResult paged = ReadItemSnapshot(*s_client, list, 9, small);
    ASSERT_EQ(paged.status, AgentStatus::Ok);
    ASSERT_EQ(paged.items.size(), 60u);
    for (size_t i = 0; i < paged.items.size(); ++i) EXPECT_EQ(paged.items[i].index, static_cast<int>(i));
    SnapshotOptions bounded;
    bounded.maxItems = 7;
    bounded.pageBudget = first * 3;
    EXPECT_EQ(ReadItemSnapshot(*s_client, list, 9, bounded).items.size(), 7u);
}

TEST_F(ItemListTest, AControlThatChangesBetweenPages) {
    HWND list = ItemsControl(sample::kItemsListBoxId);
    SendMessageA(m_items, sample::kMsgListBoxFill, sample::kListBoxDefaultCount, 0);
    SnapshotOptions options;
    options.pageBudget = 600;
    uint32_t next = 0;
    SnapshotResult page = ReadItemSnapshotPage(*s_client, list, 9, options, 0, &next);
    ASSERT_EQ(page.status, AgentStatus::Ok);
    ASSERT_GT(page.items.size(), 1u);
    ASSERT_LT(next, 60u);
    // The list shrinks below the next page's start: an empty last page.
    SendMessageA(m_items, sample::kMsgListBoxFill, next - 1, 0);
    uint32_t after = 0;
    page = ReadItemSnapshotPage(*s_client, list, 9, options, next, &after);
    ASSERT_EQ(page.status, AgentStatus::Ok);
    EXPECT_EQ(page.total, next - 1);
    EXPECT_TRUE(page.items.empty());
    EXPECT_EQ(after, next - 1);
    // It grows again: the next page carries the new items under their own indexes.
    SendMessageA(m_items, sample::kMsgListBoxFill, 100, 0);
    page = ReadItemSnapshotPage(*s_client, list, 9, options, next, &after);
    ASSERT_EQ(page.status, AgentStatus::Ok);
    EXPECT_EQ(page.total, 100u);
    ASSERT_FALSE(page.items.empty());
    EXPECT_EQ(page.items[0].index, static_cast<int>(next));
    char text[32];
    std::snprintf(text, sizeof(text), "Entry %02u", next);
    EXPECT_EQ(page.items[0].text, next == 5 ? "Apple" : text);
    SendMessageA(m_items, sample::kMsgListBoxFill, sample::kListBoxDefaultCount, 0);
}

TEST_F(ItemListTest, EveryKindOnAWindowOfAnotherKindIsNotServed) {
    HWND status = ItemsControl(sample::kItemsStatusId);
    HWND list = ItemsControl(sample::kItemsListBoxId);
    for (int kind : {3, 4, 6, 7, 8, 9, 10}) {
        SnapshotResult result = ReadItemSnapshot(*s_client, status, kind);
        EXPECT_EQ(result.status, AgentStatus::Ok) << "kind " << kind;
        EXPECT_FALSE(result.served) << "kind " << kind;
        EXPECT_TRUE(result.items.empty());
    }
    EXPECT_FALSE(ReadItemSnapshot(*s_client, list, 11).served);
    // Codes that are no kind.
    for (int kind : {0, 1, 5, 14, 0x7FFF, 0xFFFF}) {
        SnapshotResult result = ReadItemSnapshot(*s_client, list, kind);
        EXPECT_EQ(result.status, AgentStatus::Ok) << "kind " << kind;
        EXPECT_FALSE(result.served) << "kind " << kind;
    }
}

// Items of a listing, kept, found again in a later run of the sample whose
// list, tree and list box changed order.
TEST(ItemListRestartTest, ListedItemsAreFoundAgainAfterARestartWithChanges) {
    LocatorForm listItem, treeItem, entry;
    {
        CHookedSample sample;
        const std::string error = sample.Start("--no-dialog");
        ASSERT_TRUE(error.empty()) << error;
        CAgentClient& client = sample.Client();
        HWND list = sample.App().Control(sample::kListViewId);
        SnapshotResult items = ReadItemSnapshot(client, list, 7);
        ASSERT_EQ(items.status, AgentStatus::Ok);
        ASSERT_EQ(items.items.size(), 50u);
        listItem = items.items[7].form;
        HWND itemsWindow = reinterpret_cast<HWND>(sample.App().Send(sample::kMsgGetItemsWindow));
        HWND tree = reinterpret_cast<HWND>(SendMessageA(itemsWindow, sample::kMsgGetItemsControl, sample::kItemsTreeId, 0));
        SnapshotOptions every;
        every.allNodes = true;
        SnapshotResult nodes = ReadItemSnapshot(client, tree, 8, every);
        ASSERT_EQ(nodes.status, AgentStatus::Ok);
        for (const SnapshotItem& node : nodes.items) {
            if (node.text == "Budget") treeItem = node.form;
        }
        ASSERT_EQ(treeItem.tree.text, "Budget");
        HWND box = reinterpret_cast<HWND>(SendMessageA(itemsWindow, sample::kMsgGetItemsControl, sample::kItemsListBoxId, 0));
        SnapshotResult entries = ReadItemSnapshot(client, box, 9);
        ASSERT_EQ(entries.status, AgentStatus::Ok);
        ASSERT_GT(entries.items.size(), 30u);
        entry = entries.items[30].form;
    }
    CHookedSample sample;
    const std::string error = sample.Start("--no-dialog --order reversed");
    ASSERT_TRUE(error.empty()) << error;
    CAgentClient& client = sample.Client();
    HWND list = sample.App().Control(sample::kListViewId);
    LocateResult found = LocateItem(client, list, 7, 0, listItem, 0);
    ASSERT_EQ(found.status, AgentStatus::Ok);
    ASSERT_TRUE(found.found);
    POINT middle = {(found.form.rect.left + found.form.rect.right) / 2, (found.form.rect.top + found.form.rect.bottom) / 2};
    ClientToScreen(list, &middle);
    ItemAtResult hit = GetItemRect(client, list, 7, middle.x, middle.y);
    EXPECT_EQ(hit.index, 49 - 7) << "the reversed list holds item 7 at 42";

    HWND itemsWindow = reinterpret_cast<HWND>(sample.App().Send(sample::kMsgGetItemsWindow));
    SendMessageA(itemsWindow, sample::kMsgTreeReorder, 0, 0);
    HWND tree = reinterpret_cast<HWND>(SendMessageA(itemsWindow, sample::kMsgGetItemsControl, sample::kItemsTreeId, 0));
    found = LocateItem(client, tree, 8, 0, treeItem, 0);
    ASSERT_EQ(found.status, AgentStatus::Ok);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.form.tree.text, "Budget");

    HWND box = reinterpret_cast<HWND>(SendMessageA(itemsWindow, sample::kMsgGetItemsControl, sample::kItemsListBoxId, 0));
    SendMessageA(itemsWindow, sample::kMsgListBoxFill, 80, 0);
    found = LocateItem(client, box, 9, 0, entry, 0);
    ASSERT_EQ(found.status, AgentStatus::Ok);
    ASSERT_TRUE(found.found);
    middle = {(found.form.rect.left + found.form.rect.right) / 2, (found.form.rect.top + found.form.rect.bottom) / 2};
    ClientToScreen(box, &middle);
    hit = GetItemRect(client, box, 9, middle.x, middle.y);
    EXPECT_EQ(hit.index, 30);
}

}  // namespace

namespace {

// The owner-data list of a million rows and the owner-drawn list boxes of
// the sample's virtual window: a page from the middle of the list, and
// list-box items without strings listed without texts and found again by
// their index.
TEST(ItemListVirtualTest, OwnerDataPagesAndOwnerDrawnListBoxes) {
    CHookedSample sample;
    const std::string error = sample.Start("--no-dialog --virtual");
    ASSERT_TRUE(error.empty()) << error;
    CAgentClient& client = sample.Client();
    HWND window = reinterpret_cast<HWND>(sample.App().Send(sample::kMsgGetVirtualWindow));
    ASSERT_NE(window, nullptr);
    HWND rows = GetDlgItem(window, sample::kVirtualListId);
    SnapshotOptions options;
    options.pageBudget = 16 * 1024;
    uint32_t next = 0;
    const SnapshotResult page = ReadItemSnapshotPage(client, rows, 7, options, 500000, &next);
    ASSERT_EQ(page.status, AgentStatus::Ok);
    EXPECT_EQ(page.total, static_cast<uint32_t>(sample::kVirtualDefaultRows));
    ASSERT_FALSE(page.items.empty());
    EXPECT_EQ(next, 500000u + page.items.size());
    for (const SnapshotItem& item : page.items) {
        char text[32], value[32];
        std::snprintf(text, sizeof(text), "Row %07d", item.index);
        std::snprintf(value, sizeof(value), "Value %d", item.index * 7);
        EXPECT_EQ(item.text, text);
        ASSERT_EQ(item.columns.size(), 1u);
        EXPECT_EQ(item.columns[0], value);
        EXPECT_FALSE(item.visible) << "row " << item.index << " lies far below the view";
    }

    HWND swatches = GetDlgItem(window, sample::kVirtualDataListId);
    const SnapshotResult listed = ReadItemSnapshot(client, swatches, 9);
    ASSERT_EQ(listed.status, AgentStatus::Ok);
    ASSERT_EQ(listed.items.size(), static_cast<size_t>(sample::kVirtualDefaultLines));
    for (const SnapshotItem& item : listed.items) {
        EXPECT_EQ(item.text, "") << "item data taken for text at " << item.index;
        EXPECT_EQ(item.form.listBox.text, "");
    }
    LocateResult found = LocateItem(client, swatches, 9, 0, listed.items[150].form, 0);
    ASSERT_EQ(found.status, AgentStatus::Ok);
    ASSERT_TRUE(found.found);
    POINT middle = {(found.form.rect.left + found.form.rect.right) / 2, (found.form.rect.top + found.form.rect.bottom) / 2};
    ClientToScreen(swatches, &middle);
    EXPECT_EQ(GetItemRect(client, swatches, 9, middle.x, middle.y).index, 150);

    HWND lines = GetDlgItem(window, sample::kVirtualStringsListId);
    const SnapshotResult strings = ReadItemSnapshot(client, lines, 9);
    ASSERT_EQ(strings.status, AgentStatus::Ok);
    ASSERT_GT(strings.items.size(), 70u);
    EXPECT_EQ(strings.items[3].text, "Line 00003");
    EXPECT_EQ(strings.items[70].text, "Pair");
}

}  // namespace
