// The registered message ids of the agent protocol, as the controller sees
// them. RegisterWindowMessageA gives the same ids in every process.
#pragma once
#include <windows.h>

struct AgentMessages {
    UINT nEnvelope = 0;      // "TavmorVNLMessage": carries every request
    UINT nGetItemRect = 0;   // "TavmorGetItemRect"
    UINT nInfoProbe = 0;     // "TavmorInfoProbe"
    UINT nLocateItem = 0;    // "TavmorLocateItem"
    UINT nAgentReturn = 0;   // "TavmorAgentReturn": reply, and the ping request
    UINT nSetMenuProbe = 0;  // "TavmorSetMenuProbe"
    UINT nMenuResult = 0;    // "TavmorMenuResult"
    UINT nSpyWindow = 0;     // "TavmorSpyWindow"
    UINT nDataMessage = 0;   // "TavmorDataMessage"

    static AgentMessages Register();
};
