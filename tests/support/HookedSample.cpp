#include "tests/support/HookedSample.h"

CHookedSample::~CHookedSample() {
    m_client.Close();
    m_app.Stop();
}

std::string CHookedSample::Start(const std::string& arguments, size_t recordSize) {
    std::string error;
    if (!m_app.Start(arguments, &error)) return "sample did not start: " + error;
    if (!OpenTestClient(m_client, recordSize, &error)) return "client did not open: " + error;
    if (!m_client.Hook(m_app.Frame())) return "hook into the sample failed";
    return std::string();
}

bool OpenTestClient(CAgentClient& client, size_t recordSize, std::string* error) {
    return client.Open(error, recordSize, (TestProgramDirectory() + VINTREL_AGENT_FILE).c_str());
}
