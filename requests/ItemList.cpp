// "TavmorItemList": one page of the items of the control that received
// the envelope (for the accessible kinds, of the window's accessibility
// tree), each with its recorded form. The locator of the requested kind
// lists them; the page takes whole entries within the byte budget and the
// record, and the reply says where the next page starts.
#include <cstdint>

#include "channel/AgentDataFile.h"
#include "forms/ItemListForm.h"
#include "locators/ItemListPage.h"
#include "locators/ItemLocator.h"
#include "requests/RequestHandlers.h"

void OnItemList(MSG& msg) {
    CAgentDataFile file;
    if (!file.Attach()) return;
    ItemListRequest request;
    // A request cut short by the record's end lists nothing: the record is
    // marked overrun and the reply says so.
    const bool bWhole = file.ReadForm(request);

    ItemListReplyHead head;
    file.Rewind(true);
    if (bWhole && file.Fits(0)) {
        CItemLocatorPtr pLocator(CreateItemLocator(static_cast<int16_t>(request.nKind), request.nFactoryArgument));
        // The entries follow the head, which is written once they are known.
        CWireCursor reply(file.GetCursor(), file.GetViewEnd());
        CWireCursor entries = reply;
        if (pLocator && entries.Skip(FormSize(ItemListReplyHead{1, 0, 0, 0}))) {
            CItemListPage page(entries, request);
            const int nTotal = pLocator->ListItems(msg.hwnd, page);
            if (nTotal >= 0) {
                head.bServed = 1;
                head.nTotal = static_cast<uint32_t>(nTotal);
                head.nCount = page.Count();
                // A first index past the end starts no page: the next is the end.
                head.nNext = request.nFirst >= head.nTotal ? head.nTotal : page.Next(head.nTotal);
            }
        }
        WriteForm(reply, head);
    }
    // Unmapped before the reply is posted: the controller reads the record
    // as soon as the reply arrives, and an overrun is stamped on detaching.
    file.Detach();
    PostAgentReturn(msg);
}
