// The menu probe, started in the sample through the client's probe
// session: one reply for the start that installs it, "TavmorMenuResult"
// for each idle menu or dialog box loop, the owner's own procedure kept
// from WM_ENTERIDLE while replaced and given back at the stop (also when
// the owner is gone), and nothing done in a process where no probe was
// started.
#include <string>
#include <vector>

#include "client/MenuProbeSession.h"
#include "tests/support/WatchSampleSuite.h"

namespace {

const LRESULT kSubclassIdleAnswer = 0x3FFFF;
typedef CMenuProbeSession::StartResult StartResult;

class MenuProbeTest : public CWatchSampleSuite<MenuProbeTest> {
protected:
    void SetUp() override {
        CWatchSampleSuite::SetUp();
        if (HasFatalFailure()) return;
        m_owner = reinterpret_cast<HWND>(ToWatch(sample::kMsgWatchMenuOwner, 1));
        ASSERT_NE(m_owner, nullptr);
        ToWatch(sample::kMsgWatchIdleCount, 2);
    }
    void TearDown() override { ToWatch(sample::kMsgWatchCloseModal); }

    CMenuProbeSession::Callback Keep(std::vector<HWND>& into) {
        return [&into](HWND menu) { into.push_back(menu); };
    }
    // WM_ENTERIDLE sent to a window of the sample, with the loop's window
    // in lParam; the answer of whoever handled it.
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
    std::vector<HWND> m_first, m_second;
};

TEST_F(MenuProbeTest, TwoStartsInstallOnceReplyOnceAndReportToTheLatestWindow) {
    CMenuProbeSession first(Client(), Keep(m_first)), second(Client(), Keep(m_second));
    ASSERT_EQ(first.Start(m_watch), StartResult::Installed) << "the start that installs the hook replies";
    EXPECT_EQ(second.Start(m_watch, 300), StartResult::AlreadyRunning) << "a second start is not answered";

    // The first owner seen idle gets its procedure replaced.
    EXPECT_EQ(Idle(m_owner, 0x1234), kSubclassIdleAnswer);
    second.Pump(2000, 1);
    ASSERT_EQ(m_second.size(), 1u) << "reported to the window of the latest start";
    EXPECT_EQ(m_second[0], reinterpret_cast<HWND>(0x1234));
    first.Pump(100);
    EXPECT_TRUE(m_first.empty());
    EXPECT_EQ(ToWatch(sample::kMsgWatchIdleCount, 1), 0) << "the owner's own procedure saw no WM_ENTERIDLE";

    // Another owner: reported, but its procedure stays its own.
    EXPECT_EQ(Idle(m_watch, 0x5678), 0);
    second.Pump(2000, 1);
    EXPECT_EQ(m_second.size(), 2u);
    EXPECT_EQ(ToWatch(sample::kMsgWatchIdleCount, 0), 1);
    EXPECT_EQ(Idle(m_owner, 0x9), kSubclassIdleAnswer);
    second.Pump(2000, 1);
    EXPECT_EQ(m_second.size(), 3u);

    // The stop gives the first owner its procedure back.
    ASSERT_TRUE(first.Stop());
    EXPECT_EQ(Idle(m_owner, 0x1), 0);
    EXPECT_EQ(ToWatch(sample::kMsgWatchIdleCount, 1), 1);
    second.Pump(200);
    EXPECT_EQ(m_second.size(), 3u) << "no report after the stop";
}

TEST_F(MenuProbeTest, OpenPopupMenuIsReportedWithItsMenuWindow) {
    CMenuProbeSession probe(Client(), Keep(m_first));
    ASSERT_EQ(probe.Start(m_watch), StartResult::Installed);
    ASSERT_EQ(ToWatch(sample::kMsgWatchOpenMenu, 0), 1);
    probe.Pump(3000, 1);
    ASSERT_FALSE(m_first.empty()) << "no TavmorMenuResult while the menu was open";
    EXPECT_EQ(ClassOf(m_first[0]), "#32768") << "the report names the menu window";
    EXPECT_EQ(ToWatch(sample::kMsgWatchGetModal, 1), 1) << "the menu is still open";
    EXPECT_EQ(ToWatch(sample::kMsgWatchIdleCount, 0), 0) << "the owner's own procedure saw no WM_ENTERIDLE";
    ASSERT_EQ(ToWatch(sample::kMsgWatchCloseModal), 1);
    ASSERT_TRUE(probe.Stop());
    EXPECT_EQ(Idle(m_watch, 0), 0) << "the owner has its own procedure again";
}

TEST_F(MenuProbeTest, DialogBoxLoopReportsTheDialog) {
    CMenuProbeSession probe(Client(), Keep(m_first));
    ASSERT_EQ(probe.Start(m_watch), StartResult::Installed);
    ASSERT_EQ(ToWatch(sample::kMsgWatchOpenDialog), 1);
    probe.Pump(3000, 1);
    ASSERT_FALSE(m_first.empty()) << "no TavmorMenuResult while the dialog box was open";
    HWND dialog = reinterpret_cast<HWND>(ToWatch(sample::kMsgWatchGetModal, 0));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(m_first[0], dialog);
    char title[64] = "";
    GetWindowTextA(dialog, title, sizeof(title));
    EXPECT_STREQ(title, sample::kWatchDialogTitle);
    ToWatch(sample::kMsgWatchCloseModal);
    EXPECT_TRUE(probe.Stop());
}

TEST_F(MenuProbeTest, StopAfterTheOwnerWasDestroyedAndStartAgain) {
    {
        CMenuProbeSession probe(Client(), Keep(m_first));
        ASSERT_EQ(probe.Start(m_watch), StartResult::Installed);
        ASSERT_EQ(Idle(m_owner, 0x42), kSubclassIdleAnswer);
        ASSERT_EQ(ToWatch(sample::kMsgWatchMenuOwner, 0), 0) << "owner destroyed";
        EXPECT_TRUE(probe.Stop());
        EXPECT_EQ(ToWatch(sample::kMsgWatchPing, 1, 1), 2) << "the sample lives on";
    }
    HWND owner = reinterpret_cast<HWND>(ToWatch(sample::kMsgWatchMenuOwner, 1));
    ASSERT_NE(owner, nullptr);
    {
        CMenuProbeSession probe(Client(), Keep(m_first));
        ASSERT_EQ(probe.Start(m_watch), StartResult::Installed) << "a start after a stop installs again";
        EXPECT_EQ(Idle(owner, 0x43), kSubclassIdleAnswer) << "the state of the gone owner was cleared";
        // The session stops the probe when it goes.
    }
    EXPECT_EQ(Idle(owner, 0x44), 0);
}

// The probe's hook runs in every GUI process, this one too; here no probe
// was started, so nothing may be replaced or sent.
TEST_F(MenuProbeTest, ProcessWithoutProbeIsLeftAlone) {
    CMenuProbeSession probe(Client(), Keep(m_first));
    ASSERT_EQ(probe.Start(m_watch), StartResult::Installed);
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
    COwnedWindow window(
        CreateWindowExA(0, "VintrelIdleHere", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    HWND here = window.Get();
    ASSERT_NE(here, nullptr);
    EXPECT_EQ(SendMessageA(here, WM_ENTERIDLE, MSGF_MENU, 0x99), 0x77);
    EXPECT_EQ(GetWindowLongPtrA(here, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&Local::Proc));
    probe.Pump(200);
    EXPECT_TRUE(m_first.empty()) << "a process without a probe reports nothing";
}

}  // namespace
