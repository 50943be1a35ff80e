// The message watch: the registry itself, in-process, on windows of two
// threads (duplicates, removals, the hooks it adds and removes, the hook
// chain kept), and through the agent in the sample (command 4, sent and
// posted messages, other windows of the thread, the application's own
// hooks still seeing their messages).
#include <atomic>
#include <thread>

#include "agent/AgentSharedState.h"
#include "client/MessageWatcher.h"
#include "requests/MessageWatch.h"
#include "tests/support/WatchSampleSuite.h"

namespace {

const UINT kWatched = WM_APP + 0x150;
const UINT kOther = WM_APP + 0x151;

// A window on a thread of its own that pumps messages until told to stop.
class CWindowThread {
public:
    CWindowThread() {
        m_thread = std::thread([this] {
            // The window goes with its thread.
            COwnedWindow window(CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                                nullptr, nullptr));
            m_hwnd = window.Get();
            m_id = GetCurrentThreadId();
            m_ready = true;
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        });
        while (!m_ready) Sleep(1);
    }
    ~CWindowThread() {
        PostThreadMessageA(m_id, WM_QUIT, 0, 0);
        m_thread.join();
    }
    HWND Window() const { return m_hwnd; }
    DWORD Id() const { return m_id; }

private:
    std::thread m_thread;
    std::atomic<bool> m_ready{false};
    HWND m_hwnd = nullptr;
    DWORD m_id = 0;
};

HWND MakeWindow(const char* title) {
    return CreateWindowExA(0, "STATIC", title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

class MessageWatchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The registry of this test program's own copy of the agent: its
        // notification id registered, as the library does when it loads.
        AgentProcessAttach(GetModuleHandleA(nullptr));
    }
    void SetUp() override {
        m_watchedWindow.Reset(MakeWindow("watched"));
        m_siblingWindow.Reset(MakeWindow("sibling"));
        m_watched = m_watchedWindow.Get();
        m_sibling = m_siblingWindow.Get();
        m_nReturn = g_sharedState.nAgentReturnMsg;
        ASSERT_NE(m_nReturn, 0u);
    }
    void TearDown() override {
        TheMessageWatch().ReleaseAll();
        m_watchedWindow.Reset();
        m_siblingWindow.Reset();
    }
    CMessageWatch& Registry() { return TheMessageWatch(); }
    size_t Heard(CListenerWindow& listener, size_t expected) {
        listener.Pump(expected ? 1000 : 60, m_nReturn, expected);
        size_t n = listener.HeardOf(m_nReturn).size();
        listener.Forget();
        return n;
    }

    COwnedWindow m_watchedWindow, m_siblingWindow;
    HWND m_watched = nullptr, m_sibling = nullptr;
    UINT m_nReturn = 0;
    CListenerWindow m_listener;
};

TEST_F(MessageWatchTest, SentMessageReachesEachListenerOccurrenceWithItsParameters) {
    Registry().Watch(kWatched, m_listener.Window(), m_watched);
    SendMessageA(m_watched, kWatched, 0x1111, 0x2222);
    m_listener.Pump(1000, m_nReturn, 1);
    std::vector<CListenerWindow::Heard> heard = m_listener.HeardOf(m_nReturn);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].wParam, 0x1111u);
    EXPECT_EQ(heard[0].lParam, 0x2222);
    m_listener.Forget();

    Registry().Watch(kWatched, m_listener.Window(), m_watched);
    SendMessageA(m_watched, kWatched, 1, 2);
    EXPECT_EQ(Heard(m_listener, 2), 2u) << "a listener added twice hears each message twice";
    Registry().Unwatch(m_listener.Window(), m_watched);
    SendMessageA(m_watched, kWatched, 1, 2);
    EXPECT_EQ(Heard(m_listener, 1), 1u) << "one Unwatch removes one occurrence";
    EXPECT_TRUE(Registry().IsThreadHooked(GetCurrentThreadId()));
    Registry().Unwatch(m_listener.Window(), m_watched);
    EXPECT_EQ(Registry().WatchedThreadCount(), 0u);
    SendMessageA(m_watched, kWatched, 1, 2);
    EXPECT_EQ(Heard(m_listener, 0), 0u);
}

