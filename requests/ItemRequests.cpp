// "TavmorGetItemRect": which item of a kind lies under a screen point.
// "TavmorLocateItem": find a recorded item again and report its rectangle.
#include <cstdint>

#include "channel/AgentDataFile.h"
#include "locators/ItemLocator.h"
#include "requests/RequestHandlers.h"

void OnGetItemRect(MSG& msg) {
    CAgentDataFile file;
    if (!file.Attach()) return;
    uint32_t nKind = 0, nFactoryArgument = 0;
    POINT point = {0, 0};
    file.ReadDWord(nKind);
    file.ReadPoint(point);
    file.ReadDWord(nFactoryArgument);

    RECT rect = {0, 0, 0, 0};
    int nIndex = -1;
    CItemLocatorPtr pLocator(file.HasOverrun() ? nullptr : CreateItemLocator(static_cast<int>(nKind), nFactoryArgument));
    if (pLocator) rect = pLocator->ItemFromPoint(msg.hwnd, point.x, point.y, &nIndex);
    file.Rewind(true);
    file.WriteDWord(static_cast<uint32_t>(nIndex));
    file.WriteRect(rect);
    // Unmapped before the reply is posted: the controller reads the record
    // as soon as the reply arrives, and an overrun is stamped on detaching.
    file.Detach();
    PostAgentReturn(msg);
}

void OnLocateItem(MSG& msg) {
    CAgentDataFile file;
    if (!file.Attach()) return;
    uint16_t nKindWord = 0;
    uint32_t nFactoryArgument = 0;
    file.ReadWord(nKindWord);
    file.ReadDWord(nFactoryArgument);
    const int nKind = static_cast<int16_t>(nKindWord);

    CItemLocatorPtr pLocator(file.HasOverrun() ? nullptr : CreateItemLocator(nKind, nFactoryArgument));
    if (pLocator) {
        bool bFound = false;
        // A form that does not fit the record fails the whole request: the
        // record is marked overrun and nothing is searched.
        if (file.ReadLocator(*pLocator)) {
            uint32_t dwParam = 0;
            file.ReadDWord(dwParam);
            if (!file.HasOverrun()) bFound = pLocator->FindItem(msg.hwnd, dwParam);
        }
        file.Rewind(true);
        file.WriteDWord(bFound ? 1 : 0);
        file.WriteLocator(*pLocator);
    } else {
        file.Rewind(true);
        file.WriteDWord(0);
    }
    // Unmapped before the reply is posted: the controller reads the record
    // as soon as the reply arrives, and an overrun is stamped on detaching.
    file.Detach();
    PostAgentReturn(msg);
}
