// A guard around calls into code the agent does not trust (an accessible
// object's own property code): a structured exception raised while the
// call runs -- an access violation, a RaiseException with an error code --
// ends that call only, and the caller goes on.
//
// How: no compiler's exception syntax is needed. Before the call the guard
// captures the thread's context (RtlCaptureContext); a vectored exception
// handler, installed while a guard scope is open, answers an error-severity
// exception on the guarded thread by putting the captured context back, so
// that the thread continues as if the capture had just returned, and the
// guard reports the fault. This works the same with mingw-w64 (which has no
// __try) on both builds and with MSVC.
//
// What it catches: exceptions whose code has the error severity (both top
// bits set: 0xC0000005, 0xE0000001, an MSVC C++ exception). Informational
// and warning codes (debug output, breakpoints) pass on, as does a GCC C++
// exception (code 0x20474343), which the object's own handlers may be
// waiting for. Whatever the faulting code held (locks, memory) stays held.
//
// Guarded calls run under the agent lock: one thread at a time.
#pragma once
#include <windows.h>

#include <type_traits>

// Keeps the exception handler installed while it lives; guards opened
// inside share it. Cheap to open again when one is already open.
class CFaultGuardScope {
public:
    CFaultGuardScope();
    ~CFaultGuardScope();
    CFaultGuardScope(const CFaultGuardScope&) = delete;
    CFaultGuardScope& operator=(const CFaultGuardScope&) = delete;
    bool Installed() const;
};

// Runs pfn(pArg); false when a structured exception ended it (the code in
// *pdwCode when given). Without the handler (it could not be installed)
// the call runs unguarded.
bool CallWithFaultGuard(void (*pfn)(void*), void* pArg, DWORD* pdwCode = nullptr);

// The same for any callable: RunGuarded([&] { ... }).
template <class TCall>
bool RunGuarded(TCall&& call, DWORD* pdwCode = nullptr) {
    using CallType = typename std::remove_reference<TCall>::type;
    return CallWithFaultGuard([](void* p) { (*static_cast<CallType*>(p))(); }, &call, pdwCode);
}
