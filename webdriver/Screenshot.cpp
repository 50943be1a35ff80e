// Screen pixels to base64 PNG with stb's image writer.
#include "webdriver/Screenshot.h"

#include <vector>

#include "common/Owned.h"
#include "webdriver/WebDriverError.h"

#if defined(_MSC_VER)
#pragma warning(push, 0)
#endif
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>
#if defined(_MSC_VER)
#pragma warning(pop)
#endif

namespace {

// The virtual screen is at most this many pixels across each way; anything
// larger is a bad rectangle, not a screen.
const int kMaxSide = 16384;

void AppendBytes(void* context, void* data, int size) {
    std::string* out = static_cast<std::string*>(context);
    if (size > 0) out->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

[[noreturn]] void ThrowCaptureError(const std::string& message) {
    throw CWebDriverError(WebDriverErrorCode::UnableToCaptureScreen, message);
}

}  // namespace

std::string Base64Encode(const std::string& bytes) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) | static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    if (i < bytes.size()) {
        const bool bTwo = i + 1 < bytes.size();
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (bTwo ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += bTwo ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string ScreenRectPngBase64(const RECT& screen) {
    const RECT desktop = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                          GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT r = {0, 0, 0, 0};
    if (!IntersectRect(&r, &screen, &desktop)) {
        ThrowCaptureError("the rectangle (" + std::to_string(screen.left) + ", " + std::to_string(screen.top) + ")-(" +
                          std::to_string(screen.right) + ", " + std::to_string(screen.bottom) +
                          ") shows nothing on the screen");
    }
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width > kMaxSide || height > kMaxSide) ThrowCaptureError("the rectangle is larger than any screen");

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows, as PNG stores them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    CWindowDC screenDc(nullptr);
    if (!screenDc) ThrowCaptureError("no device context for the screen");
    COwnedMemoryDC dc(CreateCompatibleDC(screenDc.Get()));
    void* pBits = nullptr;
    COwnedGdiObject bitmap(CreateDIBSection(screenDc.Get(), &info, DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (!dc || !bitmap || !pBits) ThrowCaptureError("no memory for a " + std::to_string(width) + " x " +
                                                    std::to_string(height) + " picture");
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    {
        CSelectedObject selected(dc.Get(), bitmap.Get());
        if (!BitBlt(dc.Get(), 0, 0, width, height, screenDc.Get(), r.left, r.top, SRCCOPY | CAPTUREBLT)) {
            ThrowCaptureError("copying the screen failed (error " + std::to_string(GetLastError()) + ")");
        }
        GdiFlush();
        const unsigned char* pBgra = static_cast<const unsigned char*>(pBits);
        const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
        for (size_t i = 0; i < pixels; ++i) {
            rgb[i * 3] = pBgra[i * 4 + 2];
            rgb[i * 3 + 1] = pBgra[i * 4 + 1];
            rgb[i * 3 + 2] = pBgra[i * 4];
        }
    }
    std::string png;
    if (!stbi_write_png_to_func(&AppendBytes, &png, width, height, 3, rgb.data(), width * 3)) {
        ThrowCaptureError("encoding the picture as PNG failed");
    }
    return Base64Encode(png);
}

std::string WindowPngBase64(HWND window) {
    RECT r = {0, 0, 0, 0};
    if (!GetWindowRect(window, &r)) {
        throw CWebDriverError(WebDriverErrorCode::NoSuchWindow, "the window is gone");
    }
    return ScreenRectPngBase64(r);
}
