#include "sample/SampleResources.h"

#include <psapi.h>

#include <memory>
#include <vector>

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

uint32_t PrivateKiB() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return 0;
    return static_cast<uint32_t>(counters.PagefileUsage / 1024);
}

}  // namespace

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
    case SampleResource::UserObjects:
        return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    case SampleResource::PrivateKiB:
        return PrivateKiB();
    }
    return 0;
}

void CSampleResources::Leak(unsigned n) {
    // Kept in a list that is never emptied: a leak on purpose.
    static std::vector<std::unique_ptr<char[]>> s_memory;
    for (unsigned i = 0; i < n; ++i) {
        CreateEventA(nullptr, FALSE, FALSE, nullptr);
        CreateSolidBrush(RGB(i & 0xFF, 0, 0));
        std::unique_ptr<char[]> block(new char[1024]);
        for (int k = 0; k < 1024; k += 64) block[k] = 1;  // touched, so it counts
        s_memory.push_back(std::move(block));
    }
}
