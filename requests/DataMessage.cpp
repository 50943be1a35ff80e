// "TavmorDataMessage": small queries run inside the target on the
// controller's behalf -- a message whose parameter points at memory of the
// target, the caret position, a menu item's rectangle, a click point on a
// tab control -- and adding or removing message watches.
//
// Request after the header word: P1, P2, P3 (u32 each), command (u16, taken
// as signed). Commands:
//   0  send P1 with a pointer to the result buffer; two i32 preset to -1;
//      when both are still -1 the halves of the message's result (each
//      sign-extended) stand in                    reply: two values
//   1  the same, buffer of four i32 preset to 0   reply: four values (RECT)
//   2  the same, two i32 preset to 0              reply: two values
//      (P3 != 0: wParam P2 and lParam the buffer; P3 == 0: the reverse)
//   3  caret position of the handling thread     reply: x, y (0, 0 without caret)
//   4  watch message P1 for listener P2 on the window's thread (P1 0:
//      remove P2)                                 no reply: the record is left as it was
//   9  rectangle of item P1 of menu P2 shown by window P3   reply: RECT (zero on failure)
//   10 click point of the tab control             reply: x, y (screen)
// Any other code is invalid and, like command 4, leaves the record as it
// was; "TavmorAgentReturn" is posted in every case that attached.
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "agent/Diagnostics.h"
#include "channel/AgentDataFile.h"
#include "locators/TabItemLocator.h"
#include "requests/MessageWatch.h"
#include "requests/RequestHandlers.h"

namespace {

enum DataCommand {
    kSendPairWithFallback = 0,
    kSendRect = 1,
    kSendPair = 2,
    kCaretPosition = 3,
    kWatchMessage = 4,
    kMenuItemRect = 9,
    kTabGapPoint = 10,
};

// The message's result buffer. Only its first 16 bytes travel back, but a
// message may write far more through its pointer (a text, a structure):
// the buffer is large enough that no message of a supported size can write
// past it.
const size_t kResultBufferBytes = 8192;

// Handles and values travel as 32 bits and are widened with their sign, as
// 32-bit handles are widened on a 64-bit system.
LPARAM Widen(uint32_t value) { return static_cast<LPARAM>(static_cast<int32_t>(value)); }

HWND WindowFrom(uint32_t value) { return reinterpret_cast<HWND>(Widen(value)); }

// Sends P1 to the window with one parameter pointing at the buffer; the
// buffer's first values are preset by the caller.
LRESULT SendWithBuffer(HWND hwnd, uint32_t p1, uint32_t p2, uint32_t p3, int32_t* pBuffer) {
    const LPARAM pointer = reinterpret_cast<LPARAM>(pBuffer);
    const WPARAM wParam = p3 != 0 ? static_cast<WPARAM>(Widen(p2)) : static_cast<WPARAM>(pointer);
    const LPARAM lParam = p3 != 0 ? pointer : Widen(p2);
    return SendMessageA(hwnd, static_cast<UINT>(p1), wParam, lParam);
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

}  // namespace

void OnDataMessage(MSG& msg) {
    AgentDebug("*** Pre-Data Message Attach ***\n");
    CAgentDataFile file;
    if (!file.Attach()) {
        AgentDebug("*** Cannot Attach to data file\n");
        return;
    }
    uint32_t p1 = 0, p2 = 0, p3 = 0;
    uint16_t nCommandWord = 0;
    file.ReadDWord(p1);
    file.ReadDWord(p2);
    file.ReadDWord(p3);
    file.ReadWord(nCommandWord);
    const int nCommand = static_cast<int16_t>(nCommandWord);
    HWND hwnd = msg.hwnd;

    // A request cut short by the record's end runs no command.
    const int nRun = file.HasOverrun() ? -1 : nCommand;
    switch (nRun) {
    case kSendPairWithFallback: {
        std::unique_ptr<int32_t[]> buffer = MakeResultBuffer(-1, 2);
        int32_t first = 0, second = 0;
        if (buffer) {
            const LRESULT result = SendWithBuffer(hwnd, p1, p2, p3, buffer.get());
            first = buffer[0];
            second = buffer[1];
            if (first == -1 && second == -1) {
                const uint32_t low32 = static_cast<uint32_t>(result);
                first = static_cast<int16_t>(low32 & 0xFFFF);
                second = static_cast<int16_t>(low32 >> 16);
            }
        }
        file.Rewind(true);
        file.WritePair(static_cast<uint32_t>(first), static_cast<uint32_t>(second));
        break;
    }
    case kSendRect: {
        std::unique_ptr<int32_t[]> buffer = MakeResultBuffer(0, 4);
        RECT rect = {0, 0, 0, 0};
        if (buffer) {
            SendWithBuffer(hwnd, p1, p2, p3, buffer.get());
            rect.left = buffer[0];
            rect.top = buffer[1];
            rect.right = buffer[2];
            rect.bottom = buffer[3];
        }
        file.Rewind(true);
        file.WriteRect(rect);
        break;
    }
    case kSendPair: {
        std::unique_ptr<int32_t[]> buffer = MakeResultBuffer(0, 2);
        int32_t first = 0, second = 0;
        if (buffer) {
            SendWithBuffer(hwnd, p1, p2, p3, buffer.get());
            first = buffer[0];
            second = buffer[1];
        }
        file.Rewind(true);
        file.WriteDWord(static_cast<uint32_t>(first));
        file.WriteDWord(static_cast<uint32_t>(second));
        break;
    }
    case kCaretPosition: {
        POINT caret = {0, 0};
        if (!GetCaretPos(&caret)) caret.x = caret.y = 0;
        file.Rewind(true);
        file.WritePair(static_cast<uint32_t>(caret.x), static_cast<uint32_t>(caret.y));
        break;
    }
    case kWatchMessage:
        TheMessageWatch().Watch(static_cast<UINT>(p1), WindowFrom(p2), hwnd);
        break;
    case kMenuItemRect: {
        RECT rect = {0, 0, 0, 0};
        HMENU hMenu = reinterpret_cast<HMENU>(Widen(p2));
        if (!GetMenuItemRect(WindowFrom(p3), hMenu, static_cast<UINT>(p1), &rect)) SetRectEmpty(&rect);
        file.Rewind(true);
        file.WriteRect(rect);
        break;
    }
    case kTabGapPoint: {
        POINT point = {0, 0};
        CTabItemLocator locator;
        locator.GetTabGapPoint(&point, hwnd);
        file.Rewind(true);
        file.WritePair(static_cast<uint32_t>(point.x), static_cast<uint32_t>(point.y));
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
