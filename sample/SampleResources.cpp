#include "sample/SampleResources.h"

#include <oleacc.h>
#include <psapi.h>

#include <memory>
#include <vector>

#include "accessibility/AccessibleInterface.h"
#include "sample/SampleProtocol.h"

namespace {

// Kernel handle values are multiples of 4; a process of this size stays far
// below this many.
const uintptr_t kHandleProbeLimit = 0x20000;

uint32_t ProbeKernelHandles() {
    uint32_t count = 0;
    for (uintptr_t value = 4; value < kHandleProbeLimit; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

// A GDI handle's low word is its index in the handle table; asked with the
// high word 0, the table answers for whatever object lives at the index.
uint32_t ProbeGdiObjects() {
    uint32_t count = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++count;
    }
    return count;
}

BOOL CALLBACK CountChildWindow(HWND, LPARAM lParam);

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM lParam) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    uint32_t* pCount = reinterpret_cast<uint32_t*>(lParam);
    ++*pCount;
    EnumChildWindows(hwnd, CountChildWindow, lParam);
    return TRUE;
}

BOOL CALLBACK CountChildWindow(HWND, LPARAM lParam) {
    ++*reinterpret_cast<uint32_t*>(lParam);
    return TRUE;
}

// The windows of this process, message-only windows included: the USER
// objects a leak of the agent's would most likely be.
uint32_t CountWindows() {
    uint32_t count = 0;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    for (HWND hwnd = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); hwnd;
         hwnd = FindWindowExA(HWND_MESSAGE, hwnd, nullptr, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        if (process == GetCurrentProcessId()) ++count;
    }
    return count;
}

uint32_t PrivateKiB() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return 0;
    return static_cast<uint32_t>(counters.PagefileUsage / 1024);
}

LONG g_nObjectsHandedOut = 0;

}  // namespace

unsigned CSampleResources::FetchOwnObjects(unsigned n) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, sample::kAccWindowClass, nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) break;
    }
    unsigned got = 0;
    for (unsigned i = 0; window && i < n; ++i) {
        IAccessible* pObject = nullptr;
        if (SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                                 reinterpret_cast<void**>(&pObject))) &&
            pObject) {
            pObject->Release();
            ++got;
        }
    }
    return got;
}

void CSampleResources::NoteObjectHandedOut() { InterlockedIncrement(&g_nObjectsHandedOut); }

uint32_t CSampleResources::Count(SampleResource resource) {
    switch (resource) {
    case SampleResource::KernelHandles: {
        DWORD reported = 0;
        GetProcessHandleCount(GetCurrentProcess(), &reported);
        return reported ? reported : ProbeKernelHandles();
    }
    case SampleResource::GdiObjects: {
        const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        return reported ? reported : ProbeGdiObjects();
    }
    case SampleResource::UserObjects: {
        const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
        return reported ? reported : CountWindows();
    }
    case SampleResource::PrivateKiB:
        return PrivateKiB();
    case SampleResource::ObjectsHandedOut:
        return static_cast<uint32_t>(g_nObjectsHandedOut);
    }
    return 0;
}

// Larger than the heap's slack, so that a leak of a few blocks shows.
const size_t kLeakBlockBytes = 16 * 1024;

void CSampleResources::Leak(unsigned n) {
    // Kept in a list that is never emptied: a leak on purpose.
    static std::vector<std::unique_ptr<char[]>> s_memory;
    for (unsigned i = 0; i < n; ++i) {
        CreateEventA(nullptr, FALSE, FALSE, nullptr);
        CreateSolidBrush(RGB(i & 0xFF, 0, 0));
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        std::unique_ptr<char[]> block(new char[kLeakBlockBytes]);
        for (size_t k = 0; k < kLeakBlockBytes; k += 64) block[k] = 1;  // touched, so it counts
        s_memory.push_back(std::move(block));
    }
}
