// The agent hook as loaded from the real library: reference-counted install,
// envelope handling, duplicate suppression, and pings across processes.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>
#include <atomic>

#include "client/AgentClient.h"
#include "common/Owned.h"
#include "tests/support/SampleProcess.h"

namespace {

typedef short(WINAPI* HookAgentFn)(bool, HWND);
typedef LRESULT(CALLBACK* HookProcFn)(int, WPARAM, LPARAM);

std::string AgentPath() { return TestProgramDirectory() + VINTREL_AGENT_FILE; }

// Counts the replies that reach a window.
class CReplyCounter {
public:
    CReplyCounter() {
        m_nReturn = RegisterWindowMessageA("TavmorAgentReturn");
        m_window.Reset(CreateWindowExA(0, "STATIC", "reply", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
        m_hwnd = m_window.Get();
    }
    HWND Window() const { return m_hwnd; }
    int Collect(DWORD waitMs = 50) {
        int n = 0;
        DWORD start = GetTickCount();
        do {
            MSG msg;
            // Pumps everything, so envelopes to windows of this thread pass the hook.
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.hwnd == m_hwnd && msg.message == m_nReturn) ++n;
            }
            Sleep(1);
        } while (GetTickCount() - start < waitMs);
        return n;
    }

private:
    UINT m_nReturn;
    COwnedWindow m_window;
    HWND m_hwnd;
};

class AgentHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_agent.Reset(LoadLibraryA(AgentPath().c_str()));
        m_hAgent = m_agent.Get();
        ASSERT_NE(m_hAgent, nullptr) << AgentPath();
        m_hookAgent = reinterpret_cast<HookAgentFn>(reinterpret_cast<void*>(GetProcAddress(m_hAgent, "hookAgent")));
        m_hookProc = reinterpret_cast<HookProcFn>(reinterpret_cast<void*>(GetProcAddress(m_hAgent, "AgentHookProc")));
        ASSERT_TRUE(m_hookAgent && m_hookProc);
        ReleaseAll();
        m_nEnvelope = RegisterWindowMessageA("TavmorVNLMessage");
        m_nReturn = RegisterWindowMessageA("TavmorAgentReturn");
        m_window.Reset(CreateWindowExA(0, "STATIC", "target", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
        m_hwnd = m_window.Get();
    }
    void TearDown() override {
        if (m_hookAgent) ReleaseAll();
        m_window.Reset();
        m_agent.Reset();
    }
    void ReleaseAll() {
        while (m_hookAgent(false, nullptr) > 0) {
        }
    }
    WPARAM EnvelopeWParam(UINT sub, HWND reply) const {
        return (static_cast<WPARAM>(sub & 0xFFFF) << 16) | (reinterpret_cast<ULONG_PTR>(reply) & 0xFFFF);
    }
    MSG Envelope(UINT sub, HWND reply, DWORD time) const {
        MSG msg = {};
        msg.hwnd = m_hwnd;
        msg.message = m_nEnvelope;
        msg.wParam = EnvelopeWParam(sub, reply);
        msg.time = time;
        return msg;
    }

    COwnedLibrary m_agent;
    COwnedWindow m_window;
    HMODULE m_hAgent = nullptr;
    HookAgentFn m_hookAgent = nullptr;
    HookProcFn m_hookProc = nullptr;
    UINT m_nEnvelope = 0, m_nReturn = 0;
    HWND m_hwnd = nullptr;
};

// A window on a thread of its own that pumps messages until told to stop.
class CWindowThread {
public:
    CWindowThread() {
        m_thread = std::thread([this] {
            COwnedWindow window(
                CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
            m_hwnd = window.Get();
            m_ready = true;
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        });
        while (!m_ready) Sleep(1);
        m_id = GetWindowThreadProcessId(m_hwnd, nullptr);
    }
    ~CWindowThread() {
        PostThreadMessageA(m_id, WM_QUIT, 0, 0);
        m_thread.join();
    }
    HWND Window() const { return m_hwnd; }

private:
    std::thread m_thread;
    std::atomic<bool> m_ready{false};
    HWND m_hwnd = nullptr;
    DWORD m_id = 0;
};

}  // namespace

TEST_F(AgentHookTest, CountsInstallsAndHooksOnlyTheFirstThread) {
    CWindowThread other;
    CReplyCounter replies;
    EXPECT_EQ(m_hookAgent(true, m_hwnd), 1);
    EXPECT_EQ(m_hookAgent(true, other.Window()), 2);

    // A ping to our own thread is answered once we retrieve it...
    PostMessageA(m_hwnd, m_nEnvelope, EnvelopeWParam(m_nReturn, replies.Window()), 0);
    EXPECT_EQ(replies.Collect(), 1);
    // ...while the other thread was never hooked.
    PostMessageA(other.Window(), m_nEnvelope, EnvelopeWParam(m_nReturn, replies.Window()), 0);
    EXPECT_EQ(replies.Collect(200), 0);

    EXPECT_EQ(m_hookAgent(false, nullptr), 1);
    EXPECT_EQ(m_hookAgent(false, nullptr), 0);
    EXPECT_EQ(m_hookAgent(false, nullptr), 0);
    // With the hook gone nobody answers.
    PostMessageA(m_hwnd, m_nEnvelope, EnvelopeWParam(m_nReturn, replies.Window()), 0);
    EXPECT_EQ(replies.Collect(100), 0);
    // A new series installs afresh.
    EXPECT_EQ(m_hookAgent(true, m_hwnd), 1);
    PostMessageA(m_hwnd, m_nEnvelope, EnvelopeWParam(m_nReturn, replies.Window()), 0);
    EXPECT_EQ(replies.Collect(), 1);
}

TEST_F(AgentHookTest, HookForAllThreadsReachesOtherThreads) {
    CWindowThread other;
    CReplyCounter replies;
    EXPECT_EQ(m_hookAgent(true, nullptr), 1);
    PostMessageA(other.Window(), m_nEnvelope, EnvelopeWParam(m_nReturn, replies.Window()), 0);
    EXPECT_EQ(replies.Collect(300), 1);
}

TEST_F(AgentHookTest, WithoutHookNothingIsHandled) {
    CReplyCounter replies;
    MSG msg = Envelope(m_nReturn, replies.Window(), 1234);
    EXPECT_EQ(m_hookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&msg)), 0);
    EXPECT_EQ(msg.message, m_nEnvelope);
    EXPECT_EQ(replies.Collect(), 0);
}

