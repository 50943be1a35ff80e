#include "sample/SampleMenuBar.h"

#include "sample/SampleProtocol.h"

namespace {

HMENU Popup(std::initializer_list<std::pair<int, const char*>> items) {
    HMENU menu = CreatePopupMenu();
    for (const auto& item : items) {
        if (item.first == 0) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item.first), item.second);
        }
    }
    return menu;
}

HMENU ToolsMenu() { return Popup({{sample::kCmdTools, "&Options..."}}); }

const char kToolsText[] = "&Tools";

}  // namespace

HMENU CSampleMenuBar::Build(bool withTools) {
    using namespace sample;
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup({{kCmdNew, "&New"}, {kCmdOpen, "&Open..."},
                                                                 {kCmdSave, "&Save"}, {0, nullptr},
                                                                 {kCmdExit, "E&xit"}})),
                "&File");
    AppendMenuA(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(Popup({{kCmdCut, "Cu&t"}, {kCmdCopy, "&Copy"}, {kCmdPaste, "&Paste"}})),
                "&Edit");
    AppendMenuA(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(Popup({{kCmdIcons, "&Icons"}, {kCmdReport, "&Report"}})), "&View");
    if (withTools) AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(ToolsMenu()), kToolsText);
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup({{kCmdAbout, "&About"}})), "&Help");
    return bar;
}

void CSampleMenuBar::ToggleTools(HWND frame) {
    HMENU bar = GetMenu(frame);
    const int count = GetMenuItemCount(bar);
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        GetMenuStringA(bar, i, text, sizeof(text), MF_BYPOSITION);
        if (lstrcmpA(text, kToolsText) == 0) {
            DeleteMenu(bar, i, MF_BYPOSITION);
            DrawMenuBar(frame);
            return;
        }
    }
    InsertMenuA(bar, count - 1, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(ToolsMenu()), kToolsText);
    DrawMenuBar(frame);
}

bool CSampleMenuBar::Rename(HWND frame, int position, const std::string& text) {
    HMENU bar = GetMenu(frame);
    if (position < 0 || position >= GetMenuItemCount(bar)) return false;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(text.c_str());
    if (!SetMenuItemInfoA(bar, static_cast<UINT>(position), TRUE, &info)) return false;
    DrawMenuBar(frame);
    return true;
}
