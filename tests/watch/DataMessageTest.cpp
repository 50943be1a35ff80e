// "TavmorDataMessage" against the sample's watch window and its controls in
// a process of their own: both pointer placements, the fallback to the
// result's halves and its sign extension, a message that writes far more
// than 16 bytes, the caret, menu item rectangles, tab click points, and
// the codes that leave the record as it was.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "tests/watch/WatchSampleSuite.h"

namespace {

const uint16_t kSendPairWithFallback = 0, kSendRect = 1, kSendPair = 2, kCaret = 3, kWatch = 4;
const uint16_t kMenuItemRect = 9, kTabPoint = 10;
const uint32_t kRequestWord = 0x12345678;
const uint32_t kPointerInLParam = 1, kPointerInWParam = 0;

class DataMessageTest : public CWatchSampleSuite<DataMessageTest> {
protected:
    DataReply Data(HWND target, uint32_t p1, uint32_t p2, uint32_t p3, uint16_t command) {
        return SendDataCommand(Client(), target, p1, p2, p3, command);
    }
    RECT TabRectFromAgent(HWND tab, int index) {
        DataReply r = Data(tab, TCM_GETITEMRECT, static_cast<uint32_t>(index), kPointerInLParam, kSendRect);
        EXPECT_EQ(r.status, AgentStatus::Ok);
        return {r.values[0], r.values[1], r.values[2], r.values[3]};
    }
    // The tab under a client point of the control, by the agent's hit test.
    int HitTab(HWND tab, POINT client) {
        ClientToScreen(tab, &client);
        CRecordWriter w = Client().BeginRequest();
        w.U32(10).I32(client.x).I32(client.y).U32(0);
        CRecordReader reply;
        EXPECT_EQ(Client().Send(tab, Client().Messages().nGetItemRect, 0, w, &reply), AgentStatus::Ok);
        return reply.I32();
    }
    POINT TabPoint(HWND tab) {
        DataReply r = Data(tab, 0, 0, 0, kTabPoint);
        EXPECT_EQ(r.status, AgentStatus::Ok);
        return {r.values[0], r.values[1]};
    }
};

TEST_F(DataMessageTest, ResultHalvesStandInWhenTheMessageWritesNothing) {
    struct Case {
        uint32_t result;
        int32_t first, second;
    };
    for (const Case& c : {Case{0x00050003u, 3, 5}, Case{0xFFFF8000u, -32768, -1}, Case{0x7FFF0001u, 1, 32767}}) {
        DataReply r = Data(m_watch, sample::kMsgWatchEchoWParam, c.result, kPointerInLParam, kSendPairWithFallback);
        ASSERT_EQ(r.status, AgentStatus::Ok) << AgentStatusText(r.status);
        EXPECT_EQ(r.header, 0u);
        EXPECT_EQ(r.values[0], c.first) << std::hex << "result 0x" << c.result;
        EXPECT_EQ(r.values[1], c.second) << std::hex << "result 0x" << c.result;
    }
}

TEST_F(DataMessageTest, PointerGoesIntoLParamOrWParamAsP3Says) {
    // P3 = 1: wParam is P2 (a byte count), lParam the buffer.
    DataReply inL = Data(m_watch, sample::kMsgWatchFillLParam, 8, kPointerInLParam, kSendPairWithFallback);
    ASSERT_EQ(inL.status, AgentStatus::Ok);
    EXPECT_EQ(static_cast<uint32_t>(inL.values[0]), 0x03020100u);
    EXPECT_EQ(static_cast<uint32_t>(inL.values[1]), 0x07060504u);
    // P3 = 0: wParam is the buffer, lParam P2 (widened with its sign).
    DataReply inW = Data(m_watch, sample::kMsgWatchFillWParam, 41, kPointerInWParam, kSendPairWithFallback);
    ASSERT_EQ(inW.status, AgentStatus::Ok);
    EXPECT_EQ(inW.values[0], 41);
    EXPECT_EQ(inW.values[1], -41);
    DataReply negative = Data(m_watch, sample::kMsgWatchFillWParam, static_cast<uint32_t>(-9), kPointerInWParam, kSendPair);
    EXPECT_EQ(negative.values[0], -9);
    EXPECT_EQ(negative.values[1], 9);
}

TEST_F(DataMessageTest, MessageWritingKilobytesLeavesTheAgentAndTheReplyIntact) {
    for (uint16_t command : {kSendPairWithFallback, kSendRect, kSendPair}) {
        DataReply r = Data(m_watch, sample::kMsgWatchFillLParam, 6000, kPointerInLParam, command);
        ASSERT_EQ(r.status, AgentStatus::Ok) << "command " << command;
        EXPECT_EQ(static_cast<uint32_t>(r.values[0]), 0x03020100u) << "command " << command;
        EXPECT_EQ(static_cast<uint32_t>(r.values[1]), 0x07060504u) << "command " << command;
        // The reply holds exactly its values: behind them the request's
        // rest (P3, the code) or the zeros the record started with.
        const uint8_t* view = Client().View();
        if (command == kSendRect) {
            for (int i = 20; i < 64; ++i) ASSERT_EQ(view[i], 0) << "byte " << i << " behind the rectangle";
        } else {
            uint32_t p3 = 0;
            uint16_t code = 0xFFFF;
            std::memcpy(&p3, view + 12, 4);
            std::memcpy(&code, view + 16, 2);
            EXPECT_EQ(p3, kPointerInLParam) << "command " << command << " wrote past its two values";
            EXPECT_EQ(code, command);
            for (int i = 18; i < 64; ++i) ASSERT_EQ(view[i], 0) << "byte " << i;
        }
    }
    EXPECT_TRUE(s_app->IsRunning());
    EXPECT_EQ(ToWatch(sample::kMsgWatchPing, 2, 3), 5) << "the sample still answers";
}

TEST_F(DataMessageTest, TwoValuesWithoutWritesAreZeroNotLeftovers) {
    // Fill the agent's buffer once, then ask a message that writes nothing.
    Data(m_watch, sample::kMsgWatchFillLParam, 64, kPointerInLParam, kSendPair);
    DataReply r = Data(m_watch, sample::kMsgWatchEchoWParam, 0x00050003u, kPointerInLParam, kSendPair);
    ASSERT_EQ(r.status, AgentStatus::Ok);
    EXPECT_EQ(r.values[0], 0);
    EXPECT_EQ(r.values[1], 0);
    DataReply rect = Data(m_watch, sample::kMsgWatchEchoWParam, 1, kPointerInLParam, kSendRect);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(rect.values[i], 0) << "value " << i;
}

TEST_F(DataMessageTest, RectangleOfATabComesBackInRectOrder) {
    HWND fixed = WatchControl(sample::kTabFixedId);
    ASSERT_NE(fixed, nullptr);
    RECT previous = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        RECT r = TabRectFromAgent(fixed, i);
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
    DataReply r = Data(m_watch, 0xDEAD, 0xBEEF, 0xF00D, kCaret);
    ASSERT_EQ(r.status, AgentStatus::Ok);
    EXPECT_EQ(r.values[0], 17);
    EXPECT_EQ(r.values[1], 9);
    ASSERT_EQ(ToWatch(sample::kMsgWatchSetCaret, 120, 33), 1);
    r = Data(m_watch, 0, 0, 0, kCaret);
    EXPECT_EQ(r.values[0], 120);
    EXPECT_EQ(r.values[1], 33);
    ToWatch(sample::kMsgWatchSetCaret, static_cast<WPARAM>(-1));
    r = Data(m_watch, 0, 0, 0, kCaret);
    ASSERT_EQ(r.status, AgentStatus::Ok);
    EXPECT_EQ(r.values[0], 0);
    EXPECT_EQ(r.values[1], 0);
}

TEST_F(DataMessageTest, InvalidCodesAndTheWatchLeaveTheRecordAndStillReply) {
    for (uint16_t code : {uint16_t(5), uint16_t(6), uint16_t(7), uint16_t(8), uint16_t(11), uint16_t(0x7FFF),
                          uint16_t(0x8000), uint16_t(0xFFFF)}) {
        DataReply r = Data(m_watch, sample::kMsgWatchPing, 1, 2, code);
        EXPECT_EQ(r.status, AgentStatus::NotProcessed) << "code " << code << ": " << AgentStatusText(r.status);
        EXPECT_EQ(r.header, kRequestWord) << "code " << code;
        EXPECT_EQ(r.values[0], static_cast<int32_t>(sample::kMsgWatchPing)) << "code " << code;
        EXPECT_EQ(r.values[1], 1) << "code " << code;
    }
    CListenerWindow listener;
    DataReply watch = Data(m_watch, sample::kMsgWatchPing, static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(listener.Window())), 0, kWatch);
    EXPECT_EQ(watch.status, AgentStatus::NotProcessed);
    EXPECT_EQ(watch.header, kRequestWord);
    Data(m_watch, 0, static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(listener.Window())), 0, kWatch);
}

