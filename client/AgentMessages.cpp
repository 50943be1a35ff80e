#include "client/AgentMessages.h"

#include "channel/WireNames.h"

AgentMessages AgentMessages::Register() {
    AgentMessages m;
    m.nEnvelope = RegisterWindowMessageA(wire::kEnvelopeMessage);
    m.nGetItemRect = RegisterWindowMessageA(wire::kGetItemRectMessage);
    m.nInfoProbe = RegisterWindowMessageA(wire::kInfoProbeMessage);
    m.nLocateItem = RegisterWindowMessageA(wire::kLocateItemMessage);
    m.nAgentReturn = RegisterWindowMessageA(wire::kAgentReturnMessage);
    m.nSetMenuProbe = RegisterWindowMessageA(wire::kSetMenuProbeMessage);
    m.nMenuResult = RegisterWindowMessageA(wire::kMenuResultMessage);
    m.nSpyWindow = RegisterWindowMessageA(wire::kSpyWindowMessage);
    m.nDataMessage = RegisterWindowMessageA(wire::kDataMessage);
    return m;
}