TEST_F(MessageWatchTest, EveryWindowOfTheWatchedThreadIsWatchedOtherMessagesAreNot) {
    Registry().Watch(kWatched, m_listener.Window(), m_watched);
    SendMessageA(m_sibling, kWatched, 3, 4);
    EXPECT_EQ(Heard(m_listener, 1), 1u) << "the watch covers the thread, not only the window";
    SendMessageA(m_watched, kOther, 3, 4);
    EXPECT_EQ(Heard(m_listener, 0), 0u);
    // A watch with message 0 removes the listener.
    Registry().Watch(0, m_listener.Window(), m_watched);
    EXPECT_EQ(Registry().WatchedThreadCount(), 0u);
}

TEST_F(MessageWatchTest, WatchesOnTwoThreadsHaveAHookEach) {
    CWindowThread other;
    CListenerWindow second;
    Registry().Watch(kWatched, m_listener.Window(), m_watched);
    Registry().Watch(kWatched, second.Window(), other.Window());
    EXPECT_EQ(Registry().WatchedThreadCount(), 2u);
    EXPECT_TRUE(Registry().IsThreadHooked(GetCurrentThreadId()));
    EXPECT_TRUE(Registry().IsThreadHooked(other.Id()));

    SendMessageA(other.Window(), kWatched, 9, 10);
    EXPECT_EQ(Heard(second, 1), 1u) << "reported from the other thread's own hook";
    EXPECT_EQ(Heard(m_listener, 0), 0u) << "a watch of this thread hears nothing of the other";
    SendMessageA(m_watched, kWatched, 9, 10);
    EXPECT_EQ(Heard(m_listener, 1), 1u);
    EXPECT_EQ(Heard(second, 0), 0u);

    Registry().Unwatch(second.Window(), other.Window());
    EXPECT_EQ(Registry().WatchedThreadCount(), 1u);
    EXPECT_FALSE(Registry().IsThreadHooked(other.Id()));
    SendMessageA(other.Window(), kWatched, 9, 10);
    EXPECT_EQ(Heard(second, 0), 0u);
}

TEST_F(MessageWatchTest, UnwatchDropsOnlyEntriesLeftEmpty) {
    CListenerWindow second;
    // One listener on two messages: gone entirely with one Unwatch.
    Registry().Watch(kWatched, m_listener.Window(), m_watched);
    Registry().Watch(kOther, m_listener.Window(), m_watched);
    Registry().Unwatch(m_listener.Window(), m_watched);
    EXPECT_EQ(Registry().WatchedThreadCount(), 0u);
    EXPECT_FALSE(Registry().IsThreadHooked(GetCurrentThreadId()));

    // Two listeners on one message, the second also on another.
    Registry().Watch(kWatched, m_listener.Window(), m_watched);
    Registry().Watch(kWatched, second.Window(), m_watched);
    Registry().Watch(kOther, second.Window(), m_watched);
    Registry().Unwatch(second.Window(), m_watched);
    const DWORD thread = GetCurrentThreadId();
    EXPECT_TRUE(Registry().IsThreadHooked(thread));
    EXPECT_TRUE(Registry().Listeners(thread, kOther).empty());
    ASSERT_EQ(Registry().Listeners(thread, kWatched).size(), 1u);
    EXPECT_EQ(Registry().Listeners(thread, kWatched)[0], m_listener.Window());

    // A listener that was never added changes nothing.
    CListenerWindow stranger;
    Registry().Unwatch(stranger.Window(), m_watched);
    EXPECT_EQ(Registry().Listeners(thread, kWatched).size(), 1u);
}

