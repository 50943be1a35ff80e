#include "tool/WindowPicture.h"

#include <cstdio>

CWindowPicture::~CWindowPicture() {
    if (m_hdc) {
        SelectObject(m_hdc, m_hOld);
        DeleteDC(m_hdc);
    }
    if (m_hBitmap) DeleteObject(m_hBitmap);
}

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
    HDC screen = GetDC(nullptr);
    m_hdc = CreateCompatibleDC(screen);
    m_hBitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0);
    if (!m_hdc || !m_hBitmap) {
        ReleaseDC(nullptr, screen);
        return false;
    }
    m_hOld = SelectObject(m_hdc, m_hBitmap);
    BOOL ok = BitBlt(m_hdc, 0, 0, m_nWidth, m_nHeight, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return ok != FALSE;
}

void CWindowPicture::DrawBox(const RECT& s, COLORREF colour, const std::string& label, LabelSide side) {
    if (!m_hdc) return;
    RECT r = {s.left - m_origin.x, s.top - m_origin.y, s.right - m_origin.x, s.bottom - m_origin.y};
    HPEN pen = CreatePen(PS_SOLID, 2, colour);
    HGDIOBJ oldPen = SelectObject(m_hdc, pen);
    HGDIOBJ oldBrush = SelectObject(m_hdc, GetStockObject(NULL_BRUSH));
    Rectangle(m_hdc, r.left - 1, r.top - 1, r.right + 1, r.bottom + 1);
    SelectObject(m_hdc, oldBrush);
    SelectObject(m_hdc, oldPen);
    DeleteObject(pen);
    if (!label.empty()) {
        SetBkMode(m_hdc, OPAQUE);
        SetBkColor(m_hdc, RGB(255, 255, 224));
        SetTextColor(m_hdc, colour);
        const int x = side == LabelBelow ? r.left : r.right + 4;
        const int y = side == LabelBelow ? r.bottom + 3 : r.top;
        TextOutA(m_hdc, x, y, label.c_str(), static_cast<int>(label.size()));
    }
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
