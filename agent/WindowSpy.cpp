// The window spy: while it runs, every message handled anywhere on the
// desktop is reported to the spy target window with "TavmorSpyWindow"
// (wParam the message number, lParam its lParam).
//
// spyWindow runs in the controller's process and installs a
// WH_CALLWNDPROCRET hook for every thread, so the library is loaded into
// every GUI process. The controller's process knows the target from the
// call; every other process learns it from the profile entry "SPY" of the
// section "QXJ" (the target's handle as a decimal number), read on its
// first hook call -- which is therefore not reported -- and again on each
// call while the entry holds no window, and once more when the window it
// reports to is gone.
#include <windows.h>

#include <cstdint>

#include "agent/AgentExports.h"
#include "agent/AgentSharedState.h"
#include "agent/WindowSpy.h"
#include "common/Owned.h"

namespace {

const char kProfileSection[] = "QXJ";
const char kProfileKey[] = "SPY";
// The longest value read from the profile, in characters.
const DWORD kProfileValueChars = 128;

COwnedHook g_hSpyHook;
HWND g_hwndSpyTarget = nullptr;

LRESULT CALLBACK SpyHookProc(int code, WPARAM wParam, LPARAM lParam);

}  // namespace

// Decimal text by the rules of atoi -- leading blanks, an optional sign,
// digits up to the first other character -- kept in 32 bits without
// overflowing: a window handle as the profile holds it. 0 when there are
// no digits.
int32_t ParseSpyTarget(const char* pszText) {
    if (!pszText) return 0;
    const char* p = pszText;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-') bNegative = *p++ == '-';
    uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<uint32_t>(*p - '0');
    if (bNegative) value = 0u - value;
    return static_cast<int32_t>(value);
}

HWND ReadSpyTargetFromProfile() {
    char szValue[kProfileValueChars + 1];
    szValue[0] = '\0';
    GetProfileStringA(kProfileSection, kProfileKey, "0", szValue, sizeof(szValue));
    szValue[kProfileValueChars] = '\0';
    HWND hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(ParseSpyTarget(szValue)));
    // Whatever the profile holds, only a window becomes the target.
    return hwnd && IsWindow(hwnd) ? hwnd : nullptr;
}

HWND SpyTargetOfThisProcess() { return g_hwndSpyTarget; }

void ReleaseWindowSpy() {
    g_hSpyHook.Close();
    g_hwndSpyTarget = nullptr;
}

namespace {

LRESULT CALLBACK SpyHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* pCall = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    HWND hwndTarget = g_hwndSpyTarget;
    if (!hwndTarget) {
        g_hwndSpyTarget = ReadSpyTargetFromProfile();
    } else if (pCall &&
               !PostMessageA(hwndTarget, g_nSpyWindowMsg, static_cast<WPARAM>(pCall->message), pCall->lParam) &&
               !IsWindow(hwndTarget)) {
        // The target is gone (its spy stopped and a later one may run with
        // another window): learn the target afresh from the profile.
        g_hwndSpyTarget = nullptr;
    }
    return CallNextHookEx(g_hSpyHook.Get(), code, wParam, lParam);
}

}  // namespace

VINTREL_EXPORT HHOOK WINAPI spyWindow(bool bStart, DWORD, HWND hwndTarget) {
    if (bStart) {
        if (!g_hSpyHook) {
            g_hwndSpyTarget = hwndTarget;
            g_hSpyHook.Reset(SetWindowsHookExA(WH_CALLWNDPROCRET, SpyHookProc, g_hInstance, 0));
        }
        return g_hSpyHook.Get();
    }
    // A stop where no spy runs changes nothing.
    if (g_hSpyHook) ReleaseWindowSpy();
    return nullptr;
}
