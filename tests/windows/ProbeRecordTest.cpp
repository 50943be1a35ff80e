// The info probe at its size limits and with a menu-bar item: the longest
// description the agent can write still fits the smallest shared record, and
// a menu-bar item recorded by the probe is located again from its form.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
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

// The smallest view a mapping can have.
const size_t kSmallestRecord = 4096;

std::unique_ptr<CAgentClient> OpenClient(size_t recordSize, HWND hookTarget) {
    std::unique_ptr<CAgentClient> client(new CAgentClient());
    std::string error;
    if (!OpenTestClient(*client, recordSize, &error)) {
        ADD_FAILURE() << error;
        return nullptr;
    }
    if (!client->Hook(hookTarget)) {
        ADD_FAILURE() << "cannot hook";
        return nullptr;
    }
    return client;
}

TEST(ProbeRecordLimits, LongestClassNamesAndAnItemFitTheSmallestRecord) {
    // Three classes of the longest length a class name can have: the
    // window's, its parent's (the frame, a popup without a caption) and the
    // frame's owner's, so both records carry two 255-character names.
    const std::string owner(255, 'O'), frame(255, 'F'), window(255, 'W');
    HWND hwndOwner = MakeWindow(owner.c_str(), std::string(255, '\xE9').c_str(), WS_POPUP, 0, 0, 50, 50);
    const COwnedWindow hwndOwnerOwner(hwndOwner);
    HWND hwndFrame = MakeWindow(frame.c_str(), "frame", WS_POPUP, 0, 0, 40, 40, hwndOwner);
    HWND hwndWindow = MakeWindow(window.c_str(), "", WS_CHILD, 0, 0, 10, 10, hwndFrame, 7);
    ASSERT_NE(hwndWindow, nullptr);

    std::unique_ptr<CAgentClient> client = OpenClient(kSmallestRecord, hwndOwner);
    ASSERT_NE(client, nullptr);
    ProbeResult probe = ProbeWindow(*client, hwndWindow, true, kItemKindListView, 0, 0);
    ASSERT_EQ(probe.status, AgentStatus::Ok);

    const WindowDescriptionForm& d = probe.description;
    EXPECT_EQ(d.window.className, window);
    EXPECT_EQ(d.window.parentClassName, frame);
    ASSERT_TRUE(d.hasFrame);
    EXPECT_EQ(d.frame.className, frame);
    EXPECT_EQ(d.frame.parentClassName, owner);
    // The frame has no caption and an owner: the title summed is the owner's,
    // the frame ancestor of the frame.
    EXPECT_EQ(d.nTitleChecksum, -5865);  // 255 characters 0xE9
    // The controller, finding the window again, sums the same title.
    EXPECT_EQ(TitleChecksumOf(FrameAncestorOf(hwndWindow, nullptr)), d.nTitleChecksum);
    ASSERT_TRUE(d.hasItem);
    EXPECT_EQ(d.nItemKind, kItemKindListView);

    // What arrived is what the agent's own writer produces, unbounded.
    CWindowDescription local;
    local.AttachItem(hwndWindow, 0, 7, 0);
    local.Describe(hwndWindow);
    std::vector<uint8_t> expected = Serialized(local, kSmallestRecord);
    EXPECT_EQ(probe.raw, expected);
    EXPECT_GT(probe.raw.size(), 4 * 262u);
    client.reset();
}

TEST(ProbeRecordLimits, MenuBarItemRecordedByTheProbeIsLocatedAgainFromItsForm) {
    CSampleProcess app;
    std::string error;
    ASSERT_TRUE(app.Start("--no-dialog", &error)) << error;
    std::unique_ptr<CAgentClient> client = OpenClient(kSmallestRecord, app.Frame());
    ASSERT_NE(client, nullptr);

    // "&Help" is the fourth menu; the probe describes the frame that owns the bar.
    ProbeResult probe = ProbeWindow(*client, app.Frame(), true, kItemKindMenuBar, 3, 0);
    ASSERT_EQ(probe.status, AgentStatus::Ok);
    const WindowDescriptionForm& d = probe.description;
    ASSERT_TRUE(d.hasItem);
    EXPECT_EQ(d.dwFlags, 0x320u);
    EXPECT_EQ(d.nItemKind, kItemKindMenuBar);
    EXPECT_EQ(d.item.Text(), "&Help");
    EXPECT_EQ(d.item.menuBar.nPosition, 3);
    EXPECT_EQ(d.window.className, sample::kFrameClass);
    EXPECT_FALSE(d.hasFrame);  // a window with a caption is its own frame

    // Kept in a file and read back, the form inside the description is what
    // the locate request takes.
    char temp[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    snprintf(path, sizeof(path), "%svintrel-menu.desc", temp);
    ASSERT_TRUE(SaveDescriptionFile(path, probe.raw, &error)) << error;
    WindowDescriptionForm loaded;
    std::vector<uint8_t> raw;
    ASSERT_TRUE(LoadDescription(path, &loaded, &raw, &error)) << error;
    DeleteFileA(path);
    EXPECT_EQ(raw, probe.raw);
    EXPECT_EQ(loaded.item.Text(), "&Help");
    EXPECT_FALSE(LoadDescription(path, &loaded, nullptr, &error));
    LocateResult found = LocateItem(*client, app.Frame(), kItemKindMenuBar, 0, loaded.item, SearchArgument());
    ASSERT_EQ(found.status, AgentStatus::Ok);
    ASSERT_TRUE(found.found);
    POINT centre = {(found.form.rect.left + found.form.rect.right) / 2,
                    (found.form.rect.top + found.form.rect.bottom) / 2};
    MapWindowPoints(app.Frame(), nullptr, &centre, 1);
    ItemAtResult at = GetItemRect(*client, app.Frame(), kItemKindMenuBar, centre.x, centre.y);
    ASSERT_EQ(at.status, AgentStatus::Ok);
    EXPECT_EQ(at.index, 3);
}

}  // namespace
