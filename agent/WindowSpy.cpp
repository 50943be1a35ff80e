// The desktop-wide window spy is not part of this build: spyWindow exists so
// that controllers can bind it, and reports that no spy hook was installed.
#include "agent/AgentExports.h"

VINTREL_EXPORT HHOOK WINAPI spyWindow(bool, DWORD, HWND) {
    return nullptr;
}
