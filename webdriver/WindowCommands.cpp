// The window commands. Nothing here sends the application a message it must
// answer: titles are read as the system keeps them, and moves, shows and
// closes are posted, so a hung application cannot stall the server.
#include "webdriver/WindowCommands.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "webdriver/CommandContext.h"
#include "webdriver/Screenshot.h"
#include "webdriver/Session.h"
#include "webdriver/SessionStore.h"
#include "webdriver/WebDriverError.h"

namespace {

const DWORD kSettleMs = 2000;  // how long a posted change may take to show
const DWORD kExitMs = 5000;    // how long an application may take to end after its main window closed

nlohmann::json RectJson(HWND window) {
    RECT r = {0, 0, 0, 0};
    if (!GetWindowRect(window, &r)) ThrowWebDriverError(WebDriverErrorCode::NoSuchWindow, "the window is gone");
    return {{"x", r.left}, {"y", r.top}, {"width", r.right - r.left}, {"height", r.bottom - r.top}};
}

// Waits until the condition holds or the time is up.
template <class TCondition>
bool WaitFor(TCondition condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(10);
    }
}

nlohmann::json HandlesJson(const std::vector<HWND>& windows) {
    nlohmann::json handles = nlohmann::json::array();
    for (HWND w : windows) handles.push_back(WindowHandleText(w));
    return handles;
}

// A rect field: absent or null leaves the value; otherwise an integer in range.
bool ReadRectField(const nlohmann::json& body, const char* name, int64_t minimum, int64_t maximum, long* pValue) {
    if (!body.contains(name) || body.at(name).is_null()) return false;
    int64_t value = 0;
    if (!JsonSafeInteger(body.at(name), &value) || value < minimum || value > maximum) {
        ThrowInvalidArgument(std::string("\"") + name + "\" must be an integer from " + std::to_string(minimum) +
                             " to " + std::to_string(maximum) + ", not " + body.at(name).dump());
    }
    *pValue = static_cast<long>(value);
    return true;
}

}  // namespace