TEST_F(AgentHookTest, EnvelopeBecomesNullMessageForTheWindow) {
    CReplyCounter replies;
    ASSERT_EQ(m_hookAgent(true, m_hwnd), 1);
    PostMessageA(m_hwnd, m_nEnvelope, EnvelopeWParam(m_nReturn, replies.Window()), 77);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, m_hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_NULL));
    EXPECT_EQ(msg.wParam, reinterpret_cast<ULONG_PTR>(replies.Window()) & 0xFFFF);
    EXPECT_EQ(replies.Collect(), 1);
}

TEST_F(AgentHookTest, DuplicateEnvelopeRunsOnce) {
    CReplyCounter replies;
    ASSERT_EQ(m_hookAgent(true, m_hwnd), 1);

    // Peeked without removal, then retrieved: the same message twice.
    PostMessageA(m_hwnd, m_nEnvelope, EnvelopeWParam(m_nReturn, replies.Window()), 0);
    MSG peeked = {}, taken = {};
    ASSERT_TRUE(PeekMessageA(&peeked, m_hwnd, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&taken, m_hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(peeked.message, static_cast<UINT>(WM_NULL));
    EXPECT_EQ(taken.message, m_nEnvelope);  // the second pass leaves it alone
    EXPECT_EQ(replies.Collect(), 1);
}

TEST_F(AgentHookTest, DeduplicationKeysOnSubMessageAndTime) {
    CReplyCounter replies;
    ASSERT_EQ(m_hookAgent(true, m_hwnd), 1);
    const UINT other = RegisterWindowMessageA("TavmorGetItemRect");

    MSG a = Envelope(m_nReturn, replies.Window(), 500);
    EXPECT_EQ(m_hookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&a)), 1);
    MSG again = Envelope(m_nReturn, replies.Window(), 500);
    EXPECT_EQ(m_hookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&again)), 0);
    EXPECT_EQ(again.message, m_nEnvelope);
    EXPECT_EQ(replies.Collect(), 1);

    MSG later = Envelope(m_nReturn, replies.Window(), 501);
    EXPECT_EQ(m_hookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&later)), 1);
    EXPECT_EQ(replies.Collect(), 1);

    // A different request at the same time runs, and so does a ping after it.
    MSG different = Envelope(other, replies.Window(), 501);
    EXPECT_EQ(m_hookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&different)), 1);
    MSG pingAgain = Envelope(m_nReturn, replies.Window(), 501);
    EXPECT_EQ(m_hookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&pingAgain)), 1);
    EXPECT_EQ(replies.Collect(), 1);
}

