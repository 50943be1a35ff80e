#include "client/InfoProbeRequest.h"

ProbeResult ProbeWindow(CAgentClient& client, HWND window, bool wantItem, int kind, uint32_t index,
                        uint32_t factoryArgument, DWORD timeoutMs) {
    ProbeResult result;
    CWireCursor w = client.BeginRequest(timeoutMs);
    w.WriteU32(wantItem ? 1 : 0).WriteU16(static_cast<uint16_t>(kind)).WriteU32(index).WriteU32(factoryArgument);
    CWireCursor reply;
    result.status = client.Send(window, client.Messages().nInfoProbe, 0, w, &reply, timeoutMs);
    if (result.status != AgentStatus::Ok) return result;
    BYTE* pStart = reply.Position();
    if (!DecodeWindowDescription(reply, &result.description)) {
        result.status = AgentStatus::BadReply;
        return result;
    }
    result.raw.assign(pStart, reply.Position());
    return result;
}
