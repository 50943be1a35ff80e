// "TavmorGetItemRect": which item of a kind lies under a screen point.
// "TavmorLocateItem": find a recorded item again and report its rectangle.
// The requests' and replies' fields are stated in forms/ItemRectRequestForm.h
// and forms/LocateItemRequestForm.h.
#include <cstdint>

#include "channel/AgentDataFile.h"
#include "forms/ItemRectRequestForm.h"
#include "forms/LocateItemRequestForm.h"
#include "locators/ItemLocator.h"
#include "requests/RequestHandlers.h"

void OnGetItemRect(MSG& msg) {
    CAgentDataFile file;
    ItemRectRequestForm request;
    if (!file.AttachRequest(request)) return;

    ItemRectReplyForm reply;
    CItemLocatorPtr pLocator(file.HasOverrun() ? nullptr
                                               : CreateItemLocator(static_cast<int>(request.nKind),
                                                                   request.nFactoryArgument));
    int nIndex = -1;
    if (pLocator) reply.rect = pLocator->ItemFromPoint(msg.hwnd, request.point.x, request.point.y, &nIndex);
    reply.nIndex = nIndex;
    file.WriteReply(reply);
    // Unmapped before the reply is posted: the controller reads the record
    // as soon as the reply arrives, and an overrun is stamped on detaching.
    file.Detach();
    PostAgentReturn(msg);
}

void OnLocateItem(MSG& msg) {
    CAgentDataFile file;
    LocateItemRequestHead head;
    if (!file.AttachRequest(head)) return;

    LocateItemReplyHead reply;
    CItemLocatorPtr pLocator(file.HasOverrun() ? nullptr : CreateItemLocator(head.nKind, head.nFactoryArgument));
    if (pLocator) {
        // A form that does not fit the record fails the whole request: the
        // record is marked overrun and nothing is searched.
        LocateItemRequestTail tail;
        if (file.ReadLocator(*pLocator) && file.ReadForm(tail)) {
            reply.nFound = pLocator->FindItem(msg.hwnd, tail.dwSearchArgument) ? 1 : 0;
        }
        file.WriteReply(reply);
        file.WriteLocator(*pLocator);
    } else {
        file.WriteReply(reply);
    }
    // Unmapped before the reply is posted: the controller reads the record
    // as soon as the reply arrives, and an overrun is stamped on detaching.
    file.Detach();
    PostAgentReturn(msg);
}