std::atomic<int> g_laterHookSaw{0};
std::atomic<int> g_laterHookSawDestroyed{0};
LRESULT CALLBACK OlderCallWndProcRetHook(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code >= 0 && call->message == kWatched) ++g_laterHookSaw;
    if (code >= 0 && call->message == WM_NCDESTROY) ++g_laterHookSawDestroyed;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MessageWatchTest, OlderHooksOfTheThreadStillSeeEveryCall) {
    // Hooks run newest first: the watch's hook, installed after this one,
    // must pass each call on -- also for a window it cannot place (one
    // being destroyed) and for messages nobody watches.
    COwnedHook older(SetWindowsHookExA(WH_CALLWNDPROCRET, OlderCallWndProcRetHook, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(older);
    g_laterHookSaw = 0;
    g_laterHookSawDestroyed = 0;
    Registry().Watch(kOther, m_listener.Window(), m_watched);
    SendMessageA(m_watched, kWatched, 0, 0);
    SendMessageA(m_sibling, kWatched, 0, 0);
    COwnedWindow(MakeWindow("short-lived")).Close();
    EXPECT_EQ(g_laterHookSaw.load(), 2);
    EXPECT_EQ(g_laterHookSawDestroyed.load(), 1);
}

TEST_F(MessageWatchTest, ReleaseAllUnhooksEveryThread) {
    CWindowThread other;
    Registry().Watch(kWatched, m_listener.Window(), m_watched);
    Registry().Watch(kWatched, m_listener.Window(), other.Window());
    Registry().ReleaseAll();
    EXPECT_EQ(Registry().WatchedThreadCount(), 0u);
    SendMessageA(other.Window(), kWatched, 0, 0);
    SendMessageA(m_watched, kWatched, 0, 0);
    EXPECT_EQ(Heard(m_listener, 0), 0u);
}

TEST_F(MessageWatchTest, LeavingTheProcessUnhooksEveryWatch) {
    CWindowThread other;
    Registry().Watch(kWatched, m_listener.Window(), m_watched);
    Registry().Watch(kWatched, m_listener.Window(), other.Window());
    ASSERT_TRUE(Registry().IsThreadHooked(other.Id()));
    // What the library does when it leaves the process; then back in.
    AgentProcessDetach();
    EXPECT_EQ(Registry().WatchedThreadCount(), 0u);
    EXPECT_FALSE(Registry().IsThreadHooked(other.Id()));
    AgentProcessAttach(GetModuleHandleA(nullptr));
    SendMessageA(other.Window(), kWatched, 0, 0);
    SendMessageA(m_watched, kWatched, 0, 0);
    EXPECT_EQ(Heard(m_listener, 0), 0u) << "a watch outlived the library";
}

TEST_F(MessageWatchTest, AgentHandOverIsReportedAndNeverPassedOn) {
    Registry().Watch(kWatched, m_listener.Window(), m_watched);
    CWPRETSTRUCT record = {};
    record.hwnd = m_watched;
    record.message = kWatched;
    record.wParam = 77;
    record.lParam = 88;
    EXPECT_EQ(WatchHookProc(CMessageWatch::kAgentHookCode, 0, reinterpret_cast<LPARAM>(&record)), 0);
    m_listener.Pump(1000, m_nReturn, 1);
    std::vector<CListenerWindow::Heard> heard = m_listener.HeardOf(m_nReturn);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].wParam, 77u);
    EXPECT_EQ(heard[0].lParam, 88);
    record.hwnd = nullptr;  // a thread message: no thread to place
    EXPECT_EQ(WatchHookProc(CMessageWatch::kAgentHookCode, 0, reinterpret_cast<LPARAM>(&record)), 0);
}

// Through the agent in the sample, with the client's watcher.
class SampleWatchTest : public CWatchSampleSuite<SampleWatchTest> {
protected:
    LRESULT SendTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
        return static_cast<LRESULT>(result);
    }
    struct Notification {
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Notification> m_heard;
    CMessageWatcher::Callback Keep() {
        return [this](WPARAM w, LPARAM l) { m_heard.push_back({w, l}); };
    }
};

