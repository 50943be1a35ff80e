// What the sample process holds, counted from inside it so that a soak can
// see growth where the system's own counters answer 0 (Wine): kernel handles
// by probing handle values, GDI objects by probing the handle table's
// indices, private bytes from the process's memory counters. And a way to
// leak on purpose, to show that the counting sees it.
#pragma once
#include <windows.h>

#include <cstdint>

enum class SampleResource { KernelHandles = 0, GdiObjects = 1, UserObjects = 2, PrivateKiB = 3 };

class CSampleResources {
public:
    static uint32_t Count(SampleResource resource);
    // Creates n events, n brushes and n KiB of heap and never gives them back.
    static void Leak(unsigned n);
};
