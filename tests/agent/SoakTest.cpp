// The soak program's counting of what the target holds: unchanged over a
// few hundred mixed requests, and growing by what the sample leaks on
// purpose -- the proof that the soak could see a leak of the agent's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/ChildProgram.h"

namespace {

// The change of one resource in the soak's summary line ("kernel handles +3 (31 -> 34)").
long Growth(const std::string& summary, const std::string& resource) {
    const size_t at = summary.find(resource + " ");
    if (at == std::string::npos) return -100000;
    return std::strtol(summary.c_str() + at + resource.size() + 1, nullptr, 10);
}

// The private KiB the agent added: the growth net of the platform's own
// cost of handing out accessible objects, where the summary states one.
long AgentPrivateKiB(const std::string& summary) {
    const std::string net = "private KiB net of it ";
    const size_t at = summary.find(net);
    if (at == std::string::npos) return Growth(summary, "private KiB");
    return std::strtol(summary.c_str() + at + net.size(), nullptr, 10);
}

TEST(Soak, SeesNoGrowthFromRequestsAndSeesALeakOnPurpose) {
    ChildRun clean = RunChildProgram("soak.exe", "--requests 700", 120000);
    ASSERT_EQ(clean.exitCode, 0u) << clean.out << clean.err;
    ASSERT_EQ(clean.Lines().size(), 1u) << clean.out;
    const std::string summary = clean.Lines()[0];
    EXPECT_EQ(Growth(summary, "kernel handles"), 0) << summary;
    EXPECT_EQ(Growth(summary, "GDI objects"), 0) << summary;
    EXPECT_EQ(Growth(summary, "USER objects"), 0) << summary;
    EXPECT_LE(AgentPrivateKiB(summary), 64) << summary;

    ChildRun leaking = RunChildProgram("soak.exe", "--requests 70 --leak 25", 120000);
    ASSERT_EQ(leaking.exitCode, 0u) << leaking.out << leaking.err;
    const std::string leaked = leaking.Lines().at(0);
    EXPECT_GE(Growth(leaked, "kernel handles"), 25) << leaked;
    EXPECT_GE(Growth(leaked, "GDI objects"), 25) << leaked;
    EXPECT_GE(Growth(leaked, "USER objects"), 25) << leaked;
    EXPECT_GE(AgentPrivateKiB(leaked), 25 * 16 / 2) << leaked;
}

}  // namespace