TEST_F(SampleWatchTest, SentAndPostedMessagesOfTheThreadReachTheListener) {
    CMessageWatcher watcher(Client(), Keep());
    ASSERT_EQ(watcher.Add(m_watch, sample::kMsgWatchPing), AgentStatus::Ok);
    EXPECT_EQ(SendTo(m_watch, sample::kMsgWatchPing, 0x10, 0x20), 0x30);
    watcher.Pump(2000, 1);
    ASSERT_EQ(m_heard.size(), 1u);
    EXPECT_EQ(m_heard[0].wParam, 0x10u);
    EXPECT_EQ(m_heard[0].lParam, 0x20);

    // Another window of the same thread.
    HWND pad = WatchControl(sample::kCaretPadId);
    EXPECT_EQ(SendTo(pad, sample::kMsgWatchPing, 1, 2), 3);
    watcher.Pump(2000, 1);
    ASSERT_EQ(m_heard.size(), 2u) << "a message to the caret pad, another window of the watched thread";
    EXPECT_EQ(m_heard[1].wParam, 1u);

    // Posted: reported once, by the agent's own hook when retrieved.
    PostMessageA(m_watch, sample::kMsgWatchPing, 5, 6);
    watcher.Pump(2000, 1);
    watcher.Pump(150);
    ASSERT_EQ(m_heard.size(), 3u) << "a posted message is reported once";
    EXPECT_EQ(m_heard[2].lParam, 6);

    ASSERT_EQ(watcher.Remove(m_watch), AgentStatus::Ok);
    SendTo(m_watch, sample::kMsgWatchPing, 1, 1);
    PostMessageA(m_watch, sample::kMsgWatchPing, 1, 1);
    watcher.Pump(200);
    EXPECT_EQ(m_heard.size(), 3u) << "removed by command 4 with message 0";
}

TEST_F(SampleWatchTest, DuplicatesCountTwiceAndTheWatcherRemovesWhatItAdded) {
    {
        CMessageWatcher watcher(Client(), Keep());
        ASSERT_EQ(watcher.Add(m_watch, sample::kMsgWatchPing), AgentStatus::Ok);
        ASSERT_EQ(watcher.Add(m_watch, sample::kMsgWatchPing), AgentStatus::Ok);
        ASSERT_EQ(watcher.Add(m_watch, sample::kMsgWatchEchoWParam), AgentStatus::Ok);
        SendTo(m_watch, sample::kMsgWatchPing, 7, 7);
        watcher.Pump(2000, 2);
        EXPECT_EQ(m_heard.size(), 2u) << "added twice, heard twice";
        ASSERT_EQ(watcher.Remove(m_watch), AgentStatus::Ok);
        m_heard.clear();
        SendTo(m_watch, sample::kMsgWatchPing, 7, 7);
        SendTo(m_watch, sample::kMsgWatchEchoWParam, 8, 8);
        watcher.Pump(2000, 1);
        watcher.Pump(150);
        EXPECT_EQ(m_heard.size(), 1u) << "one removal leaves one ping watch and drops the echo watch";
    }
    // The watcher is gone and with it its watches: a fresh one hears once.
    m_heard.clear();
    CMessageWatcher fresh(Client(), Keep());
    ASSERT_EQ(fresh.Add(m_watch, sample::kMsgWatchPing), AgentStatus::Ok);
    SendTo(m_watch, sample::kMsgWatchPing, 9, 9);
    fresh.Pump(2000, 1);
    fresh.Pump(150);
    EXPECT_EQ(m_heard.size(), 1u);
}

TEST_F(SampleWatchTest, ApplicationsOwnHooksKeepSeeingTheirMessages) {
    ASSERT_EQ(ToWatch(sample::kMsgWatchChainCount, 2), 1);
    CMessageWatcher watcher(Client(), Keep());
    ASSERT_EQ(watcher.Add(m_watch, sample::kMsgWatchPing), AgentStatus::Ok);
    for (int i = 0; i < 3; ++i) PostMessageA(m_watch, sample::kMsgWatchPing, i, 0);
    for (int i = 0; i < 2; ++i) SendTo(m_watch, sample::kMsgWatchPing, i, 0);
    // Sent messages overtake posted ones: wait until the watch reported all
    // five, so that the posted ones have been retrieved.
    watcher.Pump(3000, 5);
    EXPECT_EQ(m_heard.size(), 5u);
    EXPECT_EQ(ToWatch(sample::kMsgWatchChainCount, 0), 3) << "posted pings seen by the sample's WH_GETMESSAGE hook";
    EXPECT_EQ(ToWatch(sample::kMsgWatchChainCount, 1), 2) << "sent pings seen by the sample's WH_CALLWNDPROCRET hook";
}

}  // namespace
