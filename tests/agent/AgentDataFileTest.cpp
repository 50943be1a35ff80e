// The agent's reader and writer over the shared record, on a mapping that
// the test creates under the record's name.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "channel/AgentDataFile.h"
#include "forms/DataMessageRequestForm.h"
#include "forms/InfoProbeRequestForm.h"

namespace {

class CTestRecord {
public:
    explicit CTestRecord(DWORD size) {
        m_mapping.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size,
                                           "TavmorAgentMapFile"));
        m_view.Reset(MapViewOfFile(m_mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
        m_pView = static_cast<BYTE*>(m_view.Get());
        m_nSize = size;
    }
    BYTE* Bytes() { return m_pView; }
    void PutU32(size_t offset, uint32_t v) { std::memcpy(m_pView + offset, &v, 4); }
    void PutU16(size_t offset, uint16_t v) { std::memcpy(m_pView + offset, &v, 2); }
    uint32_t GetU32(size_t offset) const {
        uint32_t v;
        std::memcpy(&v, m_pView + offset, 4);
        return v;
    }

private:
    COwnedHandle m_mapping;
    COwnedView m_view;
    BYTE* m_pView;
    DWORD m_nSize;
};

}  // namespace

TEST(AgentDataFile, MissingMappingIsRefused) {
    CAgentDataFile file;
    EXPECT_EQ(file.Attach(), nullptr);
    EXPECT_TRUE(file.Detach());
}

TEST(AgentDataFile, WrongHeaderIsRefusedAndNothingWritten) {
    CTestRecord record(4096);
    record.PutU32(0, 0x12345677);
    record.PutU32(4, 0xAABBCCDD);
    {
        CAgentDataFile file;
        EXPECT_EQ(file.Attach(), nullptr);
        EXPECT_EQ(file.GetViewBase(), nullptr);
        file.WriteDWord(7);  // detached: must not touch anything
    }
    EXPECT_EQ(record.GetU32(0), 0x12345677u);
    EXPECT_EQ(record.GetU32(4), 0xAABBCCDDu);
}

TEST(AgentDataFile, FieldsArePackedWithoutGaps) {
    CTestRecord record(4096);
    record.PutU32(0, 0x12345678);
    record.PutU16(4, 0xFFFF);
    record.PutU32(6, 0x01020304);
    record.PutU32(10, static_cast<uint32_t>(-5));
    record.PutU32(14, 77);
    CAgentDataFile file;
    BYTE* cursor = file.Attach();
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor - file.GetViewBase(), 4);
    uint16_t kind = 0;
    uint32_t word = 0;
    POINT pt = {};
    file.ReadWord(kind);
    file.ReadDWord(word);
    file.ReadPoint(pt);
    EXPECT_EQ(static_cast<int16_t>(kind), -1);
    EXPECT_EQ(word, 0x01020304u);
    EXPECT_EQ(pt.x, -5);
    EXPECT_EQ(pt.y, 77);
    EXPECT_EQ(file.GetCursor() - file.GetViewBase(), 18);
    EXPECT_FALSE(file.HasOverrun());
}

TEST(AgentDataFile, RewindWritesTheReplyOverTheRequest) {
    CTestRecord record(4096);
    record.PutU32(0, 0x12345678);
    CAgentDataFile file;
    ASSERT_NE(file.Attach(), nullptr);
    EXPECT_EQ(file.Rewind(false) - file.GetViewBase(), 4);
    EXPECT_EQ(record.GetU32(0), 0x12345678u);
    EXPECT_EQ(file.Rewind(true) - file.GetViewBase(), 4);
    RECT r = {1, 2, 3, 4};
    file.WriteDWord(static_cast<uint32_t>(-1));
    file.WriteRect(r);
    file.WritePair(9, 10);
    EXPECT_EQ(file.GetCursor() - file.GetViewBase(), 32);
    EXPECT_TRUE(file.Detach());
    EXPECT_EQ(record.GetU32(0), 0u);
    EXPECT_EQ(record.GetU32(4), 0xFFFFFFFFu);
    EXPECT_EQ(record.GetU32(8), 1u);   // RECT order: left, top, right, bottom
    EXPECT_EQ(record.GetU32(12), 2u);
    EXPECT_EQ(record.GetU32(16), 3u);
    EXPECT_EQ(record.GetU32(20), 4u);
    EXPECT_EQ(record.GetU32(24), 9u);
    EXPECT_EQ(record.GetU32(28), 10u);
    // A processed record is not processed again.
    CAgentDataFile again;
    EXPECT_EQ(again.Attach(), nullptr);
}

