// The menu probe, started in the sample through the agent: one reply for
// the start that installs it, "TavmorMenuResult" for each idle menu or
// dialog box loop, the owner's own procedure kept from WM_ENTERIDLE while
// replaced and given back at the stop (also when the owner is gone), and
// nothing done in a process where no probe was started.
#include <cstring>

#include "tests/watch/WatchSampleSuite.h"

namespace {

const LRESULT kSubclassIdleAnswer = 0x3FFFF;

class MenuProbeTest : public CWatchSampleSuite<MenuProbeTest> {
protected:
    void SetUp() override {
        CWatchSampleSuite::SetUp();
        if (HasFatalFailure()) return;
        m_owner = reinterpret_cast<HWND>(ToWatch(sample::kMsgWatchMenuOwner, 1));
        ASSERT_NE(m_owner, nullptr);
        ToWatch(sample::kMsgWatchIdleCount, 2);
    }
    void TearDown() override {
        ToWatch(sample::kMsgWatchCloseModal);
        Probe(false, m_first);
        m_first.Pump(100);
    }
    // Posts "TavmorSetMenuProbe" with reply as the reply window. A swallowed
    // envelope goes first, so that two requests within one clock tick are
    // not taken for one seen twice.
    void Probe(bool start, const CListenerWindow& reply) {
        const AgentMessages& m = Client().Messages();
        const WPARAM replyBits = reinterpret_cast<ULONG_PTR>(reply.Window()) & 0xFFFF;
        PostMessageA(m_watch, m.nEnvelope, replyBits, 0);
        PostMessageA(m_watch, m.nEnvelope, (static_cast<WPARAM>(m.nSetMenuProbe & 0xFFFF) << 16) | replyBits,
                     start ? 1 : 0);
        ToWatch(sample::kMsgWatchGetModal);
    }
    size_t Replies(CListenerWindow& w, size_t expected) {
        w.Pump(expected ? 2000 : 300, Client().Messages().nAgentReturn, expected);
        return w.HeardOf(Client().Messages().nAgentReturn).size();
    }
    std::vector<CListenerWindow::Heard> Results(CListenerWindow& w, size_t expected) {
        w.Pump(expected ? 3000 : 200, Client().Messages().nMenuResult, expected);
        return w.HeardOf(Client().Messages().nMenuResult);
    }
    LRESULT Idle(HWND owner, LPARAM lParam) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(owner, WM_ENTERIDLE, MSGF_MENU, lParam, SMTO_NORMAL, 5000, &result);
        return static_cast<LRESULT>(result);
    }
    static std::string ClassOf(HWND hwnd) {
        char cls[64] = "";
        GetClassNameA(hwnd, cls, sizeof(cls));
        return cls;
    }

    HWND m_owner = nullptr;
    CListenerWindow m_first, m_second;
};

TEST_F(MenuProbeTest, TwoStartsInstallOnceReplyOnceAndReportToTheLatestWindow) {
    Probe(true, m_first);
    EXPECT_EQ(Replies(m_first, 1), 1u) << "the start that installs the hook replies";
    Probe(true, m_second);
    EXPECT_EQ(Replies(m_second, 0), 0u) << "a second start only changes the reply window";
    EXPECT_EQ(Replies(m_first, 0), 1u);

    // The first owner seen idle gets its procedure replaced.
    EXPECT_EQ(Idle(m_owner, 0x1234), kSubclassIdleAnswer);
    std::vector<CListenerWindow::Heard> results = Results(m_second, 1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].wParam, 0u);
    EXPECT_EQ(results[0].lParam, 0x1234);
    EXPECT_TRUE(Results(m_first, 0).empty());
    EXPECT_EQ(ToWatch(sample::kMsgWatchIdleCount, 1), 0) << "the owner's own procedure saw no WM_ENTERIDLE";

    // Another owner: reported, but its procedure stays its own.
    EXPECT_EQ(Idle(m_watch, 0x5678), 0);
    EXPECT_EQ(Results(m_second, 2).size(), 2u);
    EXPECT_EQ(ToWatch(sample::kMsgWatchIdleCount, 0), 1);
    EXPECT_EQ(Idle(m_owner, 0x9), kSubclassIdleAnswer);
    EXPECT_EQ(Results(m_second, 3).size(), 3u);

    // The stop gives the first owner its procedure back.
    Probe(false, m_first);
    EXPECT_EQ(Replies(m_first, 0), 1u) << "nothing is posted for a stop";
    EXPECT_EQ(Idle(m_owner, 0x1), 0);
    EXPECT_EQ(ToWatch(sample::kMsgWatchIdleCount, 1), 1);
    EXPECT_EQ(Results(m_second, 0).size(), 3u) << "no report after the stop";
}

