// VintrelSample: an application with the standard controls, for the demo,
// the tests and the benchmarks.
#include <windows.h>
#include <commctrl.h>

#include "sample/SampleCommandLine.h"
#include "sample/SampleFrame.h"
#include "sample/SampleWatchWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                 ICC_TREEVIEW_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    const SampleCommandLine options = SampleCommandLine::Parse(commandLine);
    CSampleFrame frame;
    if (!frame.Create(options)) return 1;
    CSampleWatchWindow watch;
    watch.Create(frame.Window(), options.bOwnHooks);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (frame.Dialog() && IsDialogMessageA(frame.Dialog(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
