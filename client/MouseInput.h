// Real input for a controller that acts on what it found: moves the cursor
// to a screen point and clicks there with SendInput, as a person would.
#pragma once
#include <windows.h>

enum class MouseButton { Left, Right };

// Clicks (twice for bDouble) at the screen point. False when the cursor
// could not be brought there or the input was not taken.
bool ClickAt(POINT screen, MouseButton button, bool bDouble);
