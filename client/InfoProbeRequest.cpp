#include "client/InfoProbeRequest.h"

ProbeResult ProbeWindow(CAgentClient& client, HWND window, bool wantItem, int kind, uint32_t index,
                        uint32_t factoryArgument, DWORD timeoutMs) {
    ProbeResult result;
    CRecordWriter w = client.BeginRequest();
    w.U32(wantItem ? 1 : 0).U16(static_cast<uint16_t>(kind)).U32(index).U32(factoryArgument);
    CRecordReader reply;
    result.status = client.Send(window, client.Messages().nInfoProbe, 0, w, &reply, timeoutMs);
    if (result.status != AgentStatus::Ok) return result;
    const size_t start = reply.Offset();
    if (!DecodeWindowDescription(reply, &result.description)) {
        result.status = AgentStatus::BadReply;
        return result;
    }
    result.raw.assign(reply.Data() + start, reply.Data() + reply.Offset());
    return result;
}
