#include "client/ItemRequests.h"

ItemAtResult GetItemRect(CAgentClient& client, HWND window, int kind, int x, int y,
                         uint32_t factoryArgument, DWORD timeoutMs) {
    ItemAtResult result;
    CRecordWriter w = client.BeginRequest();
    w.U32(static_cast<uint32_t>(kind)).I32(x).I32(y).U32(factoryArgument);
    CRecordReader reply;
    result.status = client.Send(window, client.Messages().nGetItemRect, 0, w, &reply, timeoutMs);
    if (result.status != AgentStatus::Ok) return result;
    result.index = reply.I32();
    result.rect.left = reply.I32();
    result.rect.top = reply.I32();
    result.rect.right = reply.I32();
    result.rect.bottom = reply.I32();
    if (!reply.Ok()) result.status = AgentStatus::BadReply;
    return result;
}

LocateResult LocateItem(CAgentClient& client, HWND window, int kind, uint32_t factoryArgument,
                        const LocatorForm& form, uint32_t searchArgument, DWORD timeoutMs) {
    LocateResult result;
    LocatorForm request = form;
    if (IsKnownLocatorKind(kind)) request.nKind = kind;
    CRecordWriter w = client.BeginRequest();
    w.U16(static_cast<uint16_t>(kind)).U32(factoryArgument);
    // A kind without a form (refused by the agent too) is sent bare.
    if (IsKnownLocatorKind(kind) && !EncodeLocatorForm(request, w)) {
        result.status = AgentStatus::BadRequest;
        return result;
    }
    w.U32(searchArgument);
    CRecordReader reply;
    result.status = client.Send(window, client.Messages().nLocateItem, 0, w, &reply, timeoutMs);
    if (result.status != AgentStatus::Ok) return result;
    result.found = reply.U32() != 0;
    if (IsKnownLocatorKind(kind)) {
        result.hasForm = DecodeLocatorForm(kind, reply, &result.form);
        if (!result.hasForm) result.status = AgentStatus::BadReply;
    }
    if (!reply.Ok()) result.status = AgentStatus::BadReply;
    return result;
}
