// Where a box's label goes in a picture: beside the box or below it as
// asked, moved to the other side of the box or along the picture's edge
// when it would run off, and never larger than the picture.
#pragma once
#include <windows.h>

enum class LabelSide { Right, Below };

// The label's rectangle for a box (both in picture coordinates), a text of
// the given size and a picture of the given size. The rectangle lies inside
// the picture; it is narrower than the text only when the picture is.
RECT PlaceLabel(const RECT& box, SIZE text, SIZE picture, LabelSide side);
