// The sample application in a process of its own, with a client whose agent
// is hooked into the sample's thread. Suites share one: starting the sample
// is the slow part under Wine.
#pragma once
#include <cstddef>
#include <string>

#include "client/AgentClient.h"
#include "tests/support/SampleProcess.h"

class CHookedSample {
public:
    ~CHookedSample();
    // Empty on success, otherwise what failed.
    std::string Start(const std::string& arguments, size_t recordSize = CAgentClient::kDefaultRecordSize);

    CSampleProcess& App() { return m_app; }
    CAgentClient& Client() { return m_client; }

private:
    CSampleProcess m_app;
    CAgentClient m_client;
};

// Opens the client with the agent that sits next to the test program.
bool OpenTestClient(CAgentClient& client, size_t recordSize, std::string* error);
