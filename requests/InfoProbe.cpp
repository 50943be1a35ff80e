// "TavmorInfoProbe": describes the window that received the envelope, and
// optionally one item in it, so that the controller can record them.
#include <cstdint>

#include "channel/AgentDataFile.h"
#include "requests/RequestHandlers.h"
#include "windows/WindowDescription.h"

void OnInfoProbe(MSG& msg) {
    CAgentDataFile file;
    if (!file.Attach()) return;
    uint32_t nItemWanted = 0, nIndex = 0, nFactoryArgument = 0;
    uint16_t nKindWord = 0;
    file.ReadDWord(nItemWanted);
    file.ReadWord(nKindWord);
    file.ReadDWord(nIndex);
    file.ReadDWord(nFactoryArgument);

    {
        CWindowDescription description;
        HWND hwndDescribed = msg.hwnd;
        // A request cut short by the record's end attaches no item: its
        // fields are not what the controller wrote.
        if (nItemWanted && !file.HasOverrun()) {
            const int nKind = static_cast<int16_t>(nKindWord);
            HWND hwndInstead = description.AttachItem(msg.hwnd, static_cast<int>(nIndex), nKind, nFactoryArgument);
            if (hwndInstead) hwndDescribed = hwndInstead;
        }
        description.Describe(hwndDescribed);
        file.Rewind(true);
        if (!file.WriteWindowInfo(description)) {
            // Detaching stamps the overrun into the header word. That must
            // happen before the reply wakes a controller in another process,
            // or it could read the header 0 written by Rewind and take a
            // partial description for a whole one.
            file.Detach();
        }
        // The reply goes out while the record is still mapped; the
        // description (and its locator) and then the file are destroyed.
        PostAgentReturn(msg);
    }
}
