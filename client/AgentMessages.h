// The registered message ids of the agent protocol, as the controller sees
// them, taken from the one table of messages. RegisterWindowMessageA gives
// the same ids in every process.
#pragma once
#include <windows.h>

#include "channel/MessageTable.h"

struct AgentMessages {
    // nEnvelope, nGetItemRect, nInfoProbe, nLocateItem, nAgentReturn,
    // nSetMenuProbe, nMenuResult, nSpyWindow, nDataMessage, nItemList.
#define VINTREL_CLIENT_MESSAGE_ID(Id, name, slot, handler) UINT n##Id = 0;
    VINTREL_AGENT_MESSAGES(VINTREL_CLIENT_MESSAGE_ID)
#undef VINTREL_CLIENT_MESSAGE_ID

    static AgentMessages Register() {
        AgentMessages m;
#define VINTREL_CLIENT_REGISTER(Id, name, slot, handler) m.n##Id = RegisterWindowMessageA(name);
        VINTREL_AGENT_MESSAGES(VINTREL_CLIENT_REGISTER)
#undef VINTREL_CLIENT_REGISTER
        return m;
    }
};
