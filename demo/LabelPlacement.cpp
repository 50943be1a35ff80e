#include "demo/LabelPlacement.h"

namespace {

const LONG kGapBeside = 4;
const LONG kGapBelow = 3;

LONG Clamp(LONG value, LONG low, LONG high) { return value < low ? low : (value > high ? high : value); }

}  // namespace

RECT PlaceLabel(const RECT& box, SIZE text, SIZE picture, LabelSide side) {
    const LONG width = Clamp(text.cx, 0, picture.cx > 0 ? picture.cx : 0);
    const LONG height = Clamp(text.cy, 0, picture.cy > 0 ? picture.cy : 0);
    LONG x = box.left;
    LONG y = box.bottom + kGapBelow;
    bool bPlaced = false;
    if (side == LabelSide::Right) {
        // Right of the box, else left of it, else below it.
        y = box.top;
        if (box.right + kGapBeside + width <= picture.cx) {
            x = box.right + kGapBeside;
            bPlaced = true;
        } else if (box.left - kGapBeside - width >= 0) {
            x = box.left - kGapBeside - width;
            bPlaced = true;
        } else {
            y = box.bottom + kGapBelow;
        }
    }
    if (!bPlaced && y + height > picture.cy) y = box.top - kGapBelow - height;  // above the box instead
    x = Clamp(x, 0, picture.cx - width);
    y = Clamp(y, 0, picture.cy - height);
    return RECT{x, y, x + width, y + height};
}