TEST(AgentDataFile, CursorStaysInsideTheView) {
    // The view is one page; a field crossing its end is not read, and the
    // record is stamped as overrun for the controller to see.
    CTestRecord record(4096);
    record.PutU32(0, 0x12345678);
    CAgentDataFile file;
    ASSERT_NE(file.Attach(), nullptr);
    ASSERT_EQ(file.GetViewEnd() - file.GetViewBase(), 4096);
    ASSERT_TRUE(file.Fits(4092));
    std::vector<uint32_t> words(1022);
    for (auto& w : words) file.ReadDWord(w);
    EXPECT_FALSE(file.HasOverrun());
    EXPECT_EQ(file.Remaining(), 4u);
    uint16_t half = 0;
    file.ReadWord(half);
    uint32_t tooFar = 0xDEAD;
    file.ReadDWord(tooFar);  // only 2 bytes left
    EXPECT_EQ(tooFar, 0u);
    EXPECT_TRUE(file.HasOverrun());
    file.WriteDWord(5);  // dropped, cursor unchanged
    EXPECT_EQ(file.GetCursor(), file.GetViewEnd() - 2);
    EXPECT_TRUE(file.Detach());
    EXPECT_EQ(record.GetU32(0), 0xFFFFFFFFu);
}

TEST(AgentDataFile, AFormCutByTheViewsEndIsReadUpToTheCutAndFailsTheRequest) {
    // A probe request whose last field, the factory argument, crosses the
    // view's end: the fields before it arrive, the argument keeps the
    // fresh form's 0.
    CTestRecord record(4096);
    record.PutU32(0, 0x12345678);
    record.PutU32(4084, 1);           // item wanted
    record.PutU16(4088, 7);           // kind
    record.PutU32(4090, 0x01020304);  // item number; two bytes behind it
    CAgentDataFile file;
    ASSERT_NE(file.Attach(), nullptr);
    ASSERT_EQ(file.GetViewEnd() - file.GetViewBase(), 4096);
    std::vector<uint32_t> words((4084 - 4) / 4);
    for (auto& w : words) file.ReadDWord(w);
    InfoProbeRequestForm request;
    EXPECT_FALSE(file.ReadForm(request));
    EXPECT_TRUE(file.HasOverrun());
    EXPECT_EQ(request.nItemWanted, 1u);
    EXPECT_EQ(request.nKind, 7);
    EXPECT_EQ(request.nIndex, 0x01020304u);
    EXPECT_EQ(request.nFactoryArgument, 0u);
    // The reply of an overrun record is not written; the header says why.
    file.Rewind(true);
    DataPairReplyForm reply;
    reply.first = 5;
    EXPECT_FALSE(file.WriteForm(reply));
    EXPECT_TRUE(file.Detach());
    EXPECT_EQ(record.GetU32(0), 0xFFFFFFFFu);
    EXPECT_EQ(record.GetU32(4), 0u);
}

TEST(AgentDataFile, AReplyFormThatDoesNotFitIsNotWrittenPastTheEnd) {
    CTestRecord record(4096);
    record.PutU32(0, 0x12345678);
    CAgentDataFile file;
    ASSERT_NE(file.Attach(), nullptr);
    std::vector<uint32_t> words((4084 - 4) / 4);
    for (auto& w : words) file.ReadDWord(w);
    // Twelve bytes are left; a rectangle takes sixteen.
    DataRectReplyForm reply;
    reply.rect = {1, 2, 3, 4};
    EXPECT_FALSE(file.WriteForm(reply));
    EXPECT_TRUE(file.HasOverrun());
    EXPECT_LE(file.GetCursor(), file.GetViewEnd());
    EXPECT_TRUE(file.Detach());
    EXPECT_EQ(record.GetU32(0), 0xFFFFFFFFu);
}

