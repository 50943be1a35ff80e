// Records filled with garbage, sent to the agent inside the sample
// application: every request must be answered (as a success or as a
// refused request) within the time limit, and the sample must keep
// running and answering. The record is as small as a mapping gets (one
// page), so that lengths and forms read from the garbage run into the
// view's end.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "client/AgentClient.h"
#include "sample/SampleProtocol.h"
#include "tests/support/SharedSampleSuite.h"

namespace {

const size_t kSmallRecord = 4096;
const DWORD kAnswerMs = 3000;

// Values that break naive length and index handling.
const uint32_t kAwkward[] = {0, 1, 2, 3, 7, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF, 0x10000,
                             0x7FFFFFFF, 0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu, 4090, 4096};

class HostileRecordTest : public CSharedSampleSuite<HostileRecordTest> {
public:
    static constexpr const char* kArguments = "--no-dialog";
    static constexpr size_t kRecordSize = kSmallRecord;

protected:
    void SetUp() override {
        CSharedSampleSuite::SetUp();
        if (HasFatalFailure()) return;
        m_targets = {s_app->Frame(), s_app->Control(sample::kListViewId), s_app->Control(sample::kStatusId),
                     GetDlgItem(GetDlgItem(s_app->Control(sample::kPanelId), sample::kGroupId), sample::kDeepEditId)};
        for (HWND w : m_targets) ASSERT_NE(w, nullptr);
    }

    uint32_t Word() {
        return (m_random() & 1) ? kAwkward[m_random() % (sizeof(kAwkward) / sizeof(kAwkward[0]))]
                                : static_cast<uint32_t>(m_random());
    }
    // The kind codes the agent knows, and some it does not.
    uint16_t Kind() {
        static const uint16_t kinds[] = {3, 7, 7, 3, 4, 6, 8, 13, 0, 5, 14, 0xFFFF};
        return (m_random() % 8) ? kinds[m_random() % (sizeof(kinds) / sizeof(kinds[0]))]
                                : static_cast<uint16_t>(m_random());
    }
    // Fills the rest of the record: awkward words, or plain noise.
    void Fill(CWireCursor& w) {
        const bool bNoise = m_random() % 3 == 0;
        while (w.Ok() && w.Offset() + 4 <= kSmallRecord) {
            w.WriteU32(bNoise ? static_cast<uint32_t>(m_random()) : Word());
        }
    }

    // Sends one garbage request; the agent must answer it.
    void SendOne(int round) {
        const AgentMessages& m = s_client->Messages();
        HWND target = m_targets[m_random() % m_targets.size()];
        CWireCursor w = s_client->BeginRequest();
        UINT sub = 0;
        switch (m_random() % 3) {
            case 0:  // kind, a point anywhere, factory argument
                sub = m.nGetItemRect;
                w.WriteU32(m_random() % 4 ? Kind() : Word()).WriteU32(Word()).WriteU32(Word()).WriteU32(Word());
                break;
            case 1:  // kind, factory argument, then a form made of garbage
                sub = m.nLocateItem;
                w.WriteU16(Kind()).WriteU32(Word());
                break;
            default:  // item wanted, kind, index, factory argument
                sub = m.nInfoProbe;
                w.WriteU32(m_random() % 4 ? (m_random() & 1) : Word()).WriteU16(Kind()).WriteU32(Word()).WriteU32(Word());
                break;
        }
        Fill(w);
        CWireCursor reply;
        const AgentStatus status = s_client->Send(target, sub, 0, w, &reply, kAnswerMs);
        ASSERT_TRUE(status == AgentStatus::Ok || status == AgentStatus::Overrun)
            << "round " << round << ": " << AgentStatusText(status);
    }

    std::vector<HWND> m_targets;
    std::mt19937 m_random{20261207u};
};

TEST_F(HostileRecordTest, GarbageRequestsAreAnsweredAndTheTargetSurvives) {
    for (int round = 0; round < 600; ++round) {
        SendOne(round);
        if (HasFatalFailure()) return;
        if (round % 100 == 99) {
            ASSERT_TRUE(s_app->IsRunning()) << "the sample ended by round " << round;
            ASSERT_EQ(s_client->Ping(s_app->Frame(), kAnswerMs), AgentStatus::Ok) << "round " << round;
        }
    }
    // The sample's own list is still usable afterwards.
    EXPECT_EQ(s_app->Send(sample::kMsgSetItemCount, 20), 1);
}

TEST_F(HostileRecordTest, FormsWithAwkwardLengthsAtTheVeryEndOfTheRecord) {
    // A menu-bar or list-view form whose text length field sits in the last
    // bytes of the view: each offset near the end, each awkward length.
    const AgentMessages& m = s_client->Messages();
    HWND list = m_targets[1];
    for (uint16_t kind : {uint16_t(3), uint16_t(7)}) {
        const size_t formFixed = kind == 3 ? 21 + 4 : 21 + 32;  // base form and the kind's fixed fields
        for (size_t tail = 0; tail <= 12; ++tail) {
            for (uint32_t length : kAwkward) {
                CWireCursor w = s_client->BeginRequest();
                w.WriteU16(kind).WriteU32(0);
                // Pad so that the text length field starts 'tail' bytes before the end.
                const size_t lengthAt = kSmallRecord - tail;
                const size_t formAt = lengthAt - formFixed;
                while (w.Offset() < formAt) w.WriteU8(0);
                for (size_t i = 0; i < formFixed; ++i) w.WriteU8(static_cast<uint8_t>(i == 0 ? 1 : 0));
                for (int b = 0; b < 4 && w.Offset() < kSmallRecord; ++b) w.WriteU8(static_cast<uint8_t>(length >> (8 * b)));
                while (w.Offset() < kSmallRecord) w.WriteU8('A');
                CWireCursor reply;
                const AgentStatus status = s_client->Send(kind == 3 ? s_app->Frame() : list, m.nLocateItem, 0, w,
                                                          &reply, kAnswerMs);
                ASSERT_TRUE(status == AgentStatus::Ok || status == AgentStatus::Overrun)
                    << "kind " << kind << ", length " << length << ", " << tail << " bytes before the end: "
                    << AgentStatusText(status);
            }
        }
    }
    ASSERT_TRUE(s_app->IsRunning());
    EXPECT_EQ(s_client->Ping(s_app->Frame(), kAnswerMs), AgentStatus::Ok);
}

}  // namespace
