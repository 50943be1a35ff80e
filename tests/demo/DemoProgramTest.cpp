// The demo as a person runs it: VintrelDemo.exe in a process of its own,
// against the sample, writing its table and its files; and a picture's
// label at the edge of a real window, read back from the saved file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "client/WindowDescriptionReader.h"
#include "common/Owned.h"
#include "demo/WindowPicture.h"
#include "sample/SampleProtocol.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/SampleProcess.h"

namespace {

const COLORREF kLabelBackground = RGB(255, 255, 224);

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A 24-bit BMP as the picture writes it: its size and pixels.
struct Bitmap {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<unsigned char> bytes;  // the whole file

    bool Load(const std::string& path) {
        FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) return false;
        unsigned char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(file);
        if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return false;
        BITMAPINFOHEADER header;
        std::memcpy(&header, &bytes[sizeof(BITMAPFILEHEADER)], sizeof(header));
        nWidth = header.biWidth;
        nHeight = header.biHeight;
        return header.biBitCount == 24 && bytes.size() >= Offset(nWidth - 1, 0) + 3;
    }
    size_t Offset(int x, int y) const {  // rows are stored bottom-up
        const size_t stride = (static_cast<size_t>(nWidth) * 3 + 3) & ~static_cast<size_t>(3);
        return sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + stride * (nHeight - 1 - y) + x * 3;
    }
    COLORREF Pixel(int x, int y) const {
        const size_t at = Offset(x, y);
        return RGB(bytes[at + 2], bytes[at + 1], bytes[at]);
    }
    // The columns in which the colour appears, and the rightmost of them.
    int ColumnsWith(COLORREF colour, int* pRightmost) const {
        int columns = 0;
        *pRightmost = -1;
        for (int x = 0; x < nWidth; ++x) {
            for (int y = 0; y < nHeight; ++y) {
                if (Pixel(x, y) == colour) {
                    ++columns;
                    *pRightmost = x;
                    break;
                }
            }
        }
        return columns;
    }
};

// A plain white window of the test's own on the screen.
class CPlainWindow {
public:
    CPlainWindow(int x, int y, int width, int height) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "VintrelDemoTestPlain";
        RegisterClassA(&wc);
        m_window.Reset(CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, x, y, width, height,
                                       nullptr, nullptr, wc.hInstance, nullptr));
        UpdateWindow(m_window.Get());
        MSG msg;
        for (int i = 0; i < 20; ++i) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(10);
        }
    }
    HWND Get() const { return m_window.Get(); }

private:
    COwnedWindow m_window;
};

TEST(DemoPicture, ALabelBesideABoxAtTheRightEdgeIsDrawnWholeInsideThePicture) {
    CPlainWindow window(200, 200, 400, 150);
    ASSERT_NE(window.Get(), nullptr);
    const std::string label = "a label far too long to stand right of the box";
    SIZE text = {0, 0};
    {
        COwnedMemoryDC dc(CreateCompatibleDC(nullptr));
        GetTextExtentPoint32A(dc.Get(), label.c_str(), static_cast<int>(label.size()), &text);
    }
    ASSERT_GT(text.cx, 100);
    ASSERT_LT(text.cx, 380) << "the test wants a label narrower than the window";

    struct Case {
        RECT box;  // screen
        LabelSide side;
    } cases[] = {
        {{200 + 330, 220, 200 + 395, 240}, LabelSide::Right},  // at the right edge: the label goes left of it
        {{200 + 10, 220, 200 + 395, 240}, LabelSide::Right},   // as wide as the window: below it
        {{200 + 300, 320, 200 + 395, 345}, LabelSide::Below},  // bottom right corner: above it, moved left
    };
    for (const Case& c : cases) {
        CWindowPicture picture;
        ASSERT_TRUE(picture.Capture(window.Get()));
        picture.DrawBox(c.box, RGB(230, 0, 0), label, c.side);
        const std::string path = TestProgramDirectory() + "demo-label-test.bmp";
        ASSERT_TRUE(picture.SaveBmp(path));
        Bitmap bitmap;
        ASSERT_TRUE(bitmap.Load(path));
        ASSERT_EQ(bitmap.nWidth, 400);
        int rightmost = -1;
        const int columns = bitmap.ColumnsWith(kLabelBackground, &rightmost);
        // The label's background spans the whole text: nothing was cut.
        EXPECT_GE(columns, text.cx) << "box at " << c.box.left - 200 << ": label columns " << columns << ", text "
                                    << text.cx << " wide";
        EXPECT_LT(rightmost, bitmap.nWidth);
        DeleteFileA(path.c_str());
    }
}

TEST(DemoProgram, RecordsFindsAgainAndWritesItsTableAndFiles) {
    // No backslash before the closing quote: it would escape the quote.
    const std::string out = TestProgramDirectory() + "demo-output-test", dir = out + "\\";
    ChildRun run = RunChildProgram("VintrelDemo.exe", "--out \"" + out + "\"", 240000);
    ASSERT_EQ(run.exitCode, 0u) << run.out << run.err;
    EXPECT_EQ(run.err, "");
    for (const char* file : {"recorded.bmp", "found-1.bmp", "found-2.bmp", "found-3.bmp", "found.bmp",
                             "list-item-1.bin", "menu-item-0.bin", "control-item-1201.bin", "acc-popup.bin",
                             "acc-recorded.bmp", "acc-found.bmp", "tab-item.bin", "tab-found.bmp"}) {
        EXPECT_TRUE(FileExists(dir + file)) << file << " missing in " << dir;
    }
    // Every table line says "yes" in its found column; none says "no".
    int found = 0;
    for (const std::string& line : run.Lines()) {
        if (line.find(" yes ") != std::string::npos) ++found;
        EXPECT_EQ(line.find(" no "), std::string::npos) << line;
    }
    EXPECT_EQ(found, 5 + 4 + 3) << run.out;

    // The popup item was recorded with the cursor on it: its name is the
    // item's own or none, never that of the object under a cursor elsewhere.
    WindowDescriptionForm popup;
    std::string error;
    ASSERT_TRUE(LoadDescription(dir + "acc-popup.bin", &popup, nullptr, &error)) << error;
    EXPECT_EQ(popup.item.popupMenu.nItemId, static_cast<uint32_t>(sample::kAccCmdShared));
    EXPECT_TRUE(popup.item.popupMenu.name.empty() || popup.item.popupMenu.name == "Shared")
        << "recorded as '" << popup.item.popupMenu.name << "'";
}

// The tool itself no longer runs the demo.
TEST(DemoProgram, TheToolHasNoDemoCommand) {
    ChildRun run = RunChildProgram("vintrel.exe", "demo");
    EXPECT_NE(run.exitCode, 0u);
    EXPECT_NE(run.err.find("unknown command 'demo'"), std::string::npos) << run.err;
}

}  // namespace
