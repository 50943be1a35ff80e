// The menu probe: while it runs, each time a menu's (or a dialog box's)
// modal loop of this process goes idle, the controller's probe window is
// sent "TavmorMenuResult" with the handle of the menu window (lParam of
// WM_ENTERIDLE). Started and stopped by "TavmorSetMenuProbe".
//
// The probe is a WH_CALLWNDPROC hook for every thread of the desktop, so
// the library is loaded into every GUI process while it runs; the hook
// procedure acts only in the process that started the probe (the one that
// holds the probe's hook and reply window) and merely passes the call on
// elsewhere, so it never leaves a window procedure replaced in a process
// where no stop will run. The first menu owner seen idle gets its window
// procedure replaced by MenuOwnerSubclassProc until the probe stops.
#pragma once
#include <windows.h>

// Start: installs the hook if there is none and then posts
// "TavmorAgentReturn" to hwndReply; a repeated start only changes the reply
// window. Called under the agent lock.
void StartMenuProbe(HWND hwndReply);
// Stop: removes the hook, puts the owner's window procedure back (when the
// window still exists), and keeps hwndReply as the reply window. Nothing is
// posted. Called under the agent lock.
void StopMenuProbe(HWND hwndReply);
// At process detach: removes the hook and the replaced procedure, if any.
void ReleaseMenuProbe();

// For those who check the probe's state in this process.
bool IsMenuProbeRunning();
HWND MenuProbeSubclassedWindow();

LRESULT CALLBACK MenuProbeHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MenuOwnerSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
