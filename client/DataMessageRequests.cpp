#include "client/DataMessageRequests.h"

#include "forms/DataMessageRequestForm.h"

namespace {

uint32_t HandleBits(const void* handle) { return static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(handle)); }

uint32_t PlacementFlag(PointerPlacement placement) {
    return placement == PointerPlacement::InLParam ? DataMessageRequestForm::kBufferInLParam
                                                   : DataMessageRequestForm::kBufferInWParam;
}

DataMessageRequestForm Command(uint32_t p1, uint32_t p2, uint32_t p3, uint16_t code) {
    DataMessageRequestForm request;
    request.p1 = p1;
    request.p2 = p2;
    request.p3 = p3;
    request.nCommand = static_cast<int16_t>(code);
    return request;
}

// A command without a reply has done its work once the agent answered.
AgentStatus NoReplyStatus(AgentStatus status) {
    return status == AgentStatus::NotProcessed ? AgentStatus::Ok : status;
}

DataPairResult ReadPair(CAgentClient& client, HWND window, const DataMessageRequestForm& request) {
    DataPairReplyForm reply;
    DataPairResult result;
    result.status = client.Exchange(window, client.Messages().nDataMessage, request, &reply);
    if (result.status != AgentStatus::Ok) return result;
    result.first = reply.first;
    result.second = reply.second;
    return result;
}

DataRectResult ReadRect(CAgentClient& client, HWND window, const DataMessageRequestForm& request) {
    DataRectReplyForm reply;
    DataRectResult result;
    result.status = client.Exchange(window, client.Messages().nDataMessage, request, &reply);
    if (result.status == AgentStatus::Ok) result.rect = reply.rect;
    return result;
}

DataPointResult AsPoint(const DataPairResult& pair) {
    DataPointResult result;
    result.status = pair.status;
    result.point.x = pair.first;
    result.point.y = pair.second;
    return result;
}

}  // namespace

AgentStatus SendDataCommand(CAgentClient& client, HWND window, uint32_t p1, uint32_t p2, uint32_t p3, uint16_t code,
                            CWireCursor* reply, DWORD timeoutMs) {
    return client.SendForm(window, client.Messages().nDataMessage, Command(p1, p2, p3, code), reply, timeoutMs);
}

DataPairResult SendForValuePair(CAgentClient& client, HWND window, UINT message, uint32_t value,
                                PointerPlacement placement) {
    return ReadPair(client, window, Command(message, value, PlacementFlag(placement), kDataSendPairWithFallback));
}

DataRectResult SendForRect(CAgentClient& client, HWND window, UINT message, uint32_t value,
                           PointerPlacement placement) {
    return ReadRect(client, window, Command(message, value, PlacementFlag(placement), kDataSendRect));
}

DataPairResult SendForTwoValues(CAgentClient& client, HWND window, UINT message, uint32_t value,
                                PointerPlacement placement) {
    return ReadPair(client, window, Command(message, value, PlacementFlag(placement), kDataSendPair));
}

DataPointResult GetCaretPosition(CAgentClient& client, HWND window) {
    return AsPoint(ReadPair(client, window, Command(0, 0, 0, kDataCaretPosition)));
}

AgentStatus AddMessageWatch(CAgentClient& client, HWND watched, UINT message, HWND listener) {
    // Message 0 would remove instead.
    if (message == 0) return AgentStatus::BadRequest;
    return NoReplyStatus(SendDataCommand(client, watched, message, HandleBits(listener), 0, kDataWatch, nullptr));
}

AgentStatus RemoveMessageWatch(CAgentClient& client, HWND watched, HWND listener) {
    return NoReplyStatus(SendDataCommand(client, watched, 0, HandleBits(listener), 0, kDataWatch, nullptr));
}

DataRectResult GetMenuItemRectangle(CAgentClient& client, HWND window, HWND menuWindow, HMENU menu, UINT item) {
    return ReadRect(client, window, Command(item, HandleBits(menu), HandleBits(menuWindow), kDataMenuItemRect));
}

DataPointResult GetTabClickPoint(CAgentClient& client, HWND tabControl) {
    return AsPoint(ReadPair(client, tabControl, Command(0, 0, 0, kDataTabClickPoint)));
}
