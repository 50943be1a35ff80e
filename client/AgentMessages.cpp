#include "client/AgentMessages.h"

AgentMessages AgentMessages::Register() {
    AgentMessages m;
    m.nEnvelope = RegisterWindowMessageA("TavmorVNLMessage");
    m.nGetItemRect = RegisterWindowMessageA("TavmorGetItemRect");
    m.nInfoProbe = RegisterWindowMessageA("TavmorInfoProbe");
    m.nLocateItem = RegisterWindowMessageA("TavmorLocateItem");
    m.nAgentReturn = RegisterWindowMessageA("TavmorAgentReturn");
    m.nSetMenuProbe = RegisterWindowMessageA("TavmorSetMenuProbe");
    m.nMenuResult = RegisterWindowMessageA("TavmorMenuResult");
    m.nSpyWindow = RegisterWindowMessageA("TavmorSpyWindow");
    m.nDataMessage = RegisterWindowMessageA("TavmorDataMessage");
    return m;
}
