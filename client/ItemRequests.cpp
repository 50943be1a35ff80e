#include "client/ItemRequests.h"

#include "forms/ItemRectRequestForm.h"
#include "forms/LocateItemRequestForm.h"

ItemAtResult GetItemRect(CAgentClient& client, HWND window, int kind, int x, int y, uint32_t factoryArgument,
                         DWORD timeoutMs) {
    ItemRectRequestForm request;
    request.nKind = static_cast<uint32_t>(kind);
    request.point.x = x;
    request.point.y = y;
    request.nFactoryArgument = factoryArgument;
    ItemRectReplyForm reply;
    ItemAtResult result;
    result.status = client.Exchange(window, client.Messages().nGetItemRect, request, &reply, timeoutMs);
    if (result.status != AgentStatus::Ok) return result;
    result.index = reply.nIndex;
    result.rect = reply.rect;
    return result;
}

LocateResult LocateItem(CAgentClient& client, HWND window, int kind, uint32_t factoryArgument,
                        const LocatorForm& form, uint32_t searchArgument, DWORD timeoutMs) {
    LocateResult result;
    const bool bKnownKind = FindItemKind(kind) != nullptr;
    LocatorForm item = form;
    if (bKnownKind) item.nKind = kind;
    LocateItemRequestHead head;
    head.nKind = static_cast<int16_t>(static_cast<uint16_t>(kind));
    head.nFactoryArgument = factoryArgument;
    LocateItemRequestTail tail;
    tail.dwSearchArgument = searchArgument;

    CWireCursor w = client.BeginRequest(timeoutMs);
    WriteForm(w, head);
    // A kind without a form (refused by the agent too) is sent bare.
    if (bKnownKind && !EncodeLocatorForm(item, w)) {
        result.status = client.IsStalled() ? AgentStatus::Stalled : AgentStatus::BadRequest;
        return result;
    }
    WriteForm(w, tail);
    CWireCursor reply;
    result.status = client.Send(window, client.Messages().nLocateItem, 0, w, &reply, timeoutMs);
    if (result.status != AgentStatus::Ok) return result;
    LocateItemReplyHead replyHead;
    ReadForm(reply, replyHead);
    result.found = replyHead.nFound != 0;
    if (bKnownKind) {
        result.hasForm = DecodeLocatorForm(kind, reply, &result.form);
        if (!result.hasForm) result.status = AgentStatus::BadReply;
    }
    if (!reply.Ok()) result.status = AgentStatus::BadReply;
    return result;
}
