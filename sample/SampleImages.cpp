#include "sample/SampleImages.h"

CSampleImages::CSampleImages() : m_hSmall(Build(16)), m_hLarge(Build(32)) {}

// The list view takes ownership of its image lists (no LVS_SHAREIMAGELISTS)
// and destroys them with itself.
CSampleImages::~CSampleImages() {}

HIMAGELIST CSampleImages::Build(int size) {
    static const COLORREF colours[kCount] = {RGB(200, 30, 30), RGB(30, 160, 30), RGB(30, 60, 200),
                                             RGB(220, 180, 20)};
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24, kCount, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    for (int i = 0; i < kCount; ++i) {
        HBITMAP bmp = CreateCompatibleBitmap(screen, size, size);
        HGDIOBJ old = SelectObject(dc, bmp);
        RECT all = {0, 0, size, size};
        HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
        FillRect(dc, &all, white);
        DeleteObject(white);
        HBRUSH brush = CreateSolidBrush(colours[i]);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        // A different shape per image, so that pictures tell them apart too.
        if (i % 2 == 0) {
            Rectangle(dc, 1, 1, size - 1, size - 1);
        } else {
            Ellipse(dc, 1, 1, size - 1, size - 1);
        }
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
        SelectObject(dc, old);
        ImageList_Add(list, bmp, nullptr);
        DeleteObject(bmp);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return list;
}
