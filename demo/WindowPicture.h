// A picture of a window as it is on the screen, with labelled boxes drawn
// on it (each label kept inside the picture), saved as a 24-bit BMP.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "common/Owned.h"
#include "demo/LabelPlacement.h"

class CWindowPicture {
public:
    CWindowPicture() = default;
    CWindowPicture(const CWindowPicture&) = delete;
    CWindowPicture& operator=(const CWindowPicture&) = delete;

    // Copies the screen area of the window's rectangle.
    bool Capture(HWND window);
    // Draws a box given in screen coordinates, with a label beside or below
    // it (see PlaceLabel); a label wider than the picture ends in "...".
    void DrawBox(const RECT& screenRect, COLORREF colour, const std::string& label, LabelSide side = LabelSide::Right);
    bool SaveBmp(const std::string& path) const;

private:
    // Declared in this order so that the bitmap is deselected before the
    // DC and the bitmap go.
    COwnedGdiObject m_bitmap;
    COwnedMemoryDC m_dc;
    std::unique_ptr<CSelectedObject> m_selected;
    void* m_pBits = nullptr;
    POINT m_origin = {0, 0};
    int m_nWidth = 0;
    int m_nHeight = 0;
};
