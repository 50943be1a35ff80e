// The window spy: started in the test's own process with the export
// spyWindow, reporting messages handled here at once and, in the sample's
// process, to the window the profile entry names from the second message
// on; a profile value that names no window reports nothing.
#include <cstdio>
#include <string>

#include "agent/WindowSpy.h"
#include "client/WindowSpySession.h"
#include "tests/support/WatchSampleSuite.h"

namespace {

typedef HHOOK(WINAPI* SpyWindowFn)(bool, DWORD, HWND);
const char kSection[] = "QXJ";
const char kKey[] = "SPY";
const UINT kSpied = WM_APP + 0x177;

// Sets the profile entry for the test and puts back what was there.
class CSpyProfileEntry {
public:
    CSpyProfileEntry() {
        char value[256] = "";
        const char kMissing[] = "\x01missing";
        GetProfileStringA(kSection, kKey, kMissing, value, sizeof(value));
        m_bHad = std::string(value) != kMissing;
        m_old = value;
    }
    ~CSpyProfileEntry() { WriteProfileStringA(kSection, kKey, m_bHad ? m_old.c_str() : nullptr); }
    void Set(const std::string& value) { WriteProfileStringA(kSection, kKey, value.c_str()); }
    void SetWindow(HWND hwnd) {
        Set(std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(hwnd))));
    }

private:
    bool m_bHad = false;
    std::string m_old;
};

TEST(SpyTargetText, ReadsDecimalLikeAtoiWithoutOverflow) {
    EXPECT_EQ(ParseSpyTarget("123"), 123);
    EXPECT_EQ(ParseSpyTarget("  +123abc"), 123);
    EXPECT_EQ(ParseSpyTarget("-1"), -1);
    EXPECT_EQ(ParseSpyTarget("4294967295"), -1) << "kept in 32 bits";
    EXPECT_EQ(ParseSpyTarget("abc"), 0);
    EXPECT_EQ(ParseSpyTarget(""), 0);
    EXPECT_EQ(ParseSpyTarget(nullptr), 0);
    EXPECT_EQ(ParseSpyTarget("99999999999999999999999999"), ParseSpyTarget("99999999999999999999999999"));
}

// A handle value that names no window: one whose window is gone. (Small
// numbers may name a window: Wine takes a handle without generation bits
// for any generation.)
std::string GoneWindowText() {
    COwnedWindow window(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    HWND gone = window.Get();
    window.Close();
    return std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(gone)));
}

