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

// A zeroed result buffer with the given values in front; nullptr when memory
// is short.
std::unique_ptr<int32_t[]> MakeResultBuffer(int32_t nPreset, size_t nPresetCount) {
    const size_t nValues = kResultBufferBytes / sizeof(int32_t);
    std::unique_ptr<int32_t[]> buffer(new (std::nothrow) int32_t[nValues]);
    if (!buffer) return buffer;
    std::memset(buffer.get(), 0, kResultBufferBytes);
    for (size_t i = 0; i < nPresetCount; ++i) buffer[i] = nPreset;
    return buffer;
}

DataPairReplyForm PairReply(const POINT& point) {
    DataPairReplyForm reply;
    reply.first = point.x;
    reply.second = point.y;
    return reply;
}

}  // namespace

void OnDataMessage(MSG& msg) {
    AgentDebug("*** Pre-Data Message Attach ***\n");
    CAgentDataFile file;
    if (!file.Attach()) {
        AgentDebug("*** Cannot Attach to data file\n");
        return;
    }
    DataMessageRequestForm request;
    file.ReadForm(request);
    HWND hwnd = msg.hwnd;

    // A request cut short by the record's end runs no command.
    const int nRun = file.HasOverrun() ? -1 : request.Command();
    switch (nRun) {
    case kDataSendPairWithFallback: {
        std::unique_ptr<int32_t[]> buffer = MakeResultBuffer(-1, 2);
        DataPairReplyForm reply;
        if (buffer) {
            const LRESULT result = SendWithBuffer(hwnd, request, buffer.get());
            reply.first = buffer[0];
            reply.second = buffer[1];
            if (reply.first == -1 && reply.second == -1) {
                const uint32_t low32 = static_cast<uint32_t>(result);
                reply.first = static_cast<int16_t>(low32 & 0xFFFF);
                reply.second = static_cast<int16_t>(low32 >> 16);
            }
        }
        file.Rewind(true);
        file.WriteForm(reply);
        break;
    }
    case kDataSendRect: {
        std::unique_ptr<int32_t[]> buffer = MakeResultBuffer(0, 4);
        DataRectReplyForm reply;
        if (buffer) {
            SendWithBuffer(hwnd, request, buffer.get());
            reply.rect.left = buffer[0];
            reply.rect.top = buffer[1];
            reply.rect.right = buffer[2];
            reply.rect.bottom = buffer[3];
        }
        file.Rewind(true);
        file.WriteForm(reply);
        break;
    }
    case kDataSendPair: {
        std::unique_ptr<int32_t[]> buffer = MakeResultBuffer(0, 2);
        DataPairReplyForm reply;
        if (buffer) {
            SendWithBuffer(hwnd, request, buffer.get());
            reply.first = buffer[0];
            reply.second = buffer[1];
        }
        file.Rewind(true);
        file.WriteForm(reply);
        break;
    }
    case kDataCaretPosition: {
        POINT caret = {0, 0};
        if (!GetCaretPos(&caret)) caret.x = caret.y = 0;
        file.Rewind(true);
        file.WriteForm(PairReply(caret));
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
        file.Rewind(true);
        file.WriteForm(reply);
        break;
    }
    case kDataTabClickPoint: {
        POINT point = {0, 0};
        CTabItemLocator locator;
        locator.GetTabGapPoint(&point, hwnd);
        file.Rewind(true);
        file.WriteForm(PairReply(point));
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
