#include "client/ItemRequests.h"

ItemAtResult GetItemRect(CAgentClient& client, HWND window, int kind, int x, int y, uint32_t factoryArgument,
                         DWORD timeoutMs) {
    ItemAtResult result;
    CWireCursor w = client.BeginRequest(timeoutMs);
    w.WriteU32(static_cast<uint32_t>(kind)).WriteI32(x).WriteI32(y).WriteU32(factoryArgument);
    CWireCursor reply;
    result.status = client.Send(window, client.Messages().nGetItemRect, 0, w, &reply, timeoutMs);
    if (result.status != AgentStatus::Ok) return result;
    result.index = reply.ReadI32();
    result.rect.left = reply.ReadI32();
    result.rect.top = reply.ReadI32();
    result.rect.right = reply.ReadI32();
    result.rect.bottom = reply.ReadI32();
    if (!reply.Ok()) result.status = AgentStatus::BadReply;
    return result;
}

LocateResult LocateItem(CAgentClient& client, HWND window, int kind, uint32_t factoryArgument,
                        const LocatorForm& form, uint32_t searchArgument, DWORD timeoutMs) {
    LocateResult result;
    const bool bKnownKind = FindItemKind(kind) != nullptr;
    LocatorForm request = form;
    if (bKnownKind) request.nKind = kind;
    CWireCursor w = client.BeginRequest(timeoutMs);
    w.WriteU16(static_cast<uint16_t>(kind)).WriteU32(factoryArgument);
    // A kind without a form (refused by the agent too) is sent bare.
    if (bKnownKind && !EncodeLocatorForm(request, w)) {
        result.status = client.IsStalled() ? AgentStatus::Stalled : AgentStatus::BadRequest;
        return result;
    }
    w.WriteU32(searchArgument);
    CWireCursor reply;
    result.status = client.Send(window, client.Messages().nLocateItem, 0, w, &reply, timeoutMs);
    if (result.status != AgentStatus::Ok) return result;
    result.found = reply.ReadU32() != 0;
    if (bKnownKind) {
        result.hasForm = DecodeLocatorForm(kind, reply, &result.form);
        if (!result.hasForm) result.status = AgentStatus::BadReply;
    }
    if (!reply.Ok()) result.status = AgentStatus::BadReply;
    return result;
}