TEST_F(AgentHookTest, UnknownSubMessageIsSwallowedWithoutReply) {
    CReplyCounter replies;
    ASSERT_EQ(m_hookAgent(true, m_hwnd), 1);
    MSG msg = Envelope(0x1234, replies.Window(), 900);
    EXPECT_EQ(m_hookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&msg)), 1);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_NULL));
    EXPECT_EQ(replies.Collect(), 0);
}

namespace {
std::atomic<int> g_seenByEarlierHook{0};
HHOOK g_earlierHook = nullptr;
LRESULT CALLBACK EarlierHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && msg->message == WM_USER + 42) ++g_seenByEarlierHook;
    return CallNextHookEx(g_earlierHook, code, wParam, lParam);
}
}  // namespace

TEST_F(AgentHookTest, OrdinaryMessagesGoOnToOtherHooksOfTheThread) {
    // Hooks run newest first: the agent, installed second, sees messages
    // first and must pass every ordinary message on.
    COwnedHook earlier(SetWindowsHookExA(WH_GETMESSAGE, EarlierHook, nullptr, GetCurrentThreadId()));
    g_earlierHook = earlier.Get();
    ASSERT_NE(g_earlierHook, nullptr);
    ASSERT_EQ(m_hookAgent(true, m_hwnd), 1);
    g_seenByEarlierHook = 0;
    PostMessageA(m_hwnd, WM_USER + 42, 1, 2);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, m_hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 42));  // delivered unchanged
    EXPECT_EQ(g_seenByEarlierHook.load(), 1) << "the agent's hook cut the chain";
    // The envelope itself stays the agent's: the earlier hook sees WM_NULL.
    CReplyCounter replies;
    PostMessageA(m_hwnd, m_nEnvelope, EnvelopeWParam(m_nReturn, replies.Window()), 0);
    ASSERT_TRUE(PeekMessageA(&msg, m_hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_NULL));
    EXPECT_EQ(replies.Collect(), 1);
    ReleaseAll();
    PostMessageA(m_hwnd, WM_USER + 42, 1, 2);
    ASSERT_TRUE(PeekMessageA(&msg, m_hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(g_seenByEarlierHook.load(), 2);
}

// The whole road: the client hooks a separate process and pings it.
TEST(AgentPing, AnswersAcrossProcesses) {
    CSampleProcess app;
    std::string error;
    ASSERT_TRUE(app.Start("--items 5 --no-dialog", &error)) << error;
    CAgentClient client;
    ASSERT_TRUE(client.Open(&error)) << error;
    ASSERT_TRUE(client.Hook(app.Frame()));
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(client.Ping(app.Frame(), 5000), AgentStatus::Ok) << "ping " << i;
    }
    client.UnhookAll();
    EXPECT_EQ(client.Ping(app.Frame(), 300), AgentStatus::Timeout);
}

TEST(AgentPing, ReportsUnreachableTargets) {
    CAgentClient client;
    std::string error;
    EXPECT_EQ(client.Ping(nullptr), AgentStatus::NotOpen);
    ASSERT_TRUE(client.Open(&error)) << error;
    HWND gone = CreateWindowExA(0, "STATIC", "gone", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(client.Ping(gone, 200), AgentStatus::PostFailed);
}
