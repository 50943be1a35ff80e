// What the sample application offers to the demo, the tests and the
// benchmarks: its window classes, control identifiers, command line and the
// messages with which a controller changes it while it runs.
#pragma once
#include <windows.h>

namespace sample {

// Top-level frame: caption, menu bar, and all the controls below as children.
// Its title contains characters above 0x7F ("Vintrel Sample \xC4\xE9\xF1")
// unless --title replaces it.
constexpr char kFrameClass[] = "VintrelSampleFrame";
constexpr char kDefaultTitle[] = "Vintrel Sample \xC4\xE9\xF1";

// Child controls of the frame.
constexpr int kListViewId = 1001;      // SysListView32, report view, small+large image lists
constexpr int kPanelId = 1002;         // "VintrelPanel" child, holding a group "VintrelGroup" (1003)
constexpr int kGroupId = 1003;         //   which holds an Edit (1004): three levels below the frame
constexpr int kDeepEditId = 1004;
constexpr int kScrollBarId = 1005;     // standalone horizontal ScrollBar, range 0..250
constexpr int kTrackbarId = 1006;      // msctls_trackbar32, range 5..95
constexpr int kAfxChildId = 1007;      // child whose class follows the Afx pattern below
constexpr int kStatusId = 1008;        // msctls_statusbar32 with 3 panes
constexpr char kPanelClass[] = "VintrelPanel";
constexpr char kGroupClass[] = "VintrelGroup";
// Five colons: a class name with run-dependent parts after the third colon.
constexpr char kAfxClassPrefix[] = "Afx:00400000:8:";  // followed by "XXXXXXXX:XXXXXXXX:XXXXXXXX"

// A second top-level window, a dialog with a caption ("Sample Options"),
// owned by the frame, shown at start. Contains a button (2001), an edit
// (2002) and a list box (2003).
constexpr char kDialogTitle[] = "Sample Options";
constexpr int kDialogButtonId = 2001;
constexpr int kDialogEditId = 2002;
constexpr int kDialogListId = 2003;

// Menu bar: "&File", "&Edit", "&View", "&Help" (with --menu-extra a "&Tools"
// menu is inserted before "&Help"). Command ids of the popup items:
constexpr int kCmdNew = 40001, kCmdOpen = 40002, kCmdSave = 40003, kCmdExit = 40004;
constexpr int kCmdCut = 40011, kCmdCopy = 40012, kCmdPaste = 40013;
constexpr int kCmdIcons = 40021, kCmdReport = 40022;
constexpr int kCmdAbout = 40031;
constexpr int kCmdTools = 40041;

// List view items: item i has the text "Item %04d" and image i % 4, except
// that items 10, 20 and 30 (when present) all have the text "Twin", so that
// equal texts can be told apart only by image or position. The list has
// three columns ("Name", "Size", "Kind").

// Command line (all optional):
//   --items N          number of list items (default 50)
//   --order forward|reversed|shuffled:SEED   order of the list items
//   --title TEXT       frame title
//   --icons            start in icon view instead of report view
//   --menu-extra       insert the "&Tools" menu before "&Help"
//   --at X,Y           frame position (default 40,40); size 900x700
//   --no-dialog        do not show the options dialog
//   --virtual, --virtual-rows N, --virtual-lines N   the virtual window (below)
//   --own-hooks        install hooks of the sample's own on its thread at
//                      start (see kMsgWatchChainCount). Off by default: under
//                      Wine a thread with a WH_CALLWNDPROCRET hook pays a
//                      server round trip for every message sent within it.

// Messages to the frame (SendMessage from another process):
constexpr UINT kMsgReverseItems = WM_APP + 1;  // reverse the order of the list items
constexpr UINT kMsgSetImage = WM_APP + 2;      // wParam item index, lParam image 0..3
constexpr UINT kMsgSelectItem = WM_APP + 3;    // wParam item index (-1: clear), selects and focuses
constexpr UINT kMsgSetView = WM_APP + 4;       // wParam 0 report, 1 icon
constexpr UINT kMsgSetItemCount = WM_APP + 5;  // wParam N: rebuild the list with N items, forward order
constexpr UINT kMsgInsertFront = WM_APP + 6;   // wParam N: insert N items "New %04d" at the front
constexpr UINT kMsgShuffle = WM_APP + 7;       // wParam seed: shuffle items deterministically
constexpr UINT kMsgScrollTop = WM_APP + 8;     // scroll the list view back to its first item
constexpr UINT kMsgToggleExtraMenu = WM_APP + 9;  // insert or remove the "&Tools" menu
// Returns the handle of the child with id wParam (the list view, the panel...).
constexpr UINT kMsgGetControl = WM_APP + 10;
// Returns the dialog's handle.
constexpr UINT kMsgGetDialog = WM_APP + 11;
// The frame's thread sleeps wParam milliseconds (at most 60 s) when it
// retrieves this message: post it to stall the target.
constexpr UINT kMsgStall = WM_APP + 12;
// The last click the frame saw on an item: (button << 24) | (source << 16) |
// (index & 0xFFFF), 0 when none since kMsgClearLastClick. Sources: 1 a list
// item (index: the item), 2 a menu-bar item (index: its position; the menu
// opens). Buttons: 1 left, 2 double, 3 right.
constexpr UINT kMsgGetLastClick = WM_APP + 13;
constexpr UINT kMsgClearLastClick = WM_APP + 14;
constexpr int kClickSourceList = 1, kClickSourceMenuBar = 2;
constexpr int kClickLeft = 1, kClickDouble = 2, kClickRight = 3;
// Posted with wParam a window of another process: the frame posts
// kMsgEcho back to it with the same lParam -- a round trip through the
// frame's own message loop, without the agent.
constexpr UINT kMsgEcho = WM_APP + 15;
// What the sample process holds, counted from inside it: wParam 0 kernel
// handles, 1 GDI objects, 2 USER objects (where the system cannot tell: the
// process's windows, message-only ones included), 3 private KiB, 4 the
// accessible objects handed out so far (WM_GETOBJECT answered with one).
constexpr UINT kMsgCountResources = WM_APP + 16;
// Fetches the accessibility window's object wParam times (at most 10,000)
// with AccessibleObjectFromWindow from inside the sample, as an in-process
// caller does, releasing each: the platform's own cost of handing objects
// out, without the agent. Returns how many it got.
constexpr UINT kMsgFetchOwnObjects = WM_APP + 19;
// Leaks wParam events, brushes, message-only windows and 16 KiB blocks on purpose (at most 10,000).
constexpr UINT kMsgLeak = WM_APP + 17;
// Posted: destroys the frame's descendant with control id wParam (the deep
// edit, say), so that a request for it finds it gone.
constexpr UINT kMsgDestroyControl = WM_APP + 18;
// WM_COPYDATA with dwData = item index and lpData = ANSI text renames that
// list item (dwData = 0x10000 + n renames menu-bar item n instead).
constexpr ULONG_PTR kCopyDataMenuBase = 0x10000;

// ---- Items window: tree view, toolbar, list box, status bar ---------------
//
// A second top-level window "Sample Items" of class kItemsClass, owned by the
// frame, at screen x 950..1275, y 40..1010. A controller finds it by sending
// kMsgGetItemsWindow to the frame, or with FindWindow(kItemsClass, nullptr)
// (the class is registered by the sample only). Its children are found
// with kMsgGetItemsControl (or GetDlgItem) by the ids below.
constexpr char kItemsClass[] = "VintrelSampleItems";
constexpr char kItemsTitle[] = "Sample Items";
constexpr int kItemsX = 950, kItemsY = 40, kItemsWidth = 325, kItemsHeight = 970;

constexpr int kItemsTreeId = 1201;     // SysTreeView32 with buttons and lines
constexpr int kItemsToolbarId = 1202;  // ToolbarWindow32, list style, adjustable
constexpr int kItemsListBoxId = 1203;  // LISTBOX, not sorted, vertical scroll bar
constexpr int kItemsStatusId = 1204;   // msctls_statusbar32 with 4 panes

// Default tree. Each node's lParam is its node id (the number before the
// text); images in brackets. Node 15 "Later" creates its children (ids 16,
// 17, 18: "Later 1".."Later 3", image 2) only when it is expanded. Only the
// roots are expanded at start.
//    1 Documents [0]          9 Projects [0]             19 Archive [0]
//      2 Reports [1]            10 Alpha [1]               20 Reports [1]
//        3 2025 [2]               11 Summary [3]             21 2025 [2]
//          4 Summary [3]          12 Notes [2]                 22 Summary [3]
//          5 Budget [3]         13 Beta [1]
//        6 2024 [2]               14 Plan [2]
//      7 Letters [1]            15 Later [1] (children on expansion)
//        8 Summary [3]
constexpr int kTreeNodeCount = 19;    // nodes of the default tree before "Later" is expanded
constexpr int kTreeFirstSummary = 4;  // first "Summary" [3] in pre-order
// Generated tree of N nodes (kMsgTreeGenerate), built depth first with up
// to 10 children per node and 5 levels: the node numbered i in pre-order
// has the text "Node %d" and image i % 4, and its id is i + 1. The last
// node, N - 1, is last in pre-order and on the fifth level for N = 1000
// and N = 10000.
// Chain (kMsgTreeChain): one root "Level 0" and below it "Level 1",
// "Level 2", ... each the only child of the one before; ids level + 1.

// Toolbar buttons, in their default order: command id, text. Two
// separators (command id 0) follow "Save" and "Paste".
constexpr int kCmdItemsNew = 1210, kCmdItemsOpen = 1211, kCmdItemsSave = 1212;
constexpr int kCmdItemsCut = 1213, kCmdItemsCopy = 1214, kCmdItemsPaste = 1215;
// Order: New, Open, Save, separator, Cut, Copy, Paste, separator, Help(1216).
constexpr int kCmdItemsHelp = 1216;
constexpr int kToolbarButtonCount = 9;

// List box: item i has the text "Entry %02d", except: 5 "Apple", 12 "apple",
// 20 "Apple pie", 30 "Banana split", 45 "APPLE". 60 items by default.
constexpr int kListBoxDefaultCount = 60;

// Status bar panes, at start: "Ready", "Line 1", "" (empty), "60 entries".
// After kMsgStatusChange with wParam g (g > 0): "Busy g", "Line g+1", "",
// "g entries".
constexpr int kStatusPaneCount = 4;

// Messages (SendMessage from another process). To the frame:
constexpr UINT kMsgGetItemsWindow = WM_APP + 40;   // returns the items window
// To the items window:
constexpr UINT kMsgGetItemsControl = WM_APP + 41;  // wParam control id: its handle
constexpr UINT kMsgTreeDefault = WM_APP + 42;      // rebuild the default tree; returns the node count
constexpr UINT kMsgTreeGenerate = WM_APP + 43;     // wParam N (1..10000): generated tree; returns N, 0 when refused
constexpr UINT kMsgTreeChain = WM_APP + 44;        // wParam depth (1..2000): chain; returns depth, 0 when refused
constexpr UINT kMsgTreeReorder = WM_APP + 45;      // reverse the order of every level's items (default tree)
constexpr UINT kMsgTreeCollapseAll = WM_APP + 46;  // collapse every item
constexpr UINT kMsgTreeSetImage = WM_APP + 47;     // wParam node id, lParam image; 1 when done
constexpr UINT kMsgTreeSelect = WM_APP + 48;       // wParam node id (0 clears the selection); 1 when done
constexpr UINT kMsgTreeGetItem = WM_APP + 49;      // wParam node id: the item handle (0 when there is none)
constexpr UINT kMsgTreeDropTopLevel = WM_APP + 50; // default tree without its roots: their children become roots
constexpr UINT kMsgTreeIsExpanded = WM_APP + 51;   // wParam node id: 1 when expanded
constexpr UINT kMsgToolbarReverse = WM_APP + 52;   // reverse the order of the buttons
constexpr UINT kMsgToolbarDefault = WM_APP + 53;   // the default buttons in default order
constexpr UINT kMsgListBoxFill = WM_APP + 54;      // wParam N (0..100000): N items (special texts as above)
constexpr UINT kMsgListBoxGetTop = WM_APP + 55;    // returns the top index
constexpr UINT kMsgListBoxSetTop = WM_APP + 56;    // wParam index: make it the top item
constexpr UINT kMsgStatusChange = WM_APP + 57;     // wParam g: pane texts of generation g (0: the start texts)
constexpr UINT kMsgTreeSetLongText = WM_APP + 58;  // wParam node id, lParam length (1..4000): text of 'L's

}  // namespace sample

