// What the demo's steps share: starting the sample, pointing at a place as
// a person does before taking what is there, screen rectangles and their
// short text for the tables, and the colours of the boxes.
#pragma once
#include <windows.h>

#include <string>

class CApplicationProcess;

// Boxes of the first run (recorded) and of the second (found again).
const COLORREF kRecordedColour = RGB(0, 90, 255);
const COLORREF kFoundColour = RGB(230, 0, 0);

// Starts VintrelSample.exe from the demo's own directory with the arguments.
bool StartSample(CApplicationProcess& app, const std::string& arguments, std::string* error);

// Moves the mouse cursor onto the screen point, as a person points at an
// item before recording it; false (with *error naming what) when the
// cursor did not get there.
bool PointAt(POINT screen, const std::string& what, std::string* error);

// A rectangle in client coordinates of the window, in screen coordinates.
RECT ToScreen(HWND hwnd, RECT r);
POINT Centre(const RECT& r);
// "(l,t)-(r,b)", the tables' short form.
std::string RectText(const RECT& r);
