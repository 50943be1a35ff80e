// "TavmorDataMessage": small queries run inside the target on the
// controller's behalf -- a message whose parameter points at memory of the
// target, the caret position, a menu item's rectangle, a click point on a
// tab control -- and adding or removing message watches. The request and its
// replies are stated in forms/DataMessageRequestForm.h, the commands in
// forms/DataMessageCommands.h.
//
// Any code that is no command is invalid and, like the watch, leaves the
// record as it was; "TavmorAgentReturn" is posted in every case that
// attached.
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "agent/Diagnostics.h"
#include "channel/AgentDataFile.h"
#include "forms/DataMessageRequestForm.h"
#include "locators/TabItemLocator.h"
#include "requests/MessageWatch.h"
#include "requests/RequestHandlers.h"

namespace {

// The message's result buffer. Only its first 16 bytes travel back, but a
// message may write far more through its pointer (a text, a structure):
// the buffer is large enough that no message of a supported size can write
// past it.
const size_t kResultBufferBytes = 8192;

// Handles and values travel as 32 bits and are widened with their sign, as
// 32-bit handles are widened on a 64-bit system.
LPARAM Widen(uint32_t value) { return static_cast<LPARAM>(static_cast<int32_t>(value)); }

HWND WindowFrom(uint32_t value) { return reinterpret_cast<HWND>(Widen(value)); }

// Sends P1 to the window with one parameter pointing at the buffer and the
// other carrying P2, as P3 places them; the buffer's first values are
// preset by the caller.
LRESULT SendWithBuffer(HWND hwnd, const DataMessageRequestForm& request, int32_t* pBuffer) {
    const LPARAM pointer = reinterpret_cast<LPARAM>(pBuffer);
    const bool bInLParam = request.p3 != DataMessageRequestForm::kBufferInWParam;
    const WPARAM wParam = bInLParam ? static_cast<WPARAM>(Widen(request.p2)) : static_cast<WPARAM>(pointer);
    const LPARAM lParam = bInLParam ? pointer : Widen(request.p2);
    return SendMessageA(hwnd, static_cast<UINT>(request.p1), wParam, lParam);
}

// Sends the request's message with a result buffer whose first nCount
// values are preset to nPreset, and copies those values to pValues. False,
// with pValues untouched, when memory for the buffer is short.
bool SendForValues(HWND hwnd, const DataMessageRequestForm& request, int32_t nPreset, int32_t* pValues,
                   size_t nCount, LRESULT* pResult) {
    const size_t nBufferValues = kResultBufferBytes / sizeof(int32_t);
    std::unique_ptr<int32_t[]> buffer(new (std::nothrow) int32_t[nBufferValues]);
    if (!buffer) return false;
    std::memset(buffer.get(), 0, kResultBufferBytes);
    for (size_t i = 0; i < nCount; ++i) buffer[i] = nPreset;
    const LRESULT result = SendWithBuffer(hwnd, request, buffer.get());
    for (size_t i = 0; i < nCount; ++i) pValues[i] = buffer[i];
    if (pResult) *pResult = result;
    return true;
}

DataPairReplyForm PairReply(int32_t first, int32_t second) {
    DataPairReplyForm reply;
    reply.first = first;
    reply.second = second;
    return reply;
}

}  // namespace

void OnDataMessage(MSG& msg) {
    AgentDebug("*** Pre-Data Message Attach ***\n");
    CAgentDataFile file;
    DataMessageRequestForm request;
    if (!file.AttachRequest(request)) {
        AgentDebug("*** Cannot Attach to data file\n");
        return;
    }
    HWND hwnd = msg.hwnd;

    // A request cut short by the record's end runs no command.
    const int nRun = file.HasOverrun() ? -1 : request.nCommand;
    switch (nRun) {
    case kDataSendPairWithFallback:
    case kDataSendPair: {
        // Command 0 presets -1 and, when the message wrote nothing, falls
        // back on the halves of its result; command 2 presets 0.
        const bool bFallback = nRun == kDataSendPairWithFallback;
        int32_t values[2] = {0, 0};
        LRESULT result = 0;
        if (SendForValues(hwnd, request, bFallback ? -1 : 0, values, 2, &result) && bFallback && values[0] == -1 &&
            values[1] == -1) {
            const uint32_t low32 = static_cast<uint32_t>(result);
            values[0] = static_cast<int16_t>(low32 & 0xFFFF);
            values[1] = static_cast<int16_t>(low32 >> 16);
        }
        file.WriteReply(PairReply(values[0], values[1]));
        break;
    }
    case kDataSendRect: {
        DataRectReplyForm reply;
        int32_t values[4] = {0, 0, 0, 0};
        SendForValues(hwnd, request, 0, values, 4, nullptr);
        SetRect(&reply.rect, values[0], values[1], values[2], values[3]);
        file.WriteReply(reply);
        break;
    }
    case kDataCaretPosition: {
        POINT caret = {0, 0};
        if (!GetCaretPos(&caret)) caret.x = caret.y = 0;
        file.WriteReply(PairReply(caret.x, caret.y));
        break;
    }
    case kDataWatch:
        TheMessageWatch().Watch(static_cast<UINT>(request.p1), WindowFrom(request.p2), hwnd);
        break;
    case kDataMenuItemRect: {
        DataRectReplyForm reply;
        HMENU hMenu = reinterpret_cast<HMENU>(Widen(request.p2));
        if (!GetMenuItemRect(WindowFrom(request.p3), hMenu, static_cast<UINT>(request.p1), &reply.rect)) {
            SetRectEmpty(&reply.rect);
        }
        file.WriteReply(reply);
        break;
    }
    case kDataTabClickPoint: {
        POINT point = {0, 0};
        CTabItemLocator locator;
        locator.GetTabGapPoint(&point, hwnd);
        file.WriteReply(PairReply(point.x, point.y));
        break;
    }
    default:
        if (!file.HasOverrun()) AgentDebug("*** Invalid Data Message ***\n");
        break;
    }
    // The reply (or the overrun mark) is in place before the controller wakes.
    file.Detach();
    PostAgentReturn(msg);
}