// ---- The accessibility window ---------------------------------------------
// A second top-level window, owned by the frame, that serves its own
// accessibility tree (the platform's default objects are thin) and has a
// popup menu with nested submenus. A controller finds it as the top-level
// window of class kAccWindowClass whose owner (GetWindow(w, GW_OWNER)) is
// the frame; its scrolling area is its child with id kAccScrollerId.
// Both windows answer WM_GETOBJECT for OBJID_WINDOW and OBJID_CLIENT with
// their root object; objects implement IOleWindow (except the orphan).
namespace sample {

constexpr char kAccWindowClass[] = "VintrelAccessibleWindow";
constexpr char kAccWindowTitle[] = "Vintrel Accessibility";
constexpr char kAccScrollerClass[] = "VintrelAccessibleScroller";
constexpr int kAccWindowX = 1290, kAccWindowY = 40, kAccWindowWidth = 610, kAccWindowHeight = 1000;

// Control ids (1300..1349) and popup-menu commands (1350..1399).
constexpr int kAccScrollerId = 1301;
// Scrolling area: a child without border at (10, 290) of the window's client
// area, 400 x 300 including its two scroll bars; content 1200 x 1500 pixels;
// a line is 20 pixels, a page the visible part.
constexpr int kAccScrollerX = 10, kAccScrollerY = 290, kAccScrollerWidth = 400, kAccScrollerHeight = 300;
constexpr int kAccContentWidth = 1200, kAccContentHeight = 1500, kAccLineStep = 20;

// The tree of the window (rectangles in its client coordinates; roles are
// the MSAA role numbers unless a string is named):
//   "Accessibility Sample" client, the whole window
//     "Buttons" grouping (10,10)-(590,110)
//       "OK" push button, description "Accept the changes" (20,30)-(120,60)
//       "Twin" push button, description "First twin" (130,30)-(230,60)
//       "Twin" push button, description "Second twin" (240,30)-(340,60)
//       "Level" slider, value "42" (350,30)-(580,60)
//       nameless push button (350,70)-(580,100) holding
//         "Inner Label" static text, the same rectangle
//       simple elements 6, 7, 8 (list items): "Alpha" (20,70)-(120,100),
//         "Beta" (130,70)-(230,100), "Gamma" (240,70)-(340,100)
//     "Custom" grouping (10,120)-(590,220)
//       "Pressure", role string "gauge", value "7 bar" (20,140)-(120,170)
//       "Orphan" push button without window or parent (130,140)-(230,170)
//       a 300-character name ("Long " then 'n's), a 300-character
//         description ('d's), a 300-character role string ('r's) (240,140)-(340,170)
//       "Clone" push button (350,140)-(460,170) and another (470,140)-(580,170)
//       "Stacked" push button twice, both (20,180)-(120,210)
//       simple elements 8 and 9 (list items), both "Chip": (130,180)-(230,210)
//         and (240,180)-(340,210)
//     "Failing" grouping (10,230)-(590,280)
//       an object whose every property call fails (20,240)-(120,270)
//       "Faulty" push button: its description code raises a structured
//         exception (130,240)-(230,270)
//       "After Faulty" push button (240,240)-(340,270)
//       "Faulty Value" push button, description "Its value faults": its
//         value code writes to an address no process may (350,240)-(450,270)
//     "Scroll Area" pane: the scrolling area's root (below)
//     "Grid" table (10,600)-(590,960): "Panel i" (grouping, i 0..9),
//       each "Row i.j" (row, j 0..9), each "Cell i.j.k" (cell, k 0..9):
//       1,111 objects, cells at level 4.
// The scrolling area's tree (its own window object):
//   "Scroll Area" pane, the whole scrolling window
//     "Content" grouping, the client area: its children are the items of
//       kAccScrollItems, which move as the area scrolls and are marked off
//       screen (STATE_SYSTEM_OFFSCREEN) when wholly outside the client area.
struct AccScrollItem {
    const char* pszName;
    const char* pszValue;
    int left, top, right, bottom;  // content coordinates
};
constexpr AccScrollItem kAccScrollItems[] = {
    {"Near", "", 20, 20, 120, 50},
    {"Mostly Visible", "", 310, 100, 410, 130},  // 90 of 100 pixels inside the window
    {"Seventy", "", 330, 140, 430, 170},          // exactly 70 inside
    {"Sixty", "", 340, 180, 440, 210},            // 60 inside
    {"Far Right", "", 900, 20, 1000, 50},
    {"Far Down", "", 20, 1200, 120, 1230},
    {"Far Corner", "", 1000, 1300, 1100, 1330},
    {"Dup", "one", 20, 400, 120, 430},
    {"Dup", "two", 20, 450, 120, 480},
};
constexpr int kAccScrollItemCount = sizeof(kAccScrollItems) / sizeof(kAccScrollItems[0]);

// The popup menu (kMsgAccGetPopupMenu gives its handle):
//   0 "Open Item" (1350)
//   1 "More" >  0 "Sub Item" (1351)
//               1 "Deeper" >  0 "Deepest" (1352)
//                             1 "Shared" (1353)
//   2 "Other" > 0 "Target" (1354)
//               1 "Shared" (1353)
//   3 separator
//   4 "Shared" (1353)
//   5 "Twice" (1355)
//   6 "Twice" (1355)
constexpr int kAccCmdOpenItem = 1350, kAccCmdSubItem = 1351, kAccCmdDeepest = 1352, kAccCmdShared = 1353,
              kAccCmdTarget = 1354, kAccCmdTwice = 1355;

// Messages to the accessibility window (SendMessage from another process):
// wParam x, lParam y: scroll the area to that content offset (clamped).
constexpr UINT kMsgAccScrollTo = WM_APP + 60;
// The area's scroll offset as MAKELONG(x, y).
constexpr UINT kMsgAccGetScroll = WM_APP + 61;
// wParam x, lParam y (screen): opens the popup menu there, after returning.
constexpr UINT kMsgAccOpenPopup = WM_APP + 62;
// Closes the open popup menu.
constexpr UINT kMsgAccClosePopup = WM_APP + 63;
// The popup menu's handle.
constexpr UINT kMsgAccGetPopupMenu = WM_APP + 64;
// wParam a menu handle, lParam a position: the item's screen rectangle
// while the menu is open, as left, top, right, bottom in 16 bits each from
// the lowest (0 when there is none).
constexpr UINT kMsgAccMenuItemRect = WM_APP + 65;
// 1 while the popup menu is open.
constexpr UINT kMsgAccIsPopupOpen = WM_APP + 66;
// WM_APP + 79 is the window's own: it opens the menu from its queue.

}  // namespace sample

