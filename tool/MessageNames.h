// Names of the common window messages, for the tool's output and input:
// "WM_SETTEXT" for 0x000C, and back. Registered messages (0xC000 and above)
// are named by Windows itself.
#pragma once
#include <windows.h>

#include <string>

// "WM_PAINT", a registered message's own name, "WM_USER+5", "WM_APP+20",
// or the number in hex.
std::string MessageName(UINT message);
// A name of the table (case-insensitive), a registered message's name, or
// a number (decimal or 0x hex); false when it is none of these.
bool ParseMessage(const std::string& text, UINT* message);
