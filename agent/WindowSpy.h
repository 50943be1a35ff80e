// The window spy's state in this process (the export spyWindow is in
// agent/AgentExports.h).
#pragma once
#include <windows.h>

#include <cstdint>

// A decimal window handle as the profile holds it, by the rules of atoi but
// without overflow (kept in 32 bits).
int32_t ParseSpyTarget(const char* pszText);
// The target from the profile entry: nullptr unless it names a window.
HWND ReadSpyTargetFromProfile();
// The window this process reports to; nullptr until known.
HWND SpyTargetOfThisProcess();
// Removes the spy's hook (if this process installed it) and forgets the
// target; at process detach, and for spyWindow's stop.
void ReleaseWindowSpy();