// ---- The watch window: tabs, a caret, a context menu and a dialog box ----
//
// A second top-level window of class kWatchWindowClass, titled
// kWatchWindowTitle, owned by the frame and placed right below it (the
// frame's x, the frame's y + 710; 900x260). A controller finds it as the
// window of that class that belongs to the sample's process (EnumWindows,
// GetWindowThreadProcessId), or as FindWindowA(kWatchWindowClass, nullptr)
// when only one sample runs. The messages below go to this window.
namespace sample {

constexpr char kWatchWindowClass[] = "VintrelSampleWatch";
constexpr char kWatchWindowTitle[] = "Vintrel Watch";
constexpr int kWatchWindowYOffset = 710;  // below the frame, which is 700 high
constexpr int kWatchWindowWidth = 900;
constexpr int kWatchWindowHeight = 260;

// Tab controls (SysTabControl32), all children of the watch window. Images
// come from one image list of four colours (0..3).
// Texts and images; tabs 2 and 4 are twins (same text and image):
//   0 "Alpha"/0, 1 "Beta"/1, 2 "Twin"/2, 3 "Gamma"/3, 4 "Twin"/2, 5 "ALPHA"/1.
// 880 wide and 60 high: the client area's middle lies below the tab row.
constexpr int kTabTextId = 1101;
// Tabs that report no text: the control's window procedure is replaced so
// that TCM_GETITEM answers with pszText nullptr. Images 0, 1, 2, 1.
constexpr int kTabNoTextId = 1102;
// Button tabs of fixed width 60 (gaps of 3 pixels), "One".."Four"; one
// row, as high as the row: the middle hits a tab.
constexpr int kTabButtonsId = 1103;
// Fixed-width tabs (60, edge to edge), "One".."Four"; one row high.
constexpr int kTabFixedId = 1104;
// A single tab "Only", one row high.
constexpr int kTabSingleId = 1105;
// Window with a caret (class kCaretPadClass) and a single-line edit
// holding kEditText.
constexpr int kCaretPadId = 1110;
constexpr int kEditId = 1111;
constexpr char kCaretPadClass[] = "VintrelCaretPad";
constexpr char kEditText[] = "watch me";
// A child window (class kMenuOwnerClass) that owns the context menu when
// kMsgWatchOpenMenu is sent with wParam 1; it can be destroyed and made
// again (kMsgWatchMenuOwner).
constexpr int kMenuOwnerId = 1120;
constexpr char kMenuOwnerClass[] = "VintrelMenuOwner";
// The context menu's items.
constexpr int kCmdWatchFirst = 41001, kCmdWatchSecond = 41002, kCmdWatchThird = 41003;
// The dialog box's title.
constexpr char kWatchDialogTitle[] = "Watch Dialog";

// Messages to the watch window:
// Returns the handle of the child with id wParam.
constexpr UINT kMsgWatchGetControl = WM_APP + 20;
// Creates the caret in the caret pad (if there is none) at client point
// wParam, lParam; returns 1. wParam -1 destroys the caret instead.
constexpr UINT kMsgWatchSetCaret = WM_APP + 21;
// Opens the context menu (returns 1 at once; the menu opens right after):
// wParam 0 owned by the watch window, 1 by the menu-owner child.
constexpr UINT kMsgWatchOpenMenu = WM_APP + 22;
// Opens the modal dialog box owned by the watch window (returns 1 at once).
constexpr UINT kMsgWatchOpenDialog = WM_APP + 23;
// Closes an open menu and an open dialog box; returns 1.
constexpr UINT kMsgWatchCloseModal = WM_APP + 24;
// wParam 0: handle of the open dialog box (0 when none); 1: 1 while the
// context menu is open.
constexpr UINT kMsgWatchGetModal = WM_APP + 25;
// WM_ENTERIDLE messages that reached the own window procedures of the
// watch window (wParam 0) or of the menu-owner child (1); wParam 2 resets both.
constexpr UINT kMsgWatchIdleCount = WM_APP + 26;
// Counts of kMsgWatchPing seen by the sample's own hooks, installed on its
// thread at start with --own-hooks: wParam 0 its WH_GETMESSAGE hook (posted pings), 1 its
// WH_CALLWNDPROCRET hook (sent pings); 2 resets both.
constexpr UINT kMsgWatchChainCount = WM_APP + 27;
// Does nothing but return wParam + lParam; any window of the sample's
// thread may receive it (the watch window, the caret pad, a tab control).
constexpr UINT kMsgWatchPing = WM_APP + 28;
// wParam control id, lParam MAKELPARAM(tab index, image): changes a tab's image.
constexpr UINT kMsgWatchSetTabImage = WM_APP + 29;
// wParam control id: reverses the order of its tabs.
constexpr UINT kMsgWatchReverseTabs = WM_APP + 30;
// Puts every tab control back as it was at start (tabs, images, current tab 0).
constexpr UINT kMsgWatchResetTabs = WM_APP + 31;
// wParam control id, lParam tab index (-1 clears): the current tab.
constexpr UINT kMsgWatchSetCurrentTab = WM_APP + 32;
// wParam 0 destroys the menu-owner child, 1 makes it again; returns its handle.
constexpr UINT kMsgWatchMenuOwner = WM_APP + 33;
// Writes through lParam (a pointer) wParam bytes (at most 8192) of the
// pattern byte i = i & 0xFF, and returns wParam.
constexpr UINT kMsgWatchFillLParam = WM_APP + 34;
// Writes through wParam (a pointer) two i32: lParam and -lParam; returns 7.
constexpr UINT kMsgWatchFillWParam = WM_APP + 35;
// Returns wParam (as the whole result), touching no pointer.
constexpr UINT kMsgWatchEchoWParam = WM_APP + 36;
// The sample sends itself kMsgWatchPing with wParam 0 and lParam the
// QueryPerformanceCounter value taken just before (the clock is the same in
// every process): a sent message whose start a watcher can time.
constexpr UINT kMsgWatchSendStampedPing = WM_APP + 37;
// Renames a tab: wParam control id, lParam index; the text comes by
// WM_COPYDATA with dwData kCopyDataTabBase + control id * 256 + index.
constexpr ULONG_PTR kCopyDataTabBase = 0x200000;

}  // namespace sample

