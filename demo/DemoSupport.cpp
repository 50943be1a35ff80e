#include "demo/DemoSupport.h"

#include <cstdio>

#include "client/ApplicationProcess.h"
#include "client/ProxyWindow.h"
#include "sample/SampleProtocol.h"

bool StartSample(CApplicationProcess& app, const std::string& arguments, std::string* error) {
    return app.Start(ProgramDirectory() + "VintrelSample.exe", arguments, sample::kFrameClass, error);
}

bool PointAt(POINT screen, const std::string& what, std::string* error) {
    if (CProxyWindow::MoveCursor(screen.x, screen.y)) return true;
    *error = "the mouse cursor did not reach the " + what;
    return false;
}

RECT ToScreen(HWND hwnd, RECT r) {
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::string RectText(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof(text), "(%ld,%ld)-(%ld,%ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right), static_cast<long>(r.bottom));
    return text;
}
