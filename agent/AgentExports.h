// The library's exported entry points (undecorated names via Vintrel.def).
#pragma once
#include <windows.h>
#include "agent/Portability.h"

VINTREL_EXPORT BOOL WINAPI DllMain(HINSTANCE hinst, DWORD reason, LPVOID reserved);
VINTREL_EXPORT LRESULT CALLBACK AgentHookProc(int code, WPARAM wParam, LPARAM lParam);
VINTREL_EXPORT short WINAPI hookAgent(bool bInstall, HWND hwndTarget);
VINTREL_EXPORT HHOOK WINAPI spyWindow(bool bStart, DWORD dwReserved, HWND hwndTarget);
