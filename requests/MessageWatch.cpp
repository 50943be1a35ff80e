// The message-watch registry and its hook procedure.
#include "requests/MessageWatch.h"

#include <algorithm>

#include "agent/AgentSharedState.h"

namespace {
CMessageWatch g_messageWatch;
}  // namespace

CMessageWatch& TheMessageWatch() { return g_messageWatch; }

LRESULT CALLBACK WatchHookProc(int code, WPARAM wParam, LPARAM lParam) {
    return g_messageWatch.OnHookCall(code, wParam, lParam);
}

CMessageWatch::CMessageWatch() { InitializeCriticalSection(&m_csRegistry); }

CMessageWatch::~CMessageWatch() {
    ReleaseAll();
    DeleteCriticalSection(&m_csRegistry);
}

void CMessageWatch::Watch(UINT nMessage, HWND hwndListener, HWND hwndWatched) {
    if (nMessage == 0) {
        Unwatch(hwndListener, hwndWatched);
        return;
    }
    const DWORD dwThread = GetWindowThreadProcessId(hwndWatched, nullptr);
    CCriticalSectionGuard lock(m_csRegistry);
    std::unique_ptr<WatchThreadRecord>& pRecord = m_threads[dwThread];
    if (!pRecord) {
        pRecord.reset(new WatchThreadRecord());
        // No window, no thread: thread 0 would make the hook one for every
        // thread of the desktop. The record stays without a hook, as after a
        // failed installation.
        if (dwThread != 0) {
            pRecord->hHook.Reset(SetWindowsHookExA(WH_CALLWNDPROCRET, WatchHookProc, g_hInstance, dwThread));
        }
    }
    pRecord->listeners[nMessage].push_back(hwndListener);
}

void CMessageWatch::Unwatch(HWND hwndListener, HWND hwndWatched) {
    const DWORD dwThread = GetWindowThreadProcessId(hwndWatched, nullptr);
    COwnedHook hookToRemove;
    {
        CCriticalSectionGuard lock(m_csRegistry);
        auto found = m_threads.find(dwThread);
        if (found == m_threads.end()) return;
        WatchThreadRecord& record = *found->second;
        for (auto it = record.listeners.begin(); it != record.listeners.end();) {
            std::vector<HWND>& list = it->second;
            auto occurrence = std::find(list.begin(), list.end(), hwndListener);
            if (occurrence != list.end()) list.erase(occurrence);
            it = list.empty() ? record.listeners.erase(it) : std::next(it);
        }
        if (!record.listeners.empty()) return;
        hookToRemove = std::move(record.hHook);
        m_threads.erase(found);
    }
    // hookToRemove unhooks the thread here, outside the registry lock.
}

void CMessageWatch::ReleaseAll() {
    std::map<DWORD, std::unique_ptr<WatchThreadRecord>> released;
    {
        CCriticalSectionGuard lock(m_csRegistry);
        released.swap(m_threads);
    }
    // The records, and with them their hooks, go here.
}

LRESULT CMessageWatch::OnHookCall(int code, WPARAM wParam, LPARAM lParam) {
    const bool bFromAgent = code == kAgentHookCode;
    const CWPRETSTRUCT* pRecord = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    // A call that Windows made always goes on down the chain, whether or not
    // this registry knows the thread; only the agent's own hand-over ends here.
    const LRESULT kHandOverResult = 0;
    if (!pRecord || (!bFromAgent && code < 0) || pRecord->message == 0) {
        return bFromAgent ? kHandOverResult : CallNextHookEx(nullptr, code, wParam, lParam);
    }
    const UINT nAgentReturn = g_sharedState.nAgentReturnMsg;
    const DWORD dwThread = GetWindowThreadProcessId(pRecord->hwnd, nullptr);
    {
        CCriticalSectionGuard lock(m_csRegistry);
        auto found = m_threads.find(dwThread);
        if (found != m_threads.end()) {
            auto listeners = found->second->listeners.find(pRecord->message);
            if (listeners != found->second->listeners.end()) {
                // Posting never waits for the listener's thread.
                for (HWND hwndListener : listeners->second) {
                    PostMessageA(hwndListener, nAgentReturn, pRecord->wParam, pRecord->lParam);
                }
            }
        }
    }
    return bFromAgent ? kHandOverResult : CallNextHookEx(nullptr, code, wParam, lParam);
}

size_t CMessageWatch::WatchedThreadCount() {
    CCriticalSectionGuard lock(m_csRegistry);
    return m_threads.size();
}

bool CMessageWatch::IsThreadHooked(DWORD dwThread) {
    CCriticalSectionGuard lock(m_csRegistry);
    auto found = m_threads.find(dwThread);
    return found != m_threads.end() && static_cast<bool>(found->second->hHook);
}

std::vector<HWND> CMessageWatch::Listeners(DWORD dwThread, UINT nMessage) {
    CCriticalSectionGuard lock(m_csRegistry);
    auto found = m_threads.find(dwThread);
    if (found == m_threads.end()) return std::vector<HWND>();
    auto listeners = found->second->listeners.find(nMessage);
    if (listeners == found->second->listeners.end()) return std::vector<HWND>();
    return listeners->second;
}
