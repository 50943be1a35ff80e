// Commands on the session's windows: handle, handles, switch, rect, title,
// close, maximize and minimize; and how window handles are written.
#pragma once
#include <windows.h>

#include <string>

#include <nlohmann/json.hpp>

class CCommandContext;

// "0x0001005C": at least eight hex digits, upper case.
std::string WindowHandleText(HWND window);
// "0x1A2B" or "1A2B" (hex); nullptr when it is none.
HWND ParseWindowHandle(const std::string& text);
// The window's title as UTF-8 (read without sending it a message, so a hung
// window cannot stall it).
std::string WindowTitleUtf8(HWND window);

nlohmann::json GetCurrentWindowHandle(CCommandContext& context);
nlohmann::json GetAllWindowHandles(CCommandContext& context);
nlohmann::json SwitchWindow(CCommandContext& context);
nlohmann::json CloseCurrentWindow(CCommandContext& context);
nlohmann::json GetCurrentWindowRect(CCommandContext& context);
nlohmann::json SetCurrentWindowRect(CCommandContext& context);
nlohmann::json MaximizeCurrentWindow(CCommandContext& context);
nlohmann::json MinimizeCurrentWindow(CCommandContext& context);
nlohmann::json GetWindowTitle(CCommandContext& context);
nlohmann::json TakeWindowScreenshot(CCommandContext& context);
