#include "tool/ItemReport.h"

#include <cstdio>
#include <vector>

#include "client/LocatorForm.h"
#include "client/ToolbarButtonText.h"
#include "forms/ItemKinds.h"
#include "tool/ToolOutput.h"
#include "windows/WindowFunctions.h"

namespace {
std::string ClassOf(HWND hwnd) {
    char szName[257] = {0};
    GetWindowClassName(hwnd, szName, 256);
    return szName;
}

std::string TitleOf(HWND hwnd) {
    char szTitle[256] = {0};
    GetWindowTextA(hwnd, szTitle, sizeof(szTitle));
    return szTitle;
}
}  // namespace

void ItemReport::TakeForm(const LocatorForm& form) {
    nKind = form.nKind;
    rect = form.rect;
    text = form.Text();
    description = form.Description();
    if (form.nKind == kItemKindToolbar) nCommand = form.toolbar.idCommand;
}

std::string ItemReport::ShownText() const {
    if (!text.empty() || nKind != kItemKindToolbar || !hwnd) return text;
    return ReadToolbarButtonText(hwnd, nCommand);
}

RECT ItemReport::ScreenRect() const {
    if (nKind == kItemKindPopupMenu) return rect;  // popup items report screen coordinates
    POINT a = {rect.left, rect.top}, b = {rect.right, rect.bottom};
    ClientToScreen(hwnd, &a);
    ClientToScreen(hwnd, &b);
    return RECT{a.x, a.y, b.x, b.y};
}

POINT ItemReport::ScreenCentre() const {
    const RECT r = ScreenRect();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

nlohmann::json ItemReport::Json() const {
    const RECT s = ScreenRect();
    nlohmann::json item = {{"kind", ItemKindName(nKind)},
                           {"rect", RectJson(rect.left, rect.top, rect.right, rect.bottom)},
                           {"screen", RectJson(s.left, s.top, s.right, s.bottom)},
                           {"text", Utf8(ShownText())},
                           {"description", Utf8(description)}};
    if (nIndex >= 0) item["index"] = nIndex;
    return item;
}

std::string ItemReport::Text() const {
    const RECT s = ScreenRect();
    std::string line = ItemKindName(nKind) + " item";
    if (nIndex >= 0) line += " " + std::to_string(nIndex);
    const std::string shown = ShownText();
    if (!shown.empty()) line += " '" + shown + "'";
    if (!description.empty()) line += " (" + description + ")";
    line += ": " + std::string(nKind == kItemKindPopupMenu ? "screen " : "client ") +
            RectText(rect.left, rect.top, rect.right, rect.bottom) + ", screen " +
            RectText(s.left, s.top, s.right, s.bottom);
    return line;
}

std::string FormHex(const LocatorForm& form) {
    std::vector<uint8_t> bytes(EncodedLocatorFormSize(form) + 16, 0);
    CWireCursor cursor(bytes.data(), bytes.data() + bytes.size());
    EncodeLocatorForm(form, cursor);
    std::string hex;
    char digits[3];
    for (size_t i = 0; i < cursor.Offset(); ++i) {
        std::snprintf(digits, sizeof(digits), "%02x", bytes[i]);
        hex += digits;
    }
    return hex;
}

nlohmann::json WindowJson(HWND hwnd) {
    RECT r = {0, 0, 0, 0};
    GetWindowRect(hwnd, &r);
    nlohmann::json window = {{"hwnd", HandleText(hwnd)},
                             {"class", Utf8(ClassOf(hwnd))},
                             {"id", nullptr},
                             {"title", Utf8(TitleOf(hwnd))},
                             {"screen", RectJson(r.left, r.top, r.right, r.bottom)}};
    // A top-level window's identifier is its menu handle: only children have ids.
    if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) window["id"] = static_cast<long>(GetWindowLongA(hwnd, GWL_ID));
    return window;
}

std::string WindowText(HWND hwnd) {
    std::string line = HandleText(hwnd) + " " + ClassOf(hwnd);
    if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) line += " id " + std::to_string(GetWindowLongA(hwnd, GWL_ID));
    const std::string title = TitleOf(hwnd);
    if (!title.empty()) line += " '" + title + "'";
    return line;
}
