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

nlohmann::json GetWindowHandle(CCommandContext& context);
nlohmann::json GetWindowHandles(CCommandContext& context);
nlohmann::json SwitchToWindow(CCommandContext& context);
nlohmann::json CloseWindow(CCommandContext& context);
nlohmann::json GetWindowRect(CCommandContext& context);
nlohmann::json SetWindowRect(CCommandContext& context);
nlohmann::json MaximizeWindow(CCommandContext& context);
nlohmann::json MinimizeWindow(CCommandContext& context);
nlohmann::json GetTitle(CCommandContext& context);
nlohmann::json TakeScreenshot(CCommandContext& context);
