// "TavmorDataMessage" through the client's typed calls against the sample's
// watch window and its controls in a process of their own: both pointer
// placements, the fallback to the result's halves and its sign extension,
// a message that writes kilobytes, the caret, menu item rectangles, tab
// click points, and the codes that leave the record as it was.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <random>

#include "client/ItemRequests.h"
#include "tests/support/WatchSampleSuite.h"

namespace {

const uint32_t kRequestWord = 0x12345678;
const PointerPlacement kInL = PointerPlacement::InLParam, kInW = PointerPlacement::InWParam;

class DataMessageTest : public CWatchSampleSuite<DataMessageTest> {
protected:
    RECT TabRect(HWND tab, int index) {
        DataRectResult r = SendForRect(Client(), tab, TCM_GETITEMRECT, static_cast<uint32_t>(index), kInL);
        EXPECT_EQ(r.status, AgentStatus::Ok) << AgentStatusText(r.status);
        return r.rect;
    }
    // The tab under a client point of the control, by the agent's hit test.
    int HitTab(HWND tab, POINT client) {
        ClientToScreen(tab, &client);
        ItemAtResult at = GetItemRect(Client(), tab, kItemKindTab, client.x, client.y);
        EXPECT_EQ(at.status, AgentStatus::Ok);
        return at.index;
    }
    POINT ClickPoint(HWND tab) {
        DataPointResult r = GetTabClickPoint(Client(), tab);
        EXPECT_EQ(r.status, AgentStatus::Ok) << AgentStatusText(r.status);
        return r.point;
    }
    static POINT Screen(HWND hwnd, POINT p) {
        ClientToScreen(hwnd, &p);
        return p;
    }
};

TEST_F(DataMessageTest, ResultHalvesStandInWhenTheMessageWritesNothing) {
    struct Case {
        uint32_t result;
        int32_t first, second;
    };
    for (const Case& c : {Case{0x00050003u, 3, 5}, Case{0xFFFF8000u, -32768, -1}, Case{0x7FFF0001u, 1, 32767}}) {
        DataPairResult r = SendForValuePair(Client(), m_watch, sample::kMsgWatchEchoWParam, c.result, kInL);
        ASSERT_EQ(r.status, AgentStatus::Ok) << AgentStatusText(r.status);
        EXPECT_EQ(r.first, c.first) << std::hex << "result 0x" << c.result;
        EXPECT_EQ(r.second, c.second) << std::hex << "result 0x" << c.result;
    }
}

TEST_F(DataMessageTest, PointerGoesIntoLParamOrWParamAsAsked) {
    // In lParam: wParam carries the value (a byte count).
    DataPairResult inL = SendForValuePair(Client(), m_watch, sample::kMsgWatchFillLParam, 8, kInL);
    ASSERT_EQ(inL.status, AgentStatus::Ok);
    EXPECT_EQ(static_cast<uint32_t>(inL.first), 0x03020100u);
    EXPECT_EQ(static_cast<uint32_t>(inL.second), 0x07060504u);
    // In wParam: lParam carries the value, widened with its sign.
    DataPairResult inW = SendForValuePair(Client(), m_watch, sample::kMsgWatchFillWParam, 41, kInW);
    ASSERT_EQ(inW.status, AgentStatus::Ok);
    EXPECT_EQ(inW.first, 41);
    EXPECT_EQ(inW.second, -41);
    DataPairResult negative =
        SendForTwoValues(Client(), m_watch, sample::kMsgWatchFillWParam, static_cast<uint32_t>(-9), kInW);
    EXPECT_EQ(negative.first, -9);
    EXPECT_EQ(negative.second, 9);
    // A standard control: the selection of the edit through two pointers,
    // the first of which is the agent's buffer.
    HWND edit = WatchControl(sample::kEditId);
    ASSERT_NE(edit, nullptr);
    DataPairResult selection = SendForTwoValues(Client(), edit, EM_GETSEL, 0, kInW);
    EXPECT_EQ(selection.first, 2) << "start of the selection the sample set";
}

TEST_F(DataMessageTest, MessageWritingKilobytesLeavesTheAgentAndTheReplyIntact) {
    for (uint16_t command : {uint16_t(kDataSendPairWithFallback), uint16_t(kDataSendRect), uint16_t(kDataSendPair)}) {
        DataRecord r = DataCommandRecord(Client(), m_watch, sample::kMsgWatchFillLParam, 6000, 1, command);
        ASSERT_EQ(r.status, AgentStatus::Ok) << "command " << command << ": " << AgentStatusText(r.status);
        EXPECT_EQ(static_cast<uint32_t>(r.values[0]), 0x03020100u) << "command " << command;
        EXPECT_EQ(static_cast<uint32_t>(r.values[1]), 0x07060504u) << "command " << command;
        // The reply holds exactly its values: behind them the request's
        // rest (P3, the code) or the zeros the record started with.
        const uint8_t* view = Client().View();
        if (command == kDataSendRect) {
            for (int i = 20; i < 64; ++i) ASSERT_EQ(view[i], 0) << "byte " << i << " behind the rectangle";
        } else {
            uint32_t p3 = 0;
            uint16_t code = 0xFFFF;
            std::memcpy(&p3, view + 12, 4);
            std::memcpy(&code, view + 16, 2);
            EXPECT_EQ(p3, 1u) << "command " << command << " wrote past its two values";
            EXPECT_EQ(code, command);
            for (int i = 18; i < 64; ++i) ASSERT_EQ(view[i], 0) << "byte " << i;
        }
    }
    EXPECT_TRUE(s_app->IsRunning());
    EXPECT_EQ(ToWatch(sample::kMsgWatchPing, 2, 3), 5) << "the sample still answers";
}

TEST_F(DataMessageTest, ValuesTheMessageDidNotWriteAreZeroNotLeftovers) {
    // Fill the agent's buffer once, then ask a message that writes nothing.
    SendForTwoValues(Client(), m_watch, sample::kMsgWatchFillLParam, 64, kInL);
    DataPairResult r = SendForTwoValues(Client(), m_watch, sample::kMsgWatchEchoWParam, 0x00050003u, kInL);
    ASSERT_EQ(r.status, AgentStatus::Ok);
    EXPECT_EQ(r.first, 0);
    EXPECT_EQ(r.second, 0);
    DataRectResult rect = SendForRect(Client(), m_watch, sample::kMsgWatchEchoWParam, 1, kInL);
    EXPECT_TRUE(rect.rect.left == 0 && rect.rect.top == 0 && rect.rect.right == 0 && rect.rect.bottom == 0)
        << rect.rect.left << "," << rect.rect.top << "," << rect.rect.right << "," << rect.rect.bottom;
}

TEST_F(DataMessageTest, RectangleOfATabComesBackInRectOrder) {
    HWND fixed = WatchControl(sample::kTabFixedId);
    ASSERT_NE(fixed, nullptr);
    RECT previous = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        RECT r = TabRect(fixed, i);
        EXPECT_EQ(r.right - r.left, 60) << "tab " << i << ": fixed width";
        EXPECT_GT(r.bottom, r.top) << "tab " << i;
        if (i > 0) {
            EXPECT_EQ(r.left, previous.right) << "fixed-width tabs sit edge to edge";
        }
        previous = r;
    }
}

