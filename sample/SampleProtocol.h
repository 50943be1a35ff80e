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
// handles, 1 GDI objects, 2 USER objects (0 where the system cannot tell),
// 3 private KiB.
constexpr UINT kMsgCountResources = WM_APP + 16;
// Leaks wParam events, brushes and KiB on purpose (at most 10,000).
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
// kMsgGetItemsWindow to the frame, or with FindWindow(kItemsClass, NULL)
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
