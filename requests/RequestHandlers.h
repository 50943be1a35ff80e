// Request handlers called by the dispatcher with the envelope message, whose
// wParam already holds only the reply window. The table of requests
// (channel/MessageTable.h) names the handler of each.
#pragma once
#include <windows.h>

void OnPing(MSG& msg);
void OnGetItemRect(MSG& msg);
void OnLocateItem(MSG& msg);
void OnInfoProbe(MSG& msg);
void OnDataMessage(MSG& msg);
// "TavmorItemList": a page of the items of a control.
void OnItemList(MSG& msg);
// Starts (lParam not 0) or stops the menu probe; replies only to the start
// that installs the probe's hook.
void OnSetMenuProbe(MSG& msg);

// Posts the reply notification every handler ends with.
void PostAgentReturn(const MSG& msg);