TEST_F(DataMessageTest, CaretPositionOfTheSampleThreadAndZeroWithoutCaret) {
    ASSERT_EQ(ToWatch(sample::kMsgWatchSetCaret, 17, 9), 1);
    // P1..P3 are not used by the caret command.
    DataRecord raw = DataCommandRecord(Client(), m_watch, 0xDEAD, 0xBEEF, 0xF00D, kDataCaretPosition);
    ASSERT_EQ(raw.status, AgentStatus::Ok);
    EXPECT_EQ(raw.values[0], 17);
    EXPECT_EQ(raw.values[1], 9);
    ASSERT_EQ(ToWatch(sample::kMsgWatchSetCaret, 120, 33), 1);
    DataPointResult caret = GetCaretPosition(Client(), m_watch);
    EXPECT_EQ(caret.point.x, 120);
    EXPECT_EQ(caret.point.y, 33);
    ToWatch(sample::kMsgWatchSetCaret, static_cast<WPARAM>(-1));
    caret = GetCaretPosition(Client(), m_watch);
    ASSERT_EQ(caret.status, AgentStatus::Ok);
    EXPECT_EQ(caret.point.x, 0);
    EXPECT_EQ(caret.point.y, 0);
}

TEST_F(DataMessageTest, InvalidCodesAndTheWatchLeaveTheRecordAndStillReply) {
    for (uint16_t code : {uint16_t(5), uint16_t(6), uint16_t(7), uint16_t(8), uint16_t(11), uint16_t(0x7FFF),
                          uint16_t(0x8000), uint16_t(0xFFFF)}) {
        DataRecord r = DataCommandRecord(Client(), m_watch, sample::kMsgWatchPing, 1, 2, code);
        EXPECT_EQ(r.status, AgentStatus::NotProcessed) << "code " << code << ": " << AgentStatusText(r.status);
        EXPECT_EQ(r.header, kRequestWord) << "code " << code;
        EXPECT_EQ(r.values[0], static_cast<int32_t>(sample::kMsgWatchPing)) << "code " << code;
        EXPECT_EQ(r.values[1], 1) << "code " << code;
    }
    CListenerWindow listener;
    const uint32_t bits = static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(listener.Window()));
    DataRecord watch = DataCommandRecord(Client(), m_watch, sample::kMsgWatchPing, bits, 0, kDataWatch);
    EXPECT_EQ(watch.status, AgentStatus::NotProcessed);
    EXPECT_EQ(watch.header, kRequestWord);
    EXPECT_EQ(RemoveMessageWatch(Client(), m_watch, listener.Window()), AgentStatus::Ok);
}