TEST_F(MenuProbeTest, OpenPopupMenuIsReportedWithItsMenuWindow) {
    Probe(true, m_first);
    ASSERT_EQ(Replies(m_first, 1), 1u);
    ASSERT_EQ(ToWatch(sample::kMsgWatchOpenMenu, 0), 1);
    std::vector<CListenerWindow::Heard> results = Results(m_first, 1);
    ASSERT_FALSE(results.empty()) << "no TavmorMenuResult while the menu was open";
    HWND menu = reinterpret_cast<HWND>(results[0].lParam);
    EXPECT_EQ(ClassOf(menu), "#32768") << "lParam names the menu window";
    EXPECT_EQ(ToWatch(sample::kMsgWatchGetModal, 1), 1) << "the menu is still open";
    EXPECT_EQ(ToWatch(sample::kMsgWatchIdleCount, 0), 0) << "the owner's own procedure saw no WM_ENTERIDLE";
    ASSERT_EQ(ToWatch(sample::kMsgWatchCloseModal), 1);
    Probe(false, m_first);
    EXPECT_EQ(Idle(m_watch, 0), 0) << "the owner has its own procedure again";
}

TEST_F(MenuProbeTest, DialogBoxLoopReportsTheDialog) {
    Probe(true, m_first);
    ASSERT_EQ(Replies(m_first, 1), 1u);
    ASSERT_EQ(ToWatch(sample::kMsgWatchOpenDialog), 1);
    std::vector<CListenerWindow::Heard> results = Results(m_first, 1);
    ASSERT_FALSE(results.empty()) << "no TavmorMenuResult while the dialog box was open";
    HWND dialog = reinterpret_cast<HWND>(ToWatch(sample::kMsgWatchGetModal, 0));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(results[0].lParam), dialog);
    char title[64] = "";
    GetWindowTextA(dialog, title, sizeof(title));
    EXPECT_STREQ(title, sample::kWatchDialogTitle);
}

TEST_F(MenuProbeTest, StopAfterTheOwnerWasDestroyedAndStartAgain) {
    Probe(true, m_first);
    ASSERT_EQ(Replies(m_first, 1), 1u);
    ASSERT_EQ(Idle(m_owner, 0x42), kSubclassIdleAnswer);
    ASSERT_EQ(ToWatch(sample::kMsgWatchMenuOwner, 0), 0) << "owner destroyed";
    Probe(false, m_first);
    EXPECT_EQ(ToWatch(sample::kMsgWatchPing, 1, 1), 2) << "the sample lives on";

    HWND owner = reinterpret_cast<HWND>(ToWatch(sample::kMsgWatchMenuOwner, 1));
    ASSERT_NE(owner, nullptr);
    m_first.Forget();
    Probe(true, m_first);
    ASSERT_EQ(Replies(m_first, 1), 1u) << "a start after a stop installs again";
    EXPECT_EQ(Idle(owner, 0x43), kSubclassIdleAnswer) << "the state of the gone owner was cleared";
    Probe(false, m_first);
    EXPECT_EQ(Idle(owner, 0x44), 0);
}

// The probe's hook runs in every GUI process, this one too; here no probe
// was started, so nothing may be replaced or sent.
TEST_F(MenuProbeTest, ProcessWithoutProbeIsLeftAlone) {
    Probe(true, m_first);
    ASSERT_EQ(Replies(m_first, 1), 1u);
    struct Local {
        static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_ENTERIDLE) return 0x77;
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
    };
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Local::Proc;
    wc.lpszClassName = "VintrelIdleHere";
    RegisterClassA(&wc);
    HWND here = CreateWindowExA(0, "VintrelIdleHere", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(here, nullptr);
    EXPECT_EQ(SendMessageA(here, WM_ENTERIDLE, MSGF_MENU, 0x99), 0x77);
    EXPECT_EQ(GetWindowLongPtrA(here, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&Local::Proc));
    EXPECT_TRUE(Results(m_first, 0).empty()) << "a process without a probe reports nothing";
    DestroyWindow(here);
}

}  // namespace
