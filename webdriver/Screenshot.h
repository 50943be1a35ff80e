// Screenshots: a rectangle of the screen as a PNG, base64-encoded for the
// WebDriver answer. The screen is copied, so a hung application cannot
// stall it; what covers the rectangle is in the picture.
#pragma once
#include <windows.h>

#include <string>

// The screen's pixels in the rectangle (screen coordinates, clipped to the
// virtual screen) as base64 PNG. Throws "unable to capture screen" when the
// rectangle is empty off the screen or the copy fails.
std::string ScreenRectPngBase64(const RECT& screen);
// The window's rectangle on the screen, the same way.
std::string WindowPngBase64(HWND window);

// Standard base64 (with padding).
std::string Base64Encode(const std::string& bytes);
