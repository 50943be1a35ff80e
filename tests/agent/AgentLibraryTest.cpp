// The library image itself: undecorated exports, a shared data section,
// and the message ids registered at load.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "agent/AgentSharedState.h"
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
    HMODULE agent = LoadLibraryA((TestProgramDirectory() + VINTREL_AGENT_FILE).c_str());
    ASSERT_NE(agent, nullptr);
    for (const char* name : {"DllMain", "AgentHookProc", "hookAgent", "spyWindow"}) {
        EXPECT_NE(GetProcAddress(agent, name), nullptr) << name;
    }
    typedef HHOOK(WINAPI * SpyFn)(bool, DWORD, HWND);
    SpyFn spy = reinterpret_cast<SpyFn>(reinterpret_cast<void*>(GetProcAddress(agent, "spyWindow")));
    ASSERT_NE(spy, nullptr);
    EXPECT_EQ(spy(false, 0, nullptr), nullptr);
    FreeLibrary(agent);
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

TEST(AgentLibrary, AttachRegistersMessagesOncePerSharedState) {
    // The statically linked copy of the agent core has a state of its own.
    AgentSharedState saved = g_sharedState;
    g_sharedState = AgentSharedState{};
    AgentProcessAttach(GetModuleHandleA(nullptr));
    EXPECT_EQ(g_sharedState.bInitialized, 1);
    EXPECT_EQ(g_sharedState.nEnvelopeMsg, RegisterWindowMessageA("TavmorVNLMessage"));
    EXPECT_EQ(g_sharedState.nGetItemRectMsg, RegisterWindowMessageA("TavmorGetItemRect"));
    EXPECT_EQ(g_sharedState.nInfoProbeMsg, RegisterWindowMessageA("TavmorInfoProbe"));
    EXPECT_EQ(g_sharedState.nLocateItemMsg, RegisterWindowMessageA("TavmorLocateItem"));
    EXPECT_EQ(g_sharedState.nAgentReturnMsg, RegisterWindowMessageA("TavmorAgentReturn"));
    EXPECT_EQ(g_sharedState.nSetMenuProbeMsg, RegisterWindowMessageA("TavmorSetMenuProbe"));
    EXPECT_EQ(g_sharedState.nMenuResultMsg, RegisterWindowMessageA("TavmorMenuResult"));
    EXPECT_EQ(g_sharedState.nDataMessageMsg, RegisterWindowMessageA("TavmorDataMessage"));
    EXPECT_EQ(g_nSpyWindowMsg, RegisterWindowMessageA("TavmorSpyWindow"));
    // A later process finds the ids already there and keeps them.
    g_sharedState.nEnvelopeMsg = 0xC0DE;
    AgentProcessAttach(GetModuleHandleA(nullptr));
    EXPECT_EQ(g_sharedState.nEnvelopeMsg, 0xC0DEu);
    g_sharedState = saved;
}
