// Capturing, drawing on and saving a window's picture (see WindowPicture.h).
#include "demo/WindowPicture.h"

#include <cstdio>

bool CWindowPicture::Capture(HWND window) {
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    m_origin = {r.left, r.top};
    m_nWidth = r.right - r.left;
    m_nHeight = r.bottom - r.top;
    if (m_nWidth <= 0 || m_nHeight <= 0) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_nWidth;
    info.bmiHeader.biHeight = m_nHeight;  // bottom-up, as BMP files store it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    CWindowDC screen(nullptr);
    m_selected.reset();
    m_dc.Reset(CreateCompatibleDC(screen.Get()));
    m_bitmap.Reset(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0));
    if (!m_dc || !m_bitmap) return false;
    m_selected.reset(new CSelectedObject(m_dc.Get(), m_bitmap.Get()));
    return BitBlt(m_dc.Get(), 0, 0, m_nWidth, m_nHeight, screen.Get(), r.left, r.top, SRCCOPY) != FALSE;
}

void CWindowPicture::DrawBox(const RECT& s, COLORREF colour, const std::string& label, LabelSide side) {
    if (!m_dc) return;
    const HDC hdc = m_dc.Get();
    RECT r = {s.left - m_origin.x, s.top - m_origin.y, s.right - m_origin.x, s.bottom - m_origin.y};
    {
        COwnedGdiObject pen(CreatePen(PS_SOLID, 2, colour));
        CSelectedObject penSelected(hdc, pen.Get());
        CSelectedObject brushSelected(hdc, GetStockObject(NULL_BRUSH));
        Rectangle(hdc, r.left - 1, r.top - 1, r.right + 1, r.bottom + 1);
    }
    if (label.empty()) return;
    SIZE text = {0, 0};
    GetTextExtentPoint32A(hdc, label.c_str(), static_cast<int>(label.size()), &text);
    RECT place = PlaceLabel(r, text, SIZE{m_nWidth, m_nHeight}, side);
    SetBkMode(hdc, OPAQUE);
    SetBkColor(hdc, RGB(255, 255, 224));
    SetTextColor(hdc, colour);
    DrawTextA(hdc, label.c_str(), static_cast<int>(label.size()), &place,
              DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT | DT_TOP);
}

bool CWindowPicture::SaveBmp(const std::string& path) const {
    if (!m_pBits) return false;
    GdiFlush();
    const int stride = (m_nWidth * 3 + 3) & ~3;
    const DWORD imageSize = static_cast<DWORD>(stride) * m_nHeight;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + imageSize;
    header.biSize = sizeof(header);
    header.biWidth = m_nWidth;
    header.biHeight = m_nHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = imageSize;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(&file, sizeof(file), 1, f) == 1 && std::fwrite(&header, sizeof(header), 1, f) == 1 &&
              std::fwrite(m_pBits, 1, imageSize, f) == imageSize;
    return std::fclose(f) == 0 && ok;
}
