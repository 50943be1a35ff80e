// A picture of a window as it is on the screen, with labelled boxes drawn
// on it, saved as a 24-bit BMP.
#pragma once
#include <windows.h>
#include <string>

class CWindowPicture {
public:
    CWindowPicture() = default;
    ~CWindowPicture();
    CWindowPicture(const CWindowPicture&) = delete;
    CWindowPicture& operator=(const CWindowPicture&) = delete;

    // Copies the screen area of the window's rectangle.
    bool Capture(HWND window);
    enum LabelSide { LabelRight, LabelBelow };
    // Draws a box given in screen coordinates, with a label beside or below it.
    void DrawBox(const RECT& screenRect, COLORREF colour, const std::string& label, LabelSide side = LabelRight);
    bool SaveBmp(const std::string& path) const;

private:
    HDC m_hdc = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    void* m_pBits = nullptr;
    POINT m_origin = {0, 0};
    int m_nWidth = 0;
    int m_nHeight = 0;
};