std::string WindowHandleText(HWND window) {
    char text[32];
    std::snprintf(text, sizeof(text), "0x%08llX",
                  static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
    return text;
}

HWND ParseWindowHandle(const std::string& text) {
    size_t start = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) start = 2;
    if (start >= text.size() || text.size() - start > 16) return nullptr;
    unsigned long long value = 0;
    for (size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return nullptr;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    if (value == 0 || value > static_cast<unsigned long long>(static_cast<ULONG_PTR>(-1))) return nullptr;
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
}

std::string WindowTitleUtf8(HWND window) {
    // GetWindowTextW reads another process's title as the system keeps it,
    // without a message.
    std::vector<wchar_t> title(512);
    int length = GetWindowTextW(window, title.data(), static_cast<int>(title.size()));
    if (length <= 0) return std::string();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, title.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, title.data(), length, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

nlohmann::json GetCurrentWindowHandle(CCommandContext& context) {
    return WindowHandleText(context.Session().RequireCurrentWindow());
}

nlohmann::json GetAllWindowHandles(CCommandContext& context) {
    CSession& session = context.Session();
    if (!session.IsTargetRunning()) ThrowWebDriverError(WebDriverErrorCode::NoSuchWindow, "the application has ended");
    return HandlesJson(session.TopLevelWindows());
}

nlohmann::json SwitchWindow(CCommandContext& context) {
    CSession& session = context.Session();
    const std::string text = context.RequireString("handle");
    const HWND wanted = ParseWindowHandle(text);
    for (HWND w : session.TopLevelWindows()) {
        if (w == wanted) {
            session.SwitchToWindow(w);
            return nullptr;
        }
    }
    ThrowWebDriverError(WebDriverErrorCode::NoSuchWindow,
                        "\"" + text + "\" is not a top-level window of the application (see window/handles)");
}

nlohmann::json CloseCurrentWindow(CCommandContext& context) {
    CSession& session = context.Session();
    const HWND window = session.RequireCurrentWindow();
    PostMessageA(window, WM_CLOSE, 0, 0);
    // Gone, or (for a program that hides a window rather than close it)
    // hidden: either way no longer one of the handles.
    if (!WaitFor([&] { return !IsWindow(window); }, kSettleMs) && IsWindowVisible(window)) {
        ThrowWebDriverError(WebDriverErrorCode::Timeout, "the window did not close within " +
                                                             std::to_string(kSettleMs) + " ms (a dialog box may ask)");
    }
    // Closing the main window ends most applications: their other windows
    // go with the process, which takes a moment.
    if (window == session.MainWindow()) session.WaitForTargetExit(kExitMs);
    const std::vector<HWND> remaining =
        session.IsTargetRunning() ? session.TopLevelWindows() : std::vector<HWND>();
    if (remaining.empty()) {
        // The last window closed ends the session, as a browser's does.
        context.Sessions().Remove(session.Id());
    }
    return HandlesJson(remaining);
}

nlohmann::json GetCurrentWindowRect(CCommandContext& context) { return RectJson(context.Session().RequireCurrentWindow()); }

nlohmann::json SetCurrentWindowRect(CCommandContext& context) {
    const HWND window = context.Session().RequireCurrentWindow();
    const nlohmann::json& body = context.Body();
    const int64_t kMaxCoordinate = 2147483647LL, kMinCoordinate = -2147483647LL - 1;
    long x = 0, y = 0, width = 0, height = 0;
    const bool bMove = ReadRectField(body, "x", kMinCoordinate, kMaxCoordinate, &x) |
                       ReadRectField(body, "y", kMinCoordinate, kMaxCoordinate, &y);
    const bool bSize = ReadRectField(body, "width", 0, kMaxCoordinate, &width) |
                       ReadRectField(body, "height", 0, kMaxCoordinate, &height);
    RECT r = {0, 0, 0, 0};
    GetWindowRect(window, &r);
    if (bMove) {
        if (!body.contains("x") || body.at("x").is_null()) x = r.left;
        if (!body.contains("y") || body.at("y").is_null()) y = r.top;
    }
    if (bSize) {
        if (!body.contains("width") || body.at("width").is_null()) width = r.right - r.left;
        if (!body.contains("height") || body.at("height").is_null()) height = r.bottom - r.top;
    }
    if (bMove || bSize) {
        if (IsZoomed(window) || IsIconic(window)) {
            ShowWindowAsync(window, SW_RESTORE);
            WaitFor([&] { return !IsZoomed(window) && !IsIconic(window); }, kSettleMs);
        }
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;
        if (!bMove) flags |= SWP_NOMOVE;
        if (!bSize) flags |= SWP_NOSIZE;
        SetWindowPos(window, nullptr, x, y, width, height, flags);
        WaitFor(
            [&] {
                RECT now = {0, 0, 0, 0};
                GetWindowRect(window, &now);
                return (!bMove || (now.left == x && now.top == y)) &&
                       (!bSize || (now.right - now.left == width && now.bottom - now.top == height));
            },
            kSettleMs);
    }
    return RectJson(window);
}

nlohmann::json MaximizeCurrentWindow(CCommandContext& context) {
    const HWND window = context.Session().RequireCurrentWindow();
    ShowWindowAsync(window, SW_MAXIMIZE);
    WaitFor([&] { return IsZoomed(window) != FALSE; }, kSettleMs);
    return RectJson(window);
}

nlohmann::json MinimizeCurrentWindow(CCommandContext& context) {
    const HWND window = context.Session().RequireCurrentWindow();
    ShowWindowAsync(window, SW_MINIMIZE);
    WaitFor([&] { return IsIconic(window) != FALSE; }, kSettleMs);
    return RectJson(window);
}

nlohmann::json GetWindowTitle(CCommandContext& context) {
    return WindowTitleUtf8(context.Session().RequireCurrentWindow());
}

nlohmann::json TakeWindowScreenshot(CCommandContext& context) {
    return WindowPngBase64(context.Session().RequireCurrentWindow());
}
