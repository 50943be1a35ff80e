// "TavmorInfoProbe": describes the window that received the envelope, and
// optionally one item in it, so that the controller can record them. The
// request's fields are stated in forms/InfoProbeRequestForm.h; the reply is
// the window description's form.
#include <cstdint>

#include "channel/AgentDataFile.h"
#include "forms/InfoProbeRequestForm.h"
#include "requests/RequestHandlers.h"
#include "windows/WindowDescription.h"

void OnInfoProbe(MSG& msg) {
    CAgentDataFile file;
    InfoProbeRequestForm request;
    if (!file.AttachRequest(request)) return;

    {
        CWindowDescription description;
        HWND hwndDescribed = msg.hwnd;
        // A request cut short by the record's end attaches no item: its
        // fields are not what the controller wrote.
        if (request.nItemWanted && !file.HasOverrun()) {
            HWND hwndInstead = description.AttachItem(msg.hwnd, static_cast<int>(request.nIndex), request.nKind,
                                                      request.nFactoryArgument);
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
