#include "sample/SampleImages.h"

#include "common/Owned.h"

CSampleImages::CSampleImages() : m_hSmall(Build(16)), m_hLarge(Build(32)) {}

// The list view takes ownership of its image lists (no LVS_SHAREIMAGELISTS)
// and destroys them with itself.
CSampleImages::~CSampleImages() {}

HIMAGELIST CSampleImages::Build(int size) {
    static const COLORREF colours[kCount] = {RGB(200, 30, 30), RGB(30, 160, 30), RGB(30, 60, 200),
                                             RGB(220, 180, 20)};
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24, kCount, 0);
    CWindowDC screen(nullptr);
    COwnedMemoryDC dc(CreateCompatibleDC(screen.Get()));
    for (int i = 0; i < kCount; ++i) {
        COwnedGdiObject bmp(CreateCompatibleBitmap(screen.Get(), size, size));
        {
            CSelectedObject bmpSelected(dc.Get(), bmp.Get());
            RECT all = {0, 0, size, size};
            COwnedGdiObject white(CreateSolidBrush(RGB(255, 255, 255)));
            FillRect(dc.Get(), &all, static_cast<HBRUSH>(white.Get()));
            COwnedGdiObject brush(CreateSolidBrush(colours[i]));
            CSelectedObject brushSelected(dc.Get(), brush.Get());
            // A different shape per image, so that pictures tell them apart too.
            if (i % 2 == 0) {
                Rectangle(dc.Get(), 1, 1, size - 1, size - 1);
            } else {
                Ellipse(dc.Get(), 1, 1, size - 1, size - 1);
            }
        }
        ImageList_Add(list, static_cast<HBITMAP>(bmp.Get()), nullptr);
    }
    return list;
}
