#include "client/MouseInput.h"

namespace {

// A motion left over from an earlier move can carry the cursor back right
// after it was set: move, let it settle, move again, and check.
bool MoveCursorTo(POINT screen) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        SetCursorPos(screen.x, screen.y);
        Sleep(30);
        SetCursorPos(screen.x, screen.y);
        POINT now = {0, 0};
        if (GetCursorPos(&now) && now.x == screen.x && now.y == screen.y) return true;
    }
    return false;
}

INPUT ButtonInput(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

bool ClickAt(POINT screen, MouseButton button, bool bDouble) {
    if (!MoveCursorTo(screen)) return false;
    const DWORD down = button == MouseButton::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
    const DWORD up = button == MouseButton::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
    INPUT inputs[4] = {ButtonInput(down), ButtonInput(up), ButtonInput(down), ButtonInput(up)};
    const UINT count = bDouble ? 4 : 2;
    return SendInput(count, inputs, sizeof(INPUT)) == count;
}