TEST(SpyTargetText, ProfileValueThatIsNoWindowGivesNoTarget) {
    CSpyProfileEntry entry;
    entry.Set(GoneWindowText());
    EXPECT_EQ(ReadSpyTargetFromProfile(), nullptr);
    entry.Set("not a number");
    EXPECT_EQ(ReadSpyTargetFromProfile(), nullptr);
    entry.Set(std::string(300, '7'));
    EXPECT_EQ(ReadSpyTargetFromProfile(), nullptr);
    COwnedWindow window(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    entry.SetWindow(window.Get());
    EXPECT_EQ(ReadSpyTargetFromProfile(), window.Get());
}

class WindowSpyTest : public CWatchSampleSuite<WindowSpyTest> {
protected:
    void SetUp() override {
        CWatchSampleSuite::SetUp();
        if (HasFatalFailure()) return;
        m_spyWindow = reinterpret_cast<SpyWindowFn>(
            reinterpret_cast<void*>(GetProcAddress(Client().Agent(), "spyWindow")));
        ASSERT_NE(m_spyWindow, nullptr);
        m_nSpy = Client().Messages().nSpyWindow;
    }
    void TearDown() override {
        if (m_spyWindow) m_spyWindow(false, 0, nullptr);
    }
    // The lParams of the spied message kSpied or the sample's ping heard so far.
    std::vector<LPARAM> Reported(UINT message, size_t expected) {
        std::vector<LPARAM> out;
        const DWORD start = GetTickCount();
        do {
            m_listener.Pump(50);
            out.clear();
            for (const CListenerWindow::Heard& h : m_listener.HeardOf(m_nSpy)) {
                if (h.wParam == message) out.push_back(h.lParam);
            }
        } while (out.size() < expected && GetTickCount() - start < 3000);
        if (!expected) m_listener.Pump(200);
        return out;
    }

    SpyWindowFn m_spyWindow = nullptr;
    UINT m_nSpy = 0;
    CListenerWindow m_listener;
    CSpyProfileEntry m_profile;
};

TEST_F(WindowSpyTest, ReportsMessagesOfTheControllersProcessAtOnce) {
    m_profile.Set("0");
    HHOOK first = m_spyWindow(true, 0, m_listener.Window());
    ASSERT_NE(first, nullptr);
    CListenerWindow other;
    EXPECT_EQ(m_spyWindow(true, 0, other.Window()), first) << "a second start returns the running hook";
    COwnedWindow window(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    HWND here = window.Get();
    SendMessageA(here, kSpied, 0, 0x4242);
    std::vector<LPARAM> got = Reported(kSpied, 1);
    ASSERT_EQ(got.size(), 1u) << "the first message in the controller's process is reported";
    EXPECT_EQ(got[0], 0x4242);
    EXPECT_TRUE(other.HeardOf(m_nSpy).empty()) << "the target of the first start stays";

    EXPECT_EQ(m_spyWindow(false, 0, nullptr), nullptr);
    EXPECT_EQ(m_spyWindow(false, 0, nullptr), nullptr);
    m_listener.Forget();
    SendMessageA(here, kSpied, 0, 0x4343);
    EXPECT_TRUE(Reported(kSpied, 0).empty()) << "nothing after the stop";
}

TEST_F(WindowSpyTest, OtherProcessLearnsTheTargetFromTheProfile) {
    m_profile.SetWindow(m_listener.Window());
    ASSERT_NE(m_spyWindow(true, 0, m_listener.Window()), nullptr);
    for (LPARAM i = 0; i < 5; ++i) ToWatch(sample::kMsgWatchPing, 0, 0x5A5A0000 + i);
    std::vector<LPARAM> got = Reported(sample::kMsgWatchPing, 4);
    ASSERT_GE(got.size(), 4u) << "pings handled in the sample's process";
    EXPECT_LE(got.size(), 5u);
    EXPECT_EQ(got.back(), 0x5A5A0004);
}

TEST_F(WindowSpyTest, ProfileThatNamesNoWindowReportsNothingUntilItDoes) {
    // A sample of its own, never told of any target.
    CSampleProcess fresh;
    std::string error;
    ASSERT_TRUE(fresh.Start("--no-dialog --at 40,40", &error)) << error;
    HWND watch = FindWatchWindow(fresh.ProcessId());
    ASSERT_NE(watch, nullptr);
    auto ping = [&](LPARAM value) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(watch, sample::kMsgWatchPing, 0, value, SMTO_ABORTIFHUNG, 5000, &result);
    };
    m_profile.Set(GoneWindowText());
    ASSERT_NE(m_spyWindow(true, 0, m_listener.Window()), nullptr);
    for (LPARAM i = 0; i < 3; ++i) ping(0x6B6B0000 + i);
    EXPECT_TRUE(Reported(sample::kMsgWatchPing, 0).empty()) << "a value that is no window is no target";

    // Read again on every call while unusable: from now on it is a window.
    m_profile.SetWindow(m_listener.Window());
    for (LPARAM i = 0; i < 4; ++i) ping(0x6C6C0000 + i);
    std::vector<LPARAM> got = Reported(sample::kMsgWatchPing, 3);
    EXPECT_GE(got.size(), 3u);
    for (LPARAM value : got) EXPECT_EQ(value & 0xFFFF0000, 0x6C6C0000) << "only pings after the change";
    m_spyWindow(false, 0, nullptr);
    fresh.Stop();
}

// The client's session: writes the entry, reports from the sample, and
// puts the entry back when it stops.
TEST_F(WindowSpyTest, SessionWritesTheProfileEntryAndPutsItBack) {
    m_profile.Set("previous value");
    std::vector<LPARAM> pings;
    {
        CWindowSpySession spy(Client(), [&](UINT message, LPARAM lParam) {
            if (message == sample::kMsgWatchPing) pings.push_back(lParam);
        });
        ASSERT_TRUE(spy.Start());
        char value[64] = "";
        GetProfileStringA(kSection, kKey, "", value, sizeof(value));
        EXPECT_EQ(ParseSpyTarget(value), static_cast<int32_t>(reinterpret_cast<INT_PTR>(spy.Window())));
        // The sample still knows the window of an earlier test, which is
        // gone: one message finds that out, the next reads the entry anew.
        for (LPARAM i = 0; i < 6; ++i) ToWatch(sample::kMsgWatchPing, 0, 0x7D7D0000 + i);
        const DWORD start = GetTickCount();
        while (pings.size() < 4 && GetTickCount() - start < 3000) spy.Pump(50);
        ASSERT_GE(pings.size(), 4u) << "pings handled in the sample's process";
        EXPECT_EQ(pings.back(), 0x7D7D0005);
        spy.Stop();
        GetProfileStringA(kSection, kKey, "", value, sizeof(value));
        EXPECT_STREQ(value, "previous value");
        const size_t heard = pings.size();
        ToWatch(sample::kMsgWatchPing, 0, 1);
        spy.Pump(200);
        EXPECT_EQ(pings.size(), heard) << "nothing after the stop";
    }
}

}  // namespace
