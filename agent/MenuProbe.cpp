// The menu probe's state in this process, its start and stop, and its two
// procedures.
#include "agent/MenuProbe.h"

#include "agent/AgentSharedState.h"
#include "common/Owned.h"
#include "requests/RequestHandlers.h"

namespace {

// What the owner's procedure is told while the probe runs.
const LRESULT kIdleAnswer = 0x3FFFF;
// A menu loop must never hang on a window that does not answer.
const UINT kSendTimeoutMs = 2000;

COwnedHook g_hMenuProbeHook;
HWND g_hwndMenuProbeReply = nullptr;
WNDPROC g_pfnSavedWndProc = nullptr;
HWND g_hwndSubclassed = nullptr;

// Puts the owner's own procedure back when the window still exists; the
// state is cleared either way.
void RestoreOwner() {
    if (g_pfnSavedWndProc && IsWindow(g_hwndSubclassed)) {
        SetWindowLongPtrA(g_hwndSubclassed, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnSavedWndProc));
    }
    g_pfnSavedWndProc = nullptr;
    g_hwndSubclassed = nullptr;
}

}  // namespace

void StartMenuProbe(HWND hwndReply) {
    if (!g_hMenuProbeHook) {
        g_hMenuProbeHook.Reset(SetWindowsHookExA(WH_CALLWNDPROC, MenuProbeHookProc, g_hInstance, 0));
        PostMessageA(hwndReply, g_sharedState.nAgentReturnMsg, 0, 0);
    }
    g_hwndMenuProbeReply = hwndReply;
}

void StopMenuProbe(HWND hwndReply) {
    g_hMenuProbeHook.Close();
    RestoreOwner();
    g_hwndMenuProbeReply = hwndReply;
}

void ReleaseMenuProbe() {
    g_hMenuProbeHook.Close();
    RestoreOwner();
    g_hwndMenuProbeReply = nullptr;
}

bool IsMenuProbeRunning() { return static_cast<bool>(g_hMenuProbeHook); }

HWND MenuProbeSubclassedWindow() { return g_hwndSubclassed; }

void OnSetMenuProbe(MSG& msg) {
    HWND hwndReply = reinterpret_cast<HWND>(msg.wParam);
    if (msg.lParam != 0) {
        StartMenuProbe(hwndReply);
    } else {
        StopMenuProbe(hwndReply);
    }
}

LRESULT CALLBACK MenuProbeHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* pCall = reinterpret_cast<const CWPSTRUCT*>(lParam);
    // Only the process that started the probe acts on it: elsewhere no stop
    // would ever put a replaced procedure back.
    if (code >= 0 && pCall && pCall->message == WM_ENTERIDLE && g_hMenuProbeHook && g_hwndMenuProbeReply) {
        {
            // The stop may run on another thread of this process.
            CCriticalSectionGuard lock(g_csAgent);
            if (g_hMenuProbeHook && !g_pfnSavedWndProc && IsWindow(pCall->hwnd)) {
                g_pfnSavedWndProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                    pCall->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuOwnerSubclassProc)));
                g_hwndSubclassed = g_pfnSavedWndProc ? pCall->hwnd : nullptr;
            }
        }
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(HWND_BROADCAST, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
        SendMessageTimeoutA(g_hwndMenuProbeReply, g_sharedState.nMenuResultMsg, 0, pCall->lParam,
                            SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
    }
    return CallNextHookEx(g_hMenuProbeHook.Get(), code, wParam, lParam);
}

LRESULT CALLBACK MenuOwnerSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE) return kIdleAnswer;
    WNDPROC pfnSaved = g_pfnSavedWndProc;
    if (!pfnSaved || hwnd != g_hwndSubclassed) {
        // Ours no longer knows the window's own procedure; its class does.
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return CallWindowProcA(pfnSaved, hwnd, message, wParam, lParam);
}
