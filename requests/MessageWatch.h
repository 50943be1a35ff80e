// The process-wide message watch: which listener windows of a controller
// want to hear of which messages handled by which threads of this process.
//
// A watch names a message, a listener window and a watched window. While it
// stands, each time any window of the watched window's thread handles the
// message, the listener is posted "TavmorAgentReturn" with the message's
// wParam and lParam. Sent messages are seen by a WH_CALLWNDPROCRET hook that
// the registry installs on each watched thread (after the window procedure
// returned); posted messages are handed over by the agent's own
// WH_GETMESSAGE hook with the code kAgentHookCode (when the thread
// retrieves them).
//
// The same listener may be added more than once (it then hears each
// occurrence as often); each Unwatch removes one occurrence from every
// message of the thread, and the thread loses its hook when its last
// listener goes. Watches still standing when the library leaves the process
// are unhooked then (ReleaseAll), so no hook procedure outlives the code.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "common/Owned.h"

class CMessageWatch {
public:
    // Code with which the agent's own hook hands a retrieved message over.
    static const int kAgentHookCode = 255;

    CMessageWatch();
    virtual ~CMessageWatch();
    CMessageWatch(const CMessageWatch&) = delete;
    CMessageWatch& operator=(const CMessageWatch&) = delete;

    // Adds hwndListener for nMessage on the thread of hwndWatched; with
    // nMessage 0 removes it instead (Unwatch).
    void Watch(UINT nMessage, HWND hwndListener, HWND hwndWatched);
    // Removes one occurrence of hwndListener from every message of the
    // thread of hwndWatched.
    void Unwatch(HWND hwndListener, HWND hwndWatched);
    // Unhooks every watched thread and forgets every watch.
    void ReleaseAll();

    // The work of WatchHookProc: tells the listeners of the record's message
    // and passes a call that Windows made on to the next hook.
    LRESULT OnHookCall(int code, WPARAM wParam, LPARAM lParam);

    // What the registry holds, for those who check it.
    size_t WatchedThreadCount();
    bool IsThreadHooked(DWORD dwThread);
    // Listener windows of nMessage on dwThread, in the order they were added.
    std::vector<HWND> Listeners(DWORD dwThread, UINT nMessage);

private:
    struct WatchThreadRecord {
        COwnedHook hHook;  // nullptr when installation failed; the record stays
        std::map<UINT, std::vector<HWND>> listeners;
    };

    // Guards the maps. The hook procedure runs on whichever thread handles
    // a watched message, while Watch and Unwatch run in a request handler;
    // nothing that can wait for another thread happens while it is held.
    CRITICAL_SECTION m_csRegistry;
    std::map<DWORD, std::unique_ptr<WatchThreadRecord>> m_threads;
};

// The registry of this process: constructed when the library is loaded,
// destroyed (its hooks removed) when it is unloaded.
CMessageWatch& TheMessageWatch();

// The WH_CALLWNDPROCRET hook procedure of every watched thread; lParam
// points at a CWPRETSTRUCT. The agent's hook calls it with kAgentHookCode.
LRESULT CALLBACK WatchHookProc(int code, WPARAM wParam, LPARAM lParam);
