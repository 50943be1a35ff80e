// The tool's watching commands and small queries as a script uses them
// (--json), against the sample in a process of its own: watch reports the
// messages sent while it runs and removes its watch when it ends; send,
// tab-point and caret print what the agent answered; a watch, the menu
// probe and the spy left running by a killed tool harm nothing.
#include <cstdio>
#include <sstream>

#include <nlohmann/json.hpp>

#include "client/MenuProbeSession.h"
#include "client/WindowSpySession.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/WatchSampleSuite.h"

namespace {

// vintrel.exe running with its output in a file, until it ends by itself.
class CToolProcess {
public:
    explicit CToolProcess(const std::string& arguments) {
        static int s_nRun = 0;
        m_outPath = TestProgramDirectory() + "watch-tool-" + std::to_string(++s_nRun) + ".txt";
        COwnedFile out = InheritableFile(m_outPath);
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out.Get();
        si.hStdError = out.Get();
        std::string line = "\"" + TestProgramDirectory() + "vintrel.exe\" " + arguments;
        PROCESS_INFORMATION pi = {};
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
            m_process.Reset(pi.hProcess);
            COwnedHandle thread(pi.hThread);
        }
    }
    bool Started() const { return static_cast<bool>(m_process); }
    // Waits until the tool printed text; false when it did not within timeoutMs.
    bool WaitForOutput(const std::string& text, DWORD timeoutMs = 20000) const {
        const DWORD start = GetTickCount();
        while (Output().find(text) == std::string::npos) {
            if (GetTickCount() - start > timeoutMs) return false;
            Sleep(50);
        }
        return true;
    }
    // Ends the tool as a crash would: nothing it set up is taken back.
    void Kill() {
        if (!m_process) return;
        TerminateProcess(m_process.Get(), 1);
        WaitForSingleObject(m_process.Get(), 5000);
    }
    // Waits for the end; the exit code, or 0xFFFFFFFF when it did not end.
    DWORD Wait(DWORD timeoutMs = 60000) {
        DWORD code = 0xFFFFFFFF;
        if (!m_process || WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0) return code;
        GetExitCodeProcess(m_process.Get(), &code);
        return code;
    }
    std::string Output() const { return ReadWholeFile(m_outPath); }
    std::vector<nlohmann::json> JsonLines() const {
        std::vector<nlohmann::json> lines;
        std::istringstream stream(Output());
        std::string line;
        while (std::getline(stream, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty() && line[0] == '{') lines.push_back(nlohmann::json::parse(line, nullptr, false));
        }
        return lines;
    }

private:
    std::string m_outPath;
    COwnedHandle m_process;
};

// The sample without a client of the test's own: the tool is the
// controller, and only one controller may hold the shared record at a time.
class WatchToolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_app.reset(new CSampleProcess());
        if (!s_app->Start("--no-dialog", &s_error)) return;
        s_watch = FindWatchWindow(s_app->ProcessId());
    }
    static void TearDownTestSuite() { s_app.reset(); }
    void SetUp() override {
        ASSERT_TRUE(s_error.empty()) << s_error;
        ASSERT_NE(s_watch, nullptr);
        m_watch = s_watch;
    }
    LRESULT ToWatch(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(m_watch, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
        return static_cast<LRESULT>(result);
    }
    static std::string HandleOption(HWND hwnd) {
        char text[48];
        std::snprintf(text, sizeof(text), "--hwnd 0x%llX", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)));
        return text;
    }
    // A client of the test's own, for checks between two runs of the tool.
    static bool OpenClient(CAgentClient& client, std::string* error) {
        return OpenTestClient(client, CAgentClient::kDefaultRecordSize, error) && client.Hook(s_watch);
    }

    static inline std::unique_ptr<CSampleProcess> s_app;
    static inline HWND s_watch = nullptr;
    static inline std::string s_error;
    HWND m_watch = nullptr;
};