TEST_F(DataMessageTest, MenuItemRectangleOfTheFrameMenuBarAndZeroForNoMenu) {
    HWND frame = s_app->Frame();
    HMENU bar = GetMenu(frame);
    ASSERT_NE(bar, nullptr);
    const uint32_t menu = static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(bar));
    const uint32_t window = static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(frame));
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    POINT client = {0, 0};
    ClientToScreen(frame, &client);
    RECT previous = {0, 0, 0, 0};
    for (uint32_t item = 0; item < 3; ++item) {
        DataReply r = Data(frame, item, menu, window, kMenuItemRect);
        ASSERT_EQ(r.status, AgentStatus::Ok);
        RECT got = {r.values[0], r.values[1], r.values[2], r.values[3]};
        EXPECT_GT(got.right, got.left) << "item " << item;
        EXPECT_GE(got.left, frameRect.left) << "item " << item;
        EXPECT_LE(got.bottom, client.y) << "item " << item << ": the bar lies above the client area";
        if (item > 0) {
            EXPECT_GE(got.left, previous.right) << "items run left to right";
        }
        previous = got;
    }
    DataReply none = Data(frame, 0, 0x1234, window, kMenuItemRect);
    ASSERT_EQ(none.status, AgentStatus::Ok);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(none.values[i], 0) << "value " << i;
}

