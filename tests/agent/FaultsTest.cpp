// Faults the target and the controller survive, each with a real second
// process: a window destroyed while a request for it waits in the queue,
// the hook removed and installed again while a request is still queued.
// (A stalled target and a controller killed in the middle of its requests
// are in ControllerTest.cpp; a watch, the menu probe and the spy left
// running by a killed controller in tests/tool/WatchToolTest.cpp.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "sample/SampleProtocol.h"
#include "tests/support/HookedSample.h"

namespace {

class FaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string error = m_sample.Start("--no-dialog --items 20");
        ASSERT_TRUE(error.empty()) << error;
        ASSERT_EQ(Client().Ping(Frame()), AgentStatus::Ok);
    }
    CAgentClient& Client() { return m_sample.Client(); }
    HWND Frame() { return m_sample.App().Frame(); }
    void Stall(DWORD ms) { ASSERT_TRUE(PostMessageA(Frame(), sample::kMsgStall, ms, 0)); }

    CHookedSample m_sample;
};

TEST_F(FaultsTest, AWindowDestroyedWhileItsRequestWaitsIsNoHarm) {
    HWND edit = GetDlgItem(GetDlgItem(m_sample.App().Control(sample::kPanelId), sample::kGroupId), sample::kDeepEditId);
    ASSERT_NE(edit, nullptr);
    Stall(600);
    ASSERT_TRUE(PostMessageA(Frame(), sample::kMsgDestroyControl, sample::kDeepEditId, 0));
    // The probe waits behind the stall and the destruction.
    ProbeResult probe = ProbeWindow(Client(), edit, true, kItemKindListView, 0, 0, 3000);
    EXPECT_TRUE(probe.status == AgentStatus::Ok || probe.status == AgentStatus::Timeout)
        << AgentStatusText(probe.status);
    if (probe.status == AgentStatus::Ok) {
        EXPECT_EQ(probe.description.window.className, "") << "a window that is gone";
    }
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_TRUE(m_sample.App().IsRunning());
    EXPECT_EQ(Client().Ping(Frame()), AgentStatus::Ok);
    ItemAtResult at = GetItemRect(Client(), m_sample.App().Control(sample::kListViewId), kItemKindListView, 0, 0);
    EXPECT_EQ(at.status, AgentStatus::Ok);
}

TEST_F(FaultsTest, UnhookingWhileARequestIsQueuedThenHookingAgainWorks) {
    Stall(800);
    // The request waits in the queue; the controller gives up on it and
    // removes its hook meanwhile.
    EXPECT_EQ(Client().Ping(Frame(), 100), AgentStatus::Timeout);
    Client().UnhookAll();
    Sleep(1000);  // the sample wakes, and retrieves the envelope unhooked
    EXPECT_TRUE(m_sample.App().IsRunning());
    // Unhooked, nothing answers: not even the ping that would end the stall.
    EXPECT_EQ(Client().Ping(Frame(), 300), AgentStatus::Stalled);

    HookReport hook = Client().Hook(Frame());
    ASSERT_TRUE(hook) << hook.error;
    // The resync ping posted before the hook went was never seen; it is
    // posted again, and the client does not stay stalled.
    EXPECT_EQ(Client().Ping(Frame(), 3000), AgentStatus::Ok);
    EXPECT_FALSE(Client().IsStalled());
    EXPECT_EQ(Client().Ping(Frame()), AgentStatus::Ok);
}

}  // namespace
