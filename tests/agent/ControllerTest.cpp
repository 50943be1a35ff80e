// A controller that cannot be fooled: a record held by another controller is
// refused, a request that timed out never answers for the next one, and
// hooking says whether the hook is really there.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "common/Owned.h"
#include "sample/SampleProtocol.h"
#include "tests/support/HookedSample.h"
#include "tests/support/SharedSampleSuite.h"

namespace {

typedef short(WINAPI* HookAgentFn)(bool, HWND);

TEST(ControllerRecord, ARecordAnotherControllerHoldsIsRefused) {
    std::string error;
    // Another controller's record, of a size of its own.
    COwnedHandle foreign(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "TavmorAgentMapFile"));
    ASSERT_TRUE(foreign);
    CAgentClient second;
    EXPECT_FALSE(OpenTestClient(second, CAgentClient::kDefaultRecordSize, &error));
    EXPECT_NE(error.find("another controller holds the record"), std::string::npos) << error;
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.View(), nullptr);

    foreign.Reset();
    CAgentClient first;
    ASSERT_TRUE(OpenTestClient(first, CAgentClient::kDefaultRecordSize, &error)) << error;
    CAgentClient third;
    EXPECT_FALSE(OpenTestClient(third, CAgentClient::kDefaultRecordSize, &error));
    EXPECT_NE(error.find("another controller holds the record"), std::string::npos) << error;
    // The first one's record is untouched by the refused attempt.
    EXPECT_TRUE(first.IsOpen());
    EXPECT_GE(first.ViewSize(), first.RecordSize());
}

TEST(ControllerRecord, RequestsNeverRunPastTheViewsRealSize) {
    std::string error;
    CAgentClient client;
    // Asked for less than a page: the record is what was asked for, the
    // view a whole page, and a request larger than the record is refused
    // before it is posted.
    ASSERT_TRUE(OpenTestClient(client, 100, &error)) << error;
    EXPECT_EQ(client.RecordSize(), 100u);
    EXPECT_EQ(client.ViewSize(), 4096u);
    CWireCursor w = client.BeginRequest();
    for (int i = 0; i < 30; ++i) w.WriteU32(0xABABABAB);
    EXPECT_FALSE(w.Ok());
    EXPECT_EQ(client.Send(nullptr, client.Messages().nGetItemRect, 0, w, nullptr), AgentStatus::BadRequest);
}

class StalledTargetTest : public CSharedSampleSuite<StalledTargetTest> {
public:
    static constexpr const char* kArguments = "--no-dialog --items 50";
    static constexpr size_t kRecordSize = CAgentClient::kDefaultRecordSize;

protected:
    void SetUp() override {
        CSharedSampleSuite::SetUp();
        if (HasFatalFailure()) return;
        m_list = s_app->Control(sample::kListViewId);
        ASSERT_NE(m_list, nullptr);
        ASSERT_EQ(s_app->Send(sample::kMsgScrollTop), 1);
        ASSERT_EQ(s_client->Ping(s_app->Frame()), AgentStatus::Ok);
        // A point on the list's first row, and the item and rectangle there.
        RECT client;
        GetClientRect(m_list, &client);
        for (int y = 0; y < client.bottom && m_expected.index < 0; y += 3) {
            m_point = {20, y};
            ClientToScreen(m_list, &m_point);
            m_expected = GetItemRect(*s_client, m_list, kItemKindListView, m_point.x, m_point.y);
            ASSERT_EQ(m_expected.status, AgentStatus::Ok);
        }
        ASSERT_GE(m_expected.index, 0);
    }

    void Stall(DWORD ms) { ASSERT_TRUE(PostMessageA(s_app->Frame(), sample::kMsgStall, ms, 0)); }

    // A probe of the list with an item: its reply is a description, never
    // an index and a rectangle.
    AgentStatus ProbeThatTimesOut() {
        return ProbeWindow(*s_client, m_list, true, kItemKindListView, 3, 0, 300).status;
    }

    HWND m_list = nullptr;
    POINT m_point = {0, 0};
    ItemAtResult m_expected;
};

TEST_F(StalledTargetTest, ALateRequestNeverAnswersForTheNextOne) {
    Stall(1500);
    EXPECT_EQ(ProbeThatTimesOut(), AgentStatus::Timeout);
    EXPECT_TRUE(s_client->IsStalled());
    // The probe still waits in the target's queue. The next request waits
    // until it has run, and then gets its own answer.
    ItemAtResult at = GetItemRect(*s_client, m_list, kItemKindListView, m_point.x, m_point.y);
    ASSERT_EQ(at.status, AgentStatus::Ok) << AgentStatusText(at.status);
    EXPECT_EQ(at.index, m_expected.index);
    EXPECT_TRUE(EqualRect(&at.rect, &m_expected.rect))
        << "got (" << at.rect.left << "," << at.rect.top << ")-(" << at.rect.right << "," << at.rect.bottom << ")";
    EXPECT_FALSE(s_client->IsStalled());
}

