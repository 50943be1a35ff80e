// The four images of the list view, drawn at run time in two sizes.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CSampleImages {
public:
    static constexpr int kCount = 4;
    CSampleImages();
    ~CSampleImages();
    HIMAGELIST Small() const { return m_hSmall; }
    HIMAGELIST Large() const { return m_hLarge; }

private:
    static HIMAGELIST Build(int size);
    HIMAGELIST m_hSmall;
    HIMAGELIST m_hLarge;
};
