#include "client/InfoProbeRequest.h"

#include "forms/InfoProbeRequestForm.h"

ProbeResult ProbeWindow(CAgentClient& client, HWND window, bool wantItem, int kind, uint32_t index,
                        uint32_t factoryArgument, DWORD timeoutMs) {
    InfoProbeRequestForm request;
    request.nItemWanted = wantItem ? 1 : 0;
    request.nKind = static_cast<int16_t>(static_cast<uint16_t>(kind));
    request.nIndex = index;
    request.nFactoryArgument = factoryArgument;
    ProbeResult result;
    CWireCursor reply;
    result.status = client.SendForm(window, client.Messages().nInfoProbe, request, &reply, timeoutMs);
    if (result.status != AgentStatus::Ok) return result;
    BYTE* pStart = reply.Position();
    if (!DecodeWindowDescription(reply, &result.description)) {
        result.status = AgentStatus::BadReply;
        return result;
    }
    result.raw.assign(pStart, reply.Position());
    return result;
}