TEST_F(DataMessageTest, TabPointIsTheMiddleBelowTheRowAndTheBoundaryOnIt) {
    // The middle of the text tabs' client area lies below their row.
    HWND texts = WatchControl(sample::kTabTextId);
    RECT client;
    GetClientRect(texts, &client);
    POINT middle = {client.right / 2, client.bottom / 2};
    ClientToScreen(texts, &middle);
    POINT got = TabPoint(texts);
    EXPECT_EQ(got.x, middle.x);
    EXPECT_EQ(got.y, middle.y);

    // Fixed-width tabs, edge to edge: the boundary between the tab under
    // the middle and its left neighbour.
    HWND fixed = WatchControl(sample::kTabFixedId);
    GetClientRect(fixed, &client);
    int hit = HitTab(fixed, {client.right / 2, client.bottom / 2});
    ASSERT_GE(hit, 1) << "the middle of the fixed tabs falls on a tab past the first";
    got = TabPoint(fixed);
    POINT expected = {TabRectFromAgent(fixed, hit - 1).right, client.bottom / 2};
    ASSERT_EQ(TabRectFromAgent(fixed, hit).left, expected.x) << "no gap";
    ClientToScreen(fixed, &expected);
    EXPECT_EQ(got.x, expected.x);
    EXPECT_EQ(got.y, expected.y);

    // Buttons with a gap of 3: half the gap past the left tab, truncated.
    HWND buttons = WatchControl(sample::kTabButtonsId);
    GetClientRect(buttons, &client);
    hit = HitTab(buttons, {client.right / 2, client.bottom / 2});
    ASSERT_GE(hit, 1);
    RECT a = TabRectFromAgent(buttons, hit - 1), b = TabRectFromAgent(buttons, hit);
    ASSERT_EQ(b.left - a.right, 3) << "button tabs have gaps of 3";
    got = TabPoint(buttons);
    expected = {a.right + 1, client.bottom / 2};
    ClientToScreen(buttons, &expected);
    EXPECT_EQ(got.x, expected.x);
    EXPECT_EQ(got.y, expected.y);

    // A single tab: just inside its left edge.
    HWND single = WatchControl(sample::kTabSingleId);
    got = TabPoint(single);
    GetClientRect(single, &client);
    expected = {TabRectFromAgent(single, 0).left + 2, client.bottom / 2};
    ClientToScreen(single, &expected);
    EXPECT_EQ(got.x, expected.x);
    EXPECT_EQ(got.y, expected.y);
}

}  // namespace