TEST_F(WatchToolTest, WatchPrintsEachMessageSentWhileItRunsAndEndsByItself) {
    CToolProcess tool("--json watch " + HandleOption(m_watch) + " --message WM_APP+28 --seconds 4");
    ASSERT_TRUE(tool.Started());
    // Wait until the tool says it watches, then send.
    const DWORD start = GetTickCount();
    while (tool.Output().find("\"start\"") == std::string::npos && GetTickCount() - start < 20000) Sleep(50);
    ASSERT_NE(tool.Output().find("\"start\""), std::string::npos) << tool.Output();
    for (LPARAM i = 1; i <= 3; ++i) ToWatch(sample::kMsgWatchPing, 0x40 + i, 0x500 + i);
    ASSERT_EQ(tool.Wait(), 0u) << tool.Output();
    std::vector<LPARAM> heard;
    size_t count = 0;
    for (const nlohmann::json& line : tool.JsonLines()) {
        if (line.value("event", "") == "message") heard.push_back(line.value("lParam", static_cast<int64_t>(0)));
        if (line.value("event", "") == "end") count = line.value("count", static_cast<size_t>(0));
    }
    ASSERT_EQ(heard.size(), 3u) << tool.Output();
    EXPECT_EQ(heard[0], 0x501);
    EXPECT_EQ(heard[2], 0x503);
    EXPECT_EQ(count, 3u);
    // The tool removed its watch: a watcher added now hears each message once.
    CAgentClient client;
    std::string error;
    ASSERT_TRUE(OpenClient(client, &error)) << error;
    CListenerWindow listener;
    ASSERT_EQ(AddMessageWatch(client, m_watch, sample::kMsgWatchPing, listener.Window()), AgentStatus::Ok);
    ToWatch(sample::kMsgWatchPing, 1, 1);
    listener.Pump(300, client.Messages().nAgentReturn, 2);
    EXPECT_EQ(listener.HeardOf(client.Messages().nAgentReturn).size(), 1u);
    RemoveMessageWatch(client, m_watch, listener.Window());
}

TEST_F(WatchToolTest, SmallQueriesPrintTheAgentsAnswers) {
    CToolProcess send("--json send " + HandleOption(m_watch) + " --message WM_APP+36 --value 0xFFFF8000");
    ASSERT_EQ(send.Wait(), 0u) << send.Output();
    std::vector<nlohmann::json> lines = send.JsonLines();
    ASSERT_EQ(lines.size(), 1u) << send.Output();
    EXPECT_EQ(lines[0]["values"], nlohmann::json::array({-32768, -1})) << send.Output();

    ASSERT_EQ(ToWatch(sample::kMsgWatchSetCaret, 31, 4), 1);
    CToolProcess caret("--json caret " + HandleOption(m_watch));
    ASSERT_EQ(caret.Wait(), 0u) << caret.Output();
    lines = caret.JsonLines();
    ASSERT_EQ(lines.size(), 1u) << caret.Output();
    EXPECT_EQ(lines[0]["x"], 31);
    EXPECT_EQ(lines[0]["y"], 4);
    ToWatch(sample::kMsgWatchSetCaret, static_cast<WPARAM>(-1));

    HWND fixed = reinterpret_cast<HWND>(ToWatch(sample::kMsgWatchGetControl, sample::kTabFixedId));
    CToolProcess point("--json tab-point " + HandleOption(fixed));
    ASSERT_EQ(point.Wait(), 0u) << point.Output();
    lines = point.JsonLines();
    ASSERT_EQ(lines.size(), 1u) << point.Output();
    DataPointResult expected;
    {
        CAgentClient client;
        std::string error;
        ASSERT_TRUE(OpenClient(client, &error)) << error;
        expected = GetTabClickPoint(client, fixed);
    }
    EXPECT_EQ(lines[0]["x"], expected.point.x);
    EXPECT_EQ(lines[0]["y"], expected.point.y);

    CToolProcess bad("send " + HandleOption(m_watch) + " --message 0x12345");
    EXPECT_NE(bad.Wait(), 0u) << bad.Output();
}

