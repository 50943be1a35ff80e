// Message watch entry point fed by the agent hook with every ordinary message
// the hooked thread retrieves.
#pragma once
#include <windows.h>

void WatchRetrievedMessage(const CWPRETSTRUCT& record, int code);