TEST_F(DataMessageTest, MenuItemRectangleOfTheFrameMenuBarAndZeroForNoMenu) {
    HWND frame = s_app->Frame();
    HMENU bar = GetMenu(frame);
    ASSERT_NE(bar, nullptr);
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    const POINT client = Screen(frame, {0, 0});
    RECT previous = {0, 0, 0, 0};
    for (UINT item = 0; item < 3; ++item) {
        DataRectResult r = GetMenuItemRectangle(Client(), frame, frame, bar, item);
        ASSERT_EQ(r.status, AgentStatus::Ok);
        EXPECT_GT(r.rect.right, r.rect.left) << "item " << item;
        EXPECT_GE(r.rect.left, frameRect.left) << "item " << item;
        EXPECT_LE(r.rect.bottom, client.y) << "item " << item << ": the bar lies above the client area";
        if (item > 0) {
            EXPECT_GE(r.rect.left, previous.right) << "items run left to right";
        }
        previous = r.rect;
    }
    DataRectResult none = GetMenuItemRectangle(Client(), frame, frame, reinterpret_cast<HMENU>(0x1234), 0);
    ASSERT_EQ(none.status, AgentStatus::Ok);
    EXPECT_TRUE(none.rect.left == 0 && none.rect.top == 0 && none.rect.right == 0 && none.rect.bottom == 0);
}

TEST_F(DataMessageTest, TabPointIsTheMiddleBelowTheRowAndTheBoundaryOnIt) {
    // The middle of the text tabs' client area lies below their row.
    HWND texts = WatchControl(sample::kTabTextId);
    RECT client;
    GetClientRect(texts, &client);
    POINT middle = Screen(texts, {client.right / 2, client.bottom / 2});
    POINT got = ClickPoint(texts);
    EXPECT_EQ(got.x, middle.x);
    EXPECT_EQ(got.y, middle.y);

    // Fixed-width tabs, edge to edge: the boundary between the tab under
    // the middle and its left neighbour.
    HWND fixed = WatchControl(sample::kTabFixedId);
    GetClientRect(fixed, &client);
    int hit = HitTab(fixed, {client.right / 2, client.bottom / 2});
    ASSERT_GE(hit, 1) << "the middle of the fixed tabs falls on a tab past the first";
    const LONG boundary = TabRect(fixed, hit - 1).right;
    ASSERT_EQ(TabRect(fixed, hit).left, boundary) << "no gap";
    got = ClickPoint(fixed);
    POINT expected = Screen(fixed, {boundary, client.bottom / 2});
    EXPECT_EQ(got.x, expected.x);
    EXPECT_EQ(got.y, expected.y);

    // Buttons with a gap of 3: half the gap past the left tab, truncated.
    HWND buttons = WatchControl(sample::kTabButtonsId);
    GetClientRect(buttons, &client);
    hit = HitTab(buttons, {client.right / 2, client.bottom / 2});
    ASSERT_GE(hit, 1);
    RECT a = TabRect(buttons, hit - 1), b = TabRect(buttons, hit);
    ASSERT_EQ(b.left - a.right, 3) << "button tabs have gaps of 3";
    got = ClickPoint(buttons);
    expected = Screen(buttons, {a.right + 1, client.bottom / 2});
    EXPECT_EQ(got.x, expected.x);
    EXPECT_EQ(got.y, expected.y);

    // A single tab: just inside its left edge.
    HWND single = WatchControl(sample::kTabSingleId);
    GetClientRect(single, &client);
    got = ClickPoint(single);
    expected = Screen(single, {TabRect(single, 0).left + 2, client.bottom / 2});
    EXPECT_EQ(got.x, expected.x);
    EXPECT_EQ(got.y, expected.y);
}

TEST_F(DataMessageTest, RandomArgumentsForCaretMenuAndTabCommandsAreAnsweredAndHarmless) {
    // Any window, menu and item numbers, and codes that are no command: the
    // agent answers each and the sample lives on. (Commands 0 to 2 send any
    // message the controller names; that is their purpose, so they are not
    // fed random messages here.)
    std::mt19937 random(1234);
    HWND targets[] = {m_watch, WatchControl(sample::kTabTextId), WatchControl(sample::kEditId), s_app->Frame()};
    const uint16_t codes[] = {kDataCaretPosition, kDataMenuItemRect, kDataTabClickPoint, 5, 8, 11, 0x4000, 0xFFF0};
    for (int i = 0; i < 300; ++i) {
        const uint16_t code = codes[random() % 8];
        HWND target = targets[random() % 4];
        uint32_t p[3];
        for (uint32_t& v : p) v = (random() % 3) ? static_cast<uint32_t>(random()) : (random() % 2 ? 0u : 0xFFFFFFFFu);
        CWireCursor reply;
        const AgentStatus status = SendDataCommand(Client(), target, p[0], p[1], p[2], code, &reply);
        const bool replies = code == kDataCaretPosition || code == kDataMenuItemRect || code == kDataTabClickPoint;
        ASSERT_EQ(status, replies ? AgentStatus::Ok : AgentStatus::NotProcessed)
            << "request " << i << " code " << code << ": " << AgentStatusText(status);
    }
    EXPECT_TRUE(s_app->IsRunning());
    EXPECT_EQ(ToWatch(sample::kMsgWatchPing, 20, 22), 42);
}

}  // namespace
