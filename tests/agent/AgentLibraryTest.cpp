// The library image itself: undecorated exports, a shared data section,
// and the message ids registered at load.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "agent/AgentSharedState.h"
#include "client/AgentClient.h"
#include "common/Owned.h"
#include "tests/support/HookedSample.h"
#include "tests/support/SampleProcess.h"

namespace {

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}

}  // namespace

TEST(AgentLibrary, ExportsUndecoratedEntryPoints) {
    const COwnedLibrary library(LoadLibraryA((TestProgramDirectory() + VINTREL_AGENT_FILE).c_str()));
    const HMODULE agent = library.Get();
    ASSERT_NE(agent, nullptr);
    for (const char* name : {"DllMain", "AgentHookProc", "hookAgent", "spyWindow"}) {
        EXPECT_NE(GetProcAddress(agent, name), nullptr) << name;
    }
}

TEST(AgentLibrary, SharedStateLivesInASharedWritableSection) {
    std::vector<unsigned char> image = ReadFileBytes(TestProgramDirectory() + VINTREL_AGENT_FILE);
    ASSERT_GT(image.size(), 0x400u);
    LONG peOffset;
    std::memcpy(&peOffset, &image[0x3C], 4);
    IMAGE_NT_HEADERS nt;
    ASSERT_LT(static_cast<size_t>(peOffset) + sizeof(nt), image.size());
    std::memcpy(&nt, &image[peOffset], sizeof(nt));
    size_t sections = peOffset + offsetof(IMAGE_NT_HEADERS, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader;
    bool found = false;
    for (int i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER sh;
        std::memcpy(&sh, &image[sections + i * sizeof(sh)], sizeof(sh));
        if (std::strncmp(reinterpret_cast<const char*>(sh.Name), ".shared", 8) == 0) {
            found = true;
            EXPECT_TRUE(sh.Characteristics & IMAGE_SCN_MEM_SHARED);
            EXPECT_TRUE(sh.Characteristics & IMAGE_SCN_MEM_WRITE);
            EXPECT_TRUE(sh.Characteristics & IMAGE_SCN_MEM_READ);
            EXPECT_GE(sh.Misc.VirtualSize, sizeof(AgentSharedState));
        }
    }
    EXPECT_TRUE(found);
}

TEST(AgentLibrary, TheAgentAndTheControllerTakeTheirIdsFromOneTable) {
    CAgentClient client;
    std::string error;
    ASSERT_TRUE(OpenTestClient(client, CAgentClient::kDefaultRecordSize, &error)) << error;
    // The ids the loaded agent registered into its shared state, read from
    // its shared section, against the ids the controller registered.
    const BYTE* image = reinterpret_cast<const BYTE*>(client.Agent());
    const IMAGE_NT_HEADERS* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(image + reinterpret_cast<const IMAGE_DOS_HEADER*>(image)->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    const AgentSharedState* shared = nullptr;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (std::strncmp(reinterpret_cast<const char*>(section->Name), ".shared", 8) == 0) {
            shared = reinterpret_cast<const AgentSharedState*>(image + section->VirtualAddress);
        }
    }
    ASSERT_NE(shared, nullptr);
    const AgentMessages& m = client.Messages();
    EXPECT_EQ(shared->bInitialized, 1);
    EXPECT_EQ(shared->nEnvelopeMsg, m.nEnvelope);
    EXPECT_EQ(shared->nGetItemRectMsg, m.nGetItemRect);
    EXPECT_EQ(shared->nInfoProbeMsg, m.nInfoProbe);
    EXPECT_EQ(shared->nLocateItemMsg, m.nLocateItem);
    EXPECT_EQ(shared->nAgentReturnMsg, m.nAgentReturn);
    EXPECT_EQ(shared->nSetMenuProbeMsg, m.nSetMenuProbe);
    EXPECT_EQ(shared->nMenuResultMsg, m.nMenuResult);
    EXPECT_EQ(shared->nDataMessageMsg, m.nDataMessage);
    // Every id is a registered message, and no two are the same.
    const UINT ids[] = {m.nEnvelope, m.nGetItemRect, m.nInfoProbe, m.nLocateItem, m.nAgentReturn,
                        m.nSetMenuProbe, m.nMenuResult, m.nSpyWindow, m.nDataMessage, m.nItemList};
    for (UINT a : ids) {
        EXPECT_GE(a, 0xC000u);
        int same = 0;
        for (UINT b : ids) same += a == b;
        EXPECT_EQ(same, 1) << a;
    }
}