// Controllers that end without stopping what they started -- a watch, the
// menu probe, the spy -- leave the sample running and answering, and the
// next controller watches, probes and spies as if they had never been.
TEST_F(WatchToolTest, WatchMenuProbeAndSpyOutliveTheirKilledController) {
    CToolProcess watch("--json watch " + HandleOption(m_watch) + " --message WM_APP+28 --seconds 120");
    ASSERT_TRUE(watch.WaitForOutput("\"start\"")) << watch.Output();
    watch.Kill();
    CToolProcess probe("--json menu-probe " + HandleOption(m_watch) + " --seconds 120");
    ASSERT_TRUE(probe.WaitForOutput("\"start\"")) << probe.Output();
    probe.Kill();
    CToolProcess spy("--json spy --seconds 120");
    ASSERT_TRUE(spy.WaitForOutput("\"start\"")) << spy.Output();
    spy.Kill();

    // What they left behind reports to windows that are gone.
    for (LPARAM i = 1; i <= 5; ++i) EXPECT_EQ(ToWatch(sample::kMsgWatchPing, 0, 0x300 + i), 0x300 + i);
    ASSERT_EQ(ToWatch(sample::kMsgWatchOpenMenu, 0), 1);
    Sleep(300);
    EXPECT_EQ(ToWatch(sample::kMsgWatchGetModal, 1), 1) << "the menu is open";
    EXPECT_EQ(ToWatch(sample::kMsgWatchCloseModal), 1);
    EXPECT_TRUE(s_app->IsRunning());

    CAgentClient client;
    std::string error;
    ASSERT_TRUE(OpenClient(client, &error)) << error;
    EXPECT_EQ(client.Ping(m_watch), AgentStatus::Ok);
    // A new watch hears each message once: the gone listener's entry never
    // counts for the new one.
    CListenerWindow listener;
    ASSERT_EQ(AddMessageWatch(client, m_watch, sample::kMsgWatchPing, listener.Window()), AgentStatus::Ok);
    ToWatch(sample::kMsgWatchPing, 7, 7);
    listener.Pump(500, client.Messages().nAgentReturn, 2);
    EXPECT_EQ(listener.HeardOf(client.Messages().nAgentReturn).size(), 1u);
    EXPECT_EQ(RemoveMessageWatch(client, m_watch, listener.Window()), AgentStatus::Ok);

    // The probe still runs in the sample: the new start takes it over and
    // hears of the next menu; its stop ends it.
    {
        std::vector<HWND> menus;
        CMenuProbeSession session(client, [&](HWND menu) { menus.push_back(menu); });
        const CMenuProbeSession::StartResult started = session.Start(m_watch, 500);
        EXPECT_NE(started, CMenuProbeSession::StartResult::Failed);
        ASSERT_EQ(ToWatch(sample::kMsgWatchOpenMenu, 0), 1);
        session.Pump(3000, 1);
        EXPECT_FALSE(menus.empty()) << "no report of the open menu to the new controller";
        ToWatch(sample::kMsgWatchCloseModal);
        EXPECT_TRUE(session.Stop());
    }

    // A new spy hears the sample's messages again.
    {
        std::vector<LPARAM> pings;
        CWindowSpySession session(client, [&](UINT message, LPARAM lParam) {
            if (message == sample::kMsgWatchPing) pings.push_back(lParam);
        });
        ASSERT_TRUE(session.Start());
        for (LPARAM i = 0; i < 6; ++i) ToWatch(sample::kMsgWatchPing, 0, 0x3D3D0000 + i);
        const DWORD start = GetTickCount();
        while (pings.size() < 4 && GetTickCount() - start < 3000) session.Pump(50);
        EXPECT_GE(pings.size(), 4u) << "pings handled in the sample's process";
        session.Stop();
    }
    EXPECT_TRUE(s_app->IsRunning());
}

}  // namespace
