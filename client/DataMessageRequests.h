// Typed calls for "TavmorDataMessage": the small queries the agent runs
// inside the target's thread (a message whose parameter points at memory of
// the target, the caret, a menu item's rectangle, a click point on a tab
// control) and the adding and removing of message watches.
//
//   DataPairResult r = SendForValuePair(client, edit, EM_GETSEL, 0, PointerPlacement::InWParam);
//   DataPointResult caret = GetCaretPosition(client, window);
//
// The window is one of the hooked thread; it receives the message, and it
// names the thread whose caret is read and whose messages are watched.
#pragma once
#include <windows.h>
#include <cstdint>

#include "client/AgentClient.h"
#include "forms/DataMessageCommands.h"

// Where the agent's result buffer goes in the message it sends; the other
// parameter carries the caller's value.
enum class PointerPlacement { InLParam, InWParam };

struct DataPairResult {
    AgentStatus status = AgentStatus::NotOpen;
    int32_t first = 0;
    int32_t second = 0;
};
struct DataRectResult {
    AgentStatus status = AgentStatus::NotOpen;
    RECT rect = {0, 0, 0, 0};
};
struct DataPointResult {
    AgentStatus status = AgentStatus::NotOpen;
    POINT point = {0, 0};
};

// Any command, as the record carries it; on Ok the reply cursor reads the
// values behind the header word. Commands without a reply (a watch, an
// invalid code) give NotProcessed: the record keeps the request.
AgentStatus SendDataCommand(CAgentClient& client, HWND window, uint32_t p1, uint32_t p2, uint32_t p3, uint16_t code,
                            CWireCursor* reply, DWORD timeoutMs = CAgentClient::kDefaultTimeoutMs);

// Command 0: sends message with value and a pointer to two i32 preset to
// -1; when the message left both at -1, the halves of its result (each
// sign-extended) come back instead.
DataPairResult SendForValuePair(CAgentClient& client, HWND window, UINT message, uint32_t value,
                                PointerPlacement placement);
// Command 1: the four i32 the message wrote (preset 0), as a RECT.
DataRectResult SendForRect(CAgentClient& client, HWND window, UINT message, uint32_t value,
                           PointerPlacement placement);
// Command 2: the two i32 the message wrote (preset 0).
DataPairResult SendForTwoValues(CAgentClient& client, HWND window, UINT message, uint32_t value,
                                PointerPlacement placement);
// Command 3: the caret of the window's thread, client coordinates of the
// caret's window; 0, 0 without a caret.
DataPointResult GetCaretPosition(CAgentClient& client, HWND window);
// Command 4: listener hears of message on the window's thread; Ok once the
// agent has taken the request.
AgentStatus AddMessageWatch(CAgentClient& client, HWND watched, UINT message, HWND listener);
// Command 4 with message 0: one occurrence of listener goes from every
// message of the window's thread.
AgentStatus RemoveMessageWatch(CAgentClient& client, HWND watched, HWND listener);
// Command 9: the screen rectangle of item (by position) of menu as shown
// by menuWindow; all zero when there is none. window is any window of the
// thread that shows the menu.
DataRectResult GetMenuItemRectangle(CAgentClient& client, HWND window, HWND menuWindow, HMENU menu, UINT item);
// Command 10: a screen point inside the tab control, in its middle or on
// the boundary between the tab there and its neighbour.
DataPointResult GetTabClickPoint(CAgentClient& client, HWND tabControl);