TEST_F(StalledTargetTest, WhileTheTargetStaysBusyRequestsFailAsStalledThenSucceed) {
    Stall(2500);
    EXPECT_EQ(ProbeThatTimesOut(), AgentStatus::Timeout);
    // Still busy: the request is refused before anything is written.
    ItemAtResult busy = GetItemRect(*s_client, m_list, kItemKindListView, m_point.x, m_point.y, 0, 300);
    EXPECT_EQ(busy.status, AgentStatus::Stalled) << AgentStatusText(busy.status);
    EXPECT_EQ(s_client->Ping(m_list, 300), AgentStatus::Stalled);
    // Once it is done, everything is as before.
    ItemAtResult at = GetItemRect(*s_client, m_list, kItemKindListView, m_point.x, m_point.y, 0, 8000);
    ASSERT_EQ(at.status, AgentStatus::Ok) << AgentStatusText(at.status);
    EXPECT_EQ(at.index, m_expected.index);
    EXPECT_EQ(s_client->Ping(m_list), AgentStatus::Ok);
}

TEST(ControllerHook, ReportsTheInstalledHookAndRefusesWhatIsNoWindow) {
    CSampleProcess app;
    std::string error;
    ASSERT_TRUE(app.Start("--items 5 --no-dialog", &error)) << error;
    CAgentClient client;
    ASSERT_TRUE(OpenTestClient(client, CAgentClient::kDefaultRecordSize, &error)) << error;

    // A window that is gone has no thread; hooking it must not hook every
    // thread of the desktop instead.
    HWND gone = CreateWindowExA(0, "STATIC", "gone", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    HookReport none = client.Hook(gone);
    EXPECT_FALSE(none);
    EXPECT_EQ(none.nCount, -1) << "the agent was asked to hook a window that is gone";
    EXPECT_FALSE(none.error.empty());

    HookReport hook = client.Hook(app.Frame());
    ASSERT_TRUE(hook) << hook.error;
    EXPECT_EQ(hook.nCount, 1);
    EXPECT_NE(hook.hHook, 0u);
    EXPECT_EQ(client.Ping(app.Frame()), AgentStatus::Ok);
    client.UnhookAll();
    EXPECT_EQ(client.Ping(app.Frame(), 300), AgentStatus::Timeout);
}

TEST(ControllerHook, AHookThatAnEarlierCallerPlacedOnAnotherThreadIsNotTakenForOurs) {
    CSampleProcess app;
    std::string error;
    ASSERT_TRUE(app.Start("--items 5 --no-dialog", &error)) << error;
    CAgentClient client;
    ASSERT_TRUE(OpenTestClient(client, CAgentClient::kDefaultRecordSize, &error)) << error;
    // Someone else in this process installed the agent for a window of its
    // own thread first.
    COwnedWindow own(CreateWindowExA(0, "STATIC", "own", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    HookAgentFn hookAgent =
        reinterpret_cast<HookAgentFn>(reinterpret_cast<void*>(GetProcAddress(client.Agent(), "hookAgent")));
    ASSERT_NE(hookAgent, nullptr);
    ASSERT_EQ(hookAgent(true, own.Get()), 1);

    HookReport hook = client.Hook(app.Frame());
    EXPECT_FALSE(hook) << "the sample's thread is not hooked";
    EXPECT_EQ(hook.nCount, 2);
    EXPECT_NE(hook.hHook, 0u);
    EXPECT_NE(hook.error.find("earlier"), std::string::npos) << hook.error;
    client.UnhookAll();
    EXPECT_EQ(hookAgent(false, nullptr), 0);
}

TEST(ControllerHook, AControllerThatEndedWithoutReleasingLeavesNoInstallsBehind) {
    CSampleProcess app;
    std::string error;
    ASSERT_TRUE(app.Start("--items 5 --no-dialog", &error)) << error;
    // Another controller pings the sample and is killed in the middle.
    char frame[32];
    std::snprintf(frame, sizeof(frame), "0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(app.Frame())));
    std::string line = "\"" + TestProgramDirectory() + "vintrel.exe\" ping --count 100000 --hwnd " + frame;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi));
    COwnedHandle controller(pi.hProcess), thread(pi.hThread);
    Sleep(1500);
    ASSERT_EQ(WaitForSingleObject(controller.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the controller stopped early";
    TerminateProcess(controller.Get(), 1);
    WaitForSingleObject(controller.Get(), 5000);

    // Its hook went with it; a new controller starts a series of its own.
    CAgentClient client;
    ASSERT_TRUE(OpenTestClient(client, CAgentClient::kDefaultRecordSize, &error)) << error;
    HookReport hook = client.Hook(app.Frame());
    ASSERT_TRUE(hook) << hook.error;
    EXPECT_EQ(hook.nCount, 1);
    EXPECT_EQ(client.Ping(app.Frame()), AgentStatus::Ok);
    EXPECT_TRUE(app.IsRunning());
}

}  // namespace