// ---- The virtual window: owner-data and owner-drawn controls -------------
//
// A top-level window of class kVirtualClass, titled kVirtualTitle, owned by
// the frame; opened only with --virtual (it lies over the frame at
// kVirtualX, kVirtualY). A controller finds it with kMsgGetVirtualWindow to
// the frame, or FindWindowA(kVirtualClass, nullptr) when one sample runs;
// its children by GetDlgItem with the ids below.
namespace sample {

constexpr char kVirtualClass[] = "VintrelSampleVirtual";
constexpr char kVirtualTitle[] = "Sample Virtual";
constexpr int kVirtualX = 60, kVirtualY = 60, kVirtualWidth = 860, kVirtualHeight = 660;

// SysListView32, LVS_OWNERDATA report view, columns "Name" and "Value".
// Row i has the text "Row %07d" and image i % 4; its "Value" column reads
// "Value %d" with i * 7. Rows 10, 20 and 30 (when present) all read "Twin".
// With an offset n (kMsgVirtualSetOffset) row i shows what row i + n
// showed (the Twins stay at 10, 20, 30). Texts come from LVN_GETDISPINFO;
// LVN_ODFINDITEM is answered by a scan from the start index (exact or
// prefix, case-insensitive, wrapping when asked).
constexpr int kVirtualListId = 1301;
constexpr int kVirtualDefaultRows = 1000000;
constexpr int kVirtualMaxRows = 100000000;
// LISTBOX, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS: line i reads "Line %05d";
// lines 7 and 70 (when present) read "Pair". Drawn by the window.
constexpr int kVirtualStringsListId = 1302;
// LISTBOX, LBS_OWNERDRAWFIXED without LBS_HASSTRINGS: each item's data is
// a pointer to the window's own record of the item (a name and a colour),
// which it draws; LB_GETTEXT answers the pointer's bytes. Item i is named
// "Swatch %d".
constexpr int kVirtualDataListId = 1303;
constexpr int kVirtualDefaultLines = 200;
constexpr int kVirtualMaxLines = 100000;
// A BUTTON with BS_GROUPBOX ("Files") created before the list view that
// lies inside it, so that the group box is above the list view in the
// z-order (as dialog templates often have it). The list view (not owner
// data) holds 20 items "File %02d".
constexpr int kVirtualGroupBoxId = 1304;
constexpr int kVirtualGroupListId = 1305;
constexpr int kVirtualGroupListItems = 20;
// ToolbarWindow32 whose button texts come from its string pool
// (TB_ADDSTRING; iString is an index): "Alpha", "Beta", "Gamma".
constexpr int kVirtualToolbarId = 1306;
constexpr int kCmdVirtualAlpha = 1310, kCmdVirtualBeta = 1311, kCmdVirtualGamma = 1312;
constexpr int kVirtualToolbarButtonCount = 3;

// Command line: --virtual opens the window; --virtual-rows N (1..100000000,
// default 1,000,000) the owner-data rows; --virtual-lines N (0..100000,
// default 200) the lines of each owner-drawn list box.

// To the frame: returns the virtual window (0 when it is not open).
constexpr UINT kMsgGetVirtualWindow = WM_APP + 100;
// To the virtual window:
constexpr UINT kMsgVirtualSetRows = WM_APP + 101;     // wParam N: rows of the owner-data list; 1 when done
constexpr UINT kMsgVirtualSetOffset = WM_APP + 102;   // wParam n: row i shows row i + n's text; 1
constexpr UINT kMsgVirtualSelect = WM_APP + 103;      // wParam row (-1 clears): selects and focuses it; 1
// How the window answers LVN_ODFINDITEM: wParam 0 correctly (the default),
// 1 not at all (the notification's default result, 0), 2 always -1,
// 3 always the row after the start (a wrong answer). Returns 1.
constexpr UINT kMsgVirtualFindMode = WM_APP + 104;
// Counters of notifications answered: wParam 0 LVN_ODFINDITEM, 1
// LVN_GETDISPINFO (text asked for), 2 resets both (returns 0).
constexpr UINT kMsgVirtualCount = WM_APP + 105;
constexpr UINT kMsgVirtualFillLines = WM_APP + 106;   // wParam N (0..100000): lines of both list boxes; 1
constexpr UINT kMsgVirtualReverseLines = WM_APP + 107;  // reverses the order of both list boxes' lines; 1
constexpr UINT kMsgVirtualListBoxTop = WM_APP + 108;  // wParam control id, lParam index: its top index; returns it
constexpr UINT kMsgVirtualScrollTop = WM_APP + 109;   // scrolls the owner-data list back to row 0; 1

}  // namespace sample
