// "TavmorInfoProbe" end to end through the agent library and the client, on
// windows of the test's own thread and of the sample application; and
// finding recorded windows and items again in a restarted sample.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/WindowMatcher.h"
#include "sample/SampleProtocol.h"
#include "tests/support/HookedSample.h"
#include "common/Owned.h"
#include "tests/windows/TestWindows.h"
#include "windows/WindowDescription.h"

namespace {

// The checksum the controller computes, finding the window's frame again,
// for the window whose description the agent wrote.
int32_t ControllersChecksum(HWND window) { return TitleChecksumOf(FrameAncestorOf(window, nullptr)); }

std::string FileNameOfPath(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

HWND DeepEdit(const CSampleProcess& app) {
    HWND group = GetDlgItem(app.Control(sample::kPanelId), sample::kGroupId);
    return GetDlgItem(group, sample::kDeepEditId);
}

class ClientTest : public ::testing::Test {
protected:
    void Open(HWND hookTarget) {
        m_client.reset(new CAgentClient());
        std::string error;
        ASSERT_TRUE(OpenTestClient(*m_client, CAgentClient::kDefaultRecordSize, &error)) << error;
        ASSERT_TRUE(m_client->Hook(hookTarget));
    }
    void TearDown() override { m_client.reset(); }
    std::unique_ptr<CAgentClient> m_client;
};

// ---- windows of the test's own thread ---------------------------------------

class OwnThreadProbeTest : public ClientTest {
protected:
    void SetUp() override {
        m_top = MakeWindow("VtProbeTop", "Probe \xE4", WS_OVERLAPPED | WS_CAPTION, 20, 20, 300, 200);
        m_topOwner.Reset(m_top);
        m_child = MakeWindow("VtProbeChild", "", WS_CHILD | WS_VISIBLE, 5, 6, 50, 40, m_top, 42);
        ASSERT_NE(m_child, nullptr);
        Open(m_top);
    }
    void TearDown() override {
        ClientTest::TearDown();
        m_topOwner.Reset();
    }
    COwnedWindow m_topOwner;
    HWND m_top, m_child;
};

TEST_F(OwnThreadProbeTest, NoItemWantedRepliesWithTheWindowsDescriptionAlone) {
    // Kind, index and argument are read but not used without an item.
    ProbeResult probe = ProbeWindow(*m_client, m_child, false, kItemKindListView, 0xDEAD, 0xBEEF);
    ASSERT_EQ(probe.status, AgentStatus::Ok);
    CWindowDescription local;
    local.Describe(m_child);
    std::vector<uint8_t> expected = Serialized(local, 4096);
    EXPECT_EQ(probe.raw, expected);

    const WindowDescriptionForm& d = probe.description;
    EXPECT_EQ(d.window.className, "VtProbeChild");
    EXPECT_EQ(d.window.parentClassName, "VtProbeTop");
    EXPECT_EQ(d.window.nId, 42u);
    ASSERT_TRUE(d.hasFrame);
    EXPECT_EQ(d.frame.className, "VtProbeTop");
    EXPECT_EQ(d.nDepth, 1);
    // A known title's checksum ("Probe " alone would give 536), the one the
    // controller computes for the same frame.
    EXPECT_EQ(d.nTitleChecksum, 508);
    EXPECT_EQ(d.nTitleChecksum, ControllersChecksum(m_child));
    EXPECT_EQ(d.modulePath, OwnModulePath());
    EXPECT_EQ(d.dwFlags, 0x300u);
    EXPECT_FALSE(d.hasItem);
    EXPECT_EQ(d.fFirstReal, 100.0f);
    EXPECT_EQ(d.bThirdFlag, 1);
}

TEST_F(OwnThreadProbeTest, KindMinusOneWithItemWantedGivesNoItem) {
    ProbeResult probe = ProbeWindow(*m_client, m_top, true, 0xFFFF, 0, 0);
    ASSERT_EQ(probe.status, AgentStatus::Ok);
    EXPECT_FALSE(probe.description.hasItem);
    EXPECT_EQ(probe.description.dwFlags, 0x300u);
    EXPECT_FALSE(probe.description.hasFrame);
    EXPECT_EQ(probe.description.nTitleChecksum, 0);
}

TEST_F(OwnThreadProbeTest, EnvelopeWithoutAWindowIsAnsweredWithAnEmptyDescription) {
    // Posted without a window, the envelope reaches the hooked thread with
    // hwnd NULL; with an item wanted, the locator gets the NULL handle too.
    for (bool wantItem : {false, true}) {
        ProbeResult probe = ProbeWindow(*m_client, nullptr, wantItem, kItemKindListView, 3, 0);
        ASSERT_EQ(probe.status, AgentStatus::Ok) << wantItem;
        const WindowDescriptionForm& d = probe.description;
        EXPECT_EQ(d.window.className, "");
        EXPECT_EQ(d.window.dwStyle, 0u);
        EXPECT_FALSE(d.hasFrame);
        EXPECT_EQ(d.modulePath, "");
        EXPECT_EQ(d.nTitleChecksum, 0);
        EXPECT_EQ(d.hasItem, wantItem);
        EXPECT_EQ(FindRecordedWindow(d).outcome, MatchOutcome::None);
    }
}

// ---- the sample application ---------------------------------------------------

class SampleProbeTest : public ClientTest {
protected:
    void Start(CSampleProcess& app, const std::string& args) {
        std::string error;
        ASSERT_TRUE(app.Start(args, &error)) << error;
    }
};

TEST_F(SampleProbeTest, DescribesOtherProcessesWindowsWithAnEmptyModulePath) {
    CSampleProcess app;
    Start(app, "--no-dialog");
    HWND edit = DeepEdit(app);
    ASSERT_NE(edit, nullptr);

    CWindowDescription d;
    EXPECT_FALSE(d.Describe(edit));  // another process than this one
    EXPECT_STREQ(d.m_szModulePath, "");
    EXPECT_STREQ(d.m_recWindow.m_szClassName, "Edit");
    EXPECT_STREQ(d.m_recWindow.m_szParentClassName, sample::kGroupClass);
    EXPECT_EQ(d.m_recWindow.m_bNoFrame, 0u);
    EXPECT_EQ(d.m_nDepth, 3);
    EXPECT_STREQ(d.m_recFrame.m_szClassName, sample::kFrameClass);
    // "Vintrel Sample " alone would give 1414: the three characters above
    // 0x7F lower it.
    EXPECT_EQ(d.m_nTitleChecksum, 1316);
    EXPECT_EQ(d.m_nTitleChecksum, ControllersChecksum(edit));

    CWindowRecord scroll, track, afx;
    scroll.FillFromWindow(app.Control(sample::kScrollBarId));
    track.FillFromWindow(app.Control(sample::kTrackbarId));
    afx.FillFromWindow(app.Control(sample::kAfxChildId));
    EXPECT_EQ(scroll.m_nRange1, 0u);
    EXPECT_EQ(scroll.m_nRange2, 250u);
    EXPECT_EQ(track.m_nRange1, 5u);
    EXPECT_EQ(track.m_nRange2, 95u);
    EXPECT_STREQ(afx.m_szClassName, sample::kAfxClassPrefix);
}

TEST_F(SampleProbeTest, InTheSampleTheProbeGivesItsModulePathAndTheDialogIsItsOwnFrame) {
    CSampleProcess app;
    Start(app, "");
    Open(app.Frame());
    ProbeResult edit = ProbeWindow(*m_client, DeepEdit(app), false, 0, 0, 0);
    ASSERT_EQ(edit.status, AgentStatus::Ok);
    EXPECT_EQ(edit.description.nDepth, 3);
    EXPECT_EQ(FileNameOfPath(edit.description.modulePath), "VintrelSample.exe");

    HWND dialog = app.Dialog();
    ASSERT_NE(dialog, nullptr);
    ProbeResult button = ProbeWindow(*m_client, GetDlgItem(dialog, sample::kDialogButtonId), false, 0, 0, 0);
    ASSERT_EQ(button.status, AgentStatus::Ok);
    ASSERT_TRUE(button.description.hasFrame);
    EXPECT_EQ(button.description.nDepth, 1);
    EXPECT_EQ(button.description.nTitleChecksum, 1390);  // "Sample Options"
    EXPECT_EQ(button.description.nTitleChecksum, ControllersChecksum(GetDlgItem(dialog, sample::kDialogButtonId)));
}

TEST_F(SampleProbeTest, RecordedListItemIsFoundAgainAfterTheItemsAreReordered) {
    CSampleProcess app;
    Start(app, "--no-dialog");
    HWND list = app.Control(sample::kListViewId);
    Open(list);
    ProbeResult probe = ProbeWindow(*m_client, list, true, kItemKindListView, 12, 0);
    ASSERT_EQ(probe.status, AgentStatus::Ok);
    const WindowDescriptionForm& d = probe.description;
    ASSERT_TRUE(d.hasItem);
    EXPECT_EQ(d.dwFlags, 0x320u);
    EXPECT_EQ(d.nItemKind, kItemKindListView);
    EXPECT_EQ(d.item.Text(), "Item 0012");
    EXPECT_EQ(d.item.listView.iItem, 12);
    EXPECT_EQ(d.window.className, "SysListView32");

    ASSERT_EQ(app.Send(sample::kMsgReverseItems), 1);
    LocateResult found = LocateItem(*m_client, list, kItemKindListView, 0, d.item, SearchArgument());
    ASSERT_EQ(found.status, AgentStatus::Ok);
    ASSERT_TRUE(found.found);
    // The item under the found rectangle is the one that moved to 37.
    POINT centre = {(found.form.rect.left + found.form.rect.right) / 2,
                    (found.form.rect.top + found.form.rect.bottom) / 2};
    MapWindowPoints(list, nullptr, &centre, 1);
    ItemAtResult at = GetItemRect(*m_client, list, kItemKindListView, centre.x, centre.y);
    ASSERT_EQ(at.status, AgentStatus::Ok);
    EXPECT_EQ(at.index, 37);
}

TEST_F(SampleProbeTest, RecordedWindowsAreFoundAgainInARestartedSampleAndTwinsAreAmbiguous) {
    std::vector<uint8_t> editBytes, listBytes;
    {
        CSampleProcess first;
        Start(first, "--no-dialog");
        Open(first.Frame());
        ProbeResult edit = ProbeWindow(*m_client, DeepEdit(first), false, 0, 0, 0);
        ProbeResult list = ProbeWindow(*m_client, first.Control(sample::kListViewId), true, kItemKindListView, 5, 0);
        ASSERT_EQ(edit.status, AgentStatus::Ok);
        ASSERT_EQ(list.status, AgentStatus::Ok);
        char temp[MAX_PATH], path[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        std::snprintf(path, sizeof(path), "%svintrel-edit.desc", temp);
        std::string error;
        ASSERT_TRUE(SaveDescriptionFile(path, edit.raw, &error)) << error;
        ASSERT_TRUE(LoadDescriptionFile(path, &editBytes, &error)) << error;
        DeleteFileA(path);
        listBytes = list.raw;
        m_client.reset();
        first.Stop();
    }
    WindowDescriptionForm edit, list;
    ASSERT_TRUE(DecodeWindowDescription(editBytes, &edit));
    ASSERT_TRUE(DecodeWindowDescription(listBytes, &list));
    EXPECT_EQ(FindRecordedWindow(edit).outcome, MatchOutcome::None);

    CSampleProcess again;
    Start(again, "--no-dialog --order reversed --at 120,80");
    MatchResult editMatch = FindRecordedWindow(edit);
    ASSERT_EQ(editMatch.outcome, MatchOutcome::Match);
    EXPECT_EQ(editMatch.hwnd, DeepEdit(again));
    MatchResult listMatch = FindRecordedWindow(list);
    ASSERT_EQ(listMatch.outcome, MatchOutcome::Match);
    EXPECT_EQ(listMatch.hwnd, again.Control(sample::kListViewId));

    Open(listMatch.hwnd);
    LocateResult item = LocateItem(*m_client, listMatch.hwnd, list.nItemKind, 0, list.item, SearchArgument());
    ASSERT_EQ(item.status, AgentStatus::Ok);
    EXPECT_TRUE(item.found);
    m_client.reset();

    // A second, identical application: nothing tells the two edits apart.
    CSampleProcess twin;
    Start(twin, "--no-dialog");
    MatchResult twins = FindRecordedWindow(edit);
    EXPECT_EQ(twins.outcome, MatchOutcome::Ambiguous);
    EXPECT_EQ(twins.hwnd, nullptr);
    ASSERT_GE(twins.candidates.size(), 2u);
    EXPECT_EQ(twins.candidates[0].score, twins.candidates[1].score);
}

TEST(WindowDescriptionDecoding, TruncatedOrOverlongBytesAreRefused) {
    HWND top = MakeWindow("VtDecodeTop", "T", WS_POPUP, 0, 0, 10, 10);
    const COwnedWindow topOwner(top);
    CWindowDescription local;
    local.AttachItem(top, 0, 7, 0);
    local.Describe(top);
    std::vector<uint8_t> bytes = Serialized(local, 4096);
    WindowDescriptionForm d;
    ASSERT_TRUE(DecodeWindowDescription(bytes, &d));
    EXPECT_TRUE(d.hasItem);
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
        ASSERT_FALSE(DecodeWindowDescription(cut, &d)) << n;
    }
    bytes.push_back(0);
    EXPECT_FALSE(DecodeWindowDescription(bytes, &d));
}

}  // namespace
