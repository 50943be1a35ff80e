// What the sample process holds, counted from inside it so that a soak can
// see growth where the system's own counters answer 0 (Wine): kernel handles
// by probing handle values, GDI objects by probing the handle table's
// indices, private bytes from the process's memory counters. And a way to
// leak on purpose, to show that the counting sees it. It also counts the
// accessible objects it handed out (WM_GETOBJECT answered), so that a soak
// can tell the platform's own cost of handing one out from the agent's.
#pragma once
#include <windows.h>

#include <cstdint>

enum class SampleResource { KernelHandles = 0, GdiObjects = 1, UserObjects = 2, PrivateKiB = 3, ObjectsHandedOut = 4 };

class CSampleResources {
public:
    static uint32_t Count(SampleResource resource);
    // Creates n events, n brushes, n message-only windows and n blocks of 16 KiB of heap and never gives them back.
    static void Leak(unsigned n);
    // Fetches the process's accessibility window's object n times and
    // releases it each time; how many it got.
    static unsigned FetchOwnObjects(unsigned n);
    // Called for each WM_GETOBJECT answered with an object.
    static void NoteObjectHandedOut();
};
