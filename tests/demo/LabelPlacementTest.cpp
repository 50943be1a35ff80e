// Where the demo puts a box's label: beside or below the box as asked,
// moved to the other side or along the edge when it would run off, and
// always inside the picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "demo/LabelPlacement.h"

namespace {

const SIZE kPicture = {600, 400};
const SIZE kText = {120, 16};

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

bool Inside(const RECT& r, SIZE picture) {
    return r.left >= 0 && r.top >= 0 && r.right <= picture.cx && r.bottom <= picture.cy && r.left <= r.right &&
           r.top <= r.bottom;
}

bool Overlaps(const RECT& a, const RECT& b) {
    RECT both;
    return IntersectRect(&both, &a, &b) != FALSE;
}

TEST(LabelPlacement, BesideTheBoxWhereThereIsRoomOtherwiseOnItsOtherSideOrBelow) {
    // Room on the right: right of the box, level with its top.
    RECT box = {100, 50, 200, 70};
    RECT label = PlaceLabel(box, kText, kPicture, LabelSide::Right);
    EXPECT_EQ(label.left, 204) << Text(label);
    EXPECT_EQ(label.top, 50) << Text(label);
    EXPECT_EQ(label.right - label.left, kText.cx) << Text(label);
    EXPECT_EQ(label.bottom - label.top, kText.cy) << Text(label);

    // A box at the right edge: the label goes to its left.
    box = {450, 50, 590, 70};
    label = PlaceLabel(box, kText, kPicture, LabelSide::Right);
    EXPECT_EQ(label.right, 446) << Text(label);
    EXPECT_EQ(label.top, 50) << Text(label);

    // A box as wide as the picture: below it, along the right edge.
    box = {60, 50, 590, 70};
    label = PlaceLabel(box, kText, kPicture, LabelSide::Right);
    EXPECT_EQ(label.top, 73) << Text(label);
    EXPECT_EQ(label.left, 60) << Text(label);
    box = {520, 50, 590, 70};
    label = PlaceLabel(box, SIZE{560, 16}, kPicture, LabelSide::Right);
    EXPECT_EQ(label.right, kPicture.cx) << Text(label);
    EXPECT_EQ(label.top, 73) << Text(label);
}

TEST(LabelPlacement, BelowTheBoxMovesLeftAtTheRightEdgeAndAboveAtTheBottom) {
    RECT box = {100, 50, 160, 70};
    RECT label = PlaceLabel(box, kText, kPicture, LabelSide::Below);
    EXPECT_EQ(label.left, 100) << Text(label);
    EXPECT_EQ(label.top, 73) << Text(label);

    box = {540, 50, 600, 70};
    label = PlaceLabel(box, kText, kPicture, LabelSide::Below);
    EXPECT_EQ(label.right, kPicture.cx) << Text(label);
    EXPECT_EQ(label.top, 73) << Text(label);

    box = {100, 370, 160, 395};
    label = PlaceLabel(box, kText, kPicture, LabelSide::Below);
    EXPECT_EQ(label.bottom, 367) << Text(label);
    EXPECT_EQ(label.left, 100) << Text(label);
}

TEST(LabelPlacement, ATextWiderOrTallerThanThePictureIsCutToIt) {
    const RECT box = {10, 10, 50, 30};
    for (LabelSide side : {LabelSide::Right, LabelSide::Below}) {
        RECT label = PlaceLabel(box, SIZE{900, 16}, kPicture, side);
        EXPECT_EQ(label.left, 0) << Text(label);
        EXPECT_EQ(label.right, kPicture.cx) << Text(label);
        label = PlaceLabel(box, SIZE{100, 900}, kPicture, side);
        EXPECT_EQ(label.top, 0) << Text(label);
        EXPECT_EQ(label.bottom, kPicture.cy) << Text(label);
    }
    // A picture of nothing gives an empty label.
    const RECT none = PlaceLabel(box, kText, SIZE{0, 0}, LabelSide::Right);
    EXPECT_TRUE(IsRectEmpty(&none)) << Text(none);
}

// Boxes all over the picture, partly outside it too, and texts of many
// widths: every label lies inside the picture, whole when it fits, and off
// the box whenever there is room beside, below or above it.
TEST(LabelPlacement, EveryLabelLiesInsideThePicture) {
    int checked = 0;
    for (LONG left = -40; left < kPicture.cx + 20; left += 37) {
        for (LONG top = -20; top < kPicture.cy + 10; top += 29) {
            for (LONG width : {8, 70, 300}) {
                for (LONG textWidth : {1, 90, 350, 599, 600}) {
                    const RECT box = {left, top, left + width, top + 18};
                    const SIZE text = {textWidth, 16};
                    for (LabelSide side : {LabelSide::Right, LabelSide::Below}) {
                        const RECT label = PlaceLabel(box, text, kPicture, side);
                        ASSERT_TRUE(Inside(label, kPicture)) << "box " << Text(box) << " text " << textWidth
                                                             << ": label " << Text(label);
                        ASSERT_EQ(label.right - label.left, textWidth) << "box " << Text(box);
                        ASSERT_EQ(label.bottom - label.top, text.cy) << "box " << Text(box);
                        const bool bRoomBelow = box.bottom + 3 + text.cy <= kPicture.cy;
                        const bool bRoomAbove = box.top - 3 - text.cy >= 0;
                        const bool bInside = Inside(box, kPicture);
                        if (bInside && (bRoomBelow || bRoomAbove)) {
                            EXPECT_FALSE(Overlaps(label, box)) << "box " << Text(box) << " label " << Text(label);
                        }
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

}  // namespace
