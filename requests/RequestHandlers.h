// Request handlers called by the dispatcher with the envelope message, whose
// wParam already holds only the reply window.
#pragma once
#include <windows.h>

void OnGetItemRect(MSG& msg);
void OnLocateItem(MSG& msg);
void OnInfoProbe(MSG& msg);

// Posts the reply notification every handler ends with.
void PostAgentReturn(const MSG& msg);
