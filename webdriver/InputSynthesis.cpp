// Real pointer and keyboard input through SendInput.
#include "webdriver/InputSynthesis.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

struct SpecialKey {
    char32_t code;
    WORD vk;
    bool bExtended;  // sent with KEYEVENTF_EXTENDEDKEY
};

// WebDriver's key values U+E000..U+E05D and their virtual keys.
const SpecialKey kSpecialKeys[] = {
    {0xE001, VK_CANCEL, false},   {0xE002, VK_HELP, false},      {0xE003, VK_BACK, false},
    {0xE004, VK_TAB, false},      {0xE005, VK_CLEAR, false},     {0xE006, VK_RETURN, false},
    {0xE007, VK_RETURN, false},   {0xE008, VK_SHIFT, false},     {0xE009, VK_CONTROL, false},
    {0xE00A, VK_MENU, false},     {0xE00B, VK_PAUSE, false},     {0xE00C, VK_ESCAPE, false},
    {0xE00D, VK_SPACE, false},    {0xE00E, VK_PRIOR, true},      {0xE00F, VK_NEXT, true},
    {0xE010, VK_END, true},       {0xE011, VK_HOME, true},       {0xE012, VK_LEFT, true},
    {0xE013, VK_UP, true},        {0xE014, VK_RIGHT, true},      {0xE015, VK_DOWN, true},
    {0xE016, VK_INSERT, true},    {0xE017, VK_DELETE, true},     {0xE018, VK_OEM_1, false},
    {0xE019, VK_OEM_PLUS, false}, {0xE01A, VK_NUMPAD0, false},   {0xE01B, VK_NUMPAD1, false},
    {0xE01C, VK_NUMPAD2, false},  {0xE01D, VK_NUMPAD3, false},   {0xE01E, VK_NUMPAD4, false},
    {0xE01F, VK_NUMPAD5, false},  {0xE020, VK_NUMPAD6, false},   {0xE021, VK_NUMPAD7, false},
    {0xE022, VK_NUMPAD8, false},  {0xE023, VK_NUMPAD9, false},   {0xE024, VK_MULTIPLY, false},
    {0xE025, VK_ADD, false},      {0xE026, VK_SEPARATOR, false}, {0xE027, VK_SUBTRACT, false},
    {0xE028, VK_DECIMAL, false},  {0xE029, VK_DIVIDE, true},     {0xE031, VK_F1, false},
    {0xE032, VK_F2, false},       {0xE033, VK_F3, false},        {0xE034, VK_F4, false},
    {0xE035, VK_F5, false},       {0xE036, VK_F6, false},        {0xE037, VK_F7, false},
    {0xE038, VK_F8, false},       {0xE039, VK_F9, false},        {0xE03A, VK_F10, false},
    {0xE03B, VK_F11, false},      {0xE03C, VK_F12, false},       {0xE03D, VK_LWIN, true},
    {0xE050, VK_RSHIFT, false},   {0xE051, VK_RCONTROL, true},   {0xE052, VK_RMENU, true},
    {0xE053, VK_RWIN, true},      {0xE054, VK_PRIOR, true},      {0xE055, VK_NEXT, true},
    {0xE056, VK_END, true},       {0xE057, VK_HOME, true},       {0xE058, VK_LEFT, true},
    {0xE059, VK_UP, true},        {0xE05A, VK_RIGHT, true},      {0xE05B, VK_DOWN, true},
    {0xE05C, VK_INSERT, true},    {0xE05D, VK_DELETE, true},
};

const char32_t kNullKey = 0xE000;
const DWORD kSettleMs = 2000;
const DWORD kSettleBaseMs = 30;
const DWORD kSettlePerEventMs = 5;

const SpecialKey* SpecialKeyOf(char32_t key) {
    for (const SpecialKey& special : kSpecialKeys) {
        if (special.code == key) return &special;
    }
    return nullptr;
}

INPUT KeyInput(WORD vk, WORD scan, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

INPUT VirtualKeyInput(WORD vk, bool bExtended, bool bDown) {
    DWORD flags = bExtended ? KEYEVENTF_EXTENDEDKEY : 0;
    if (!bDown) flags |= KEYEVENTF_KEYUP;
    return KeyInput(vk, static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), flags);
}

// A character as UTF-16 units typed with KEYEVENTF_UNICODE.
void AppendUnicode(std::vector<INPUT>* pInputs, char32_t c, bool bDown) {
    const DWORD flags = KEYEVENTF_UNICODE | (bDown ? 0 : KEYEVENTF_KEYUP);
    if (c >= 0x10000) {
        const char32_t v = c - 0x10000;
        pInputs->push_back(KeyInput(0, static_cast<WORD>(0xD800 + (v >> 10)), flags));
        pInputs->push_back(KeyInput(0, static_cast<WORD>(0xDC00 + (v & 0x3FF)), flags));
    } else {
        pInputs->push_back(KeyInput(0, static_cast<WORD>(c), flags));
    }
}

bool SendEvents(std::vector<INPUT>& inputs) {
    if (inputs.empty()) return true;
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

INPUT MouseButtonInput(int button, bool bDown) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    switch (button) {
    case 0: input.mi.dwFlags = bDown ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP; break;
    case 1: input.mi.dwFlags = bDown ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP; break;
    case 2: input.mi.dwFlags = bDown ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP; break;
    default:
        input.mi.dwFlags = bDown ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP;
        input.mi.mouseData = button == 3 ? XBUTTON1 : XBUTTON2;
        break;
    }
    return input;
}

}  // namespace

WORD CInputSynthesizer::VirtualKeyOf(char32_t key) {
    const SpecialKey* special = SpecialKeyOf(key);
    return special ? special->vk : 0;
}

bool CInputSynthesizer::IsModifier(char32_t key) {
    switch (key) {
    case 0xE008: case 0xE009: case 0xE00A: case 0xE03D:
    case 0xE050: case 0xE051: case 0xE052: case 0xE053:
        return true;
    default:
        return false;
    }
}

bool CInputSynthesizer::DecodeUtf8(const std::string& utf8, std::u32string* pOut) {
    std::u32string out;
    size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            c = lead & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(extra) >= utf8.size()) return false;  // cut short
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static const char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (c < kMinimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        out += c;
        i += static_cast<size_t>(extra) + 1;
    }
    *pOut = std::move(out);
    return true;
}

bool CInputSynthesizer::MoveTo(POINT screen) {
    // A motion left over from an earlier move can carry the cursor back right
    // after it was set: move, let it settle, move again, and check.
    for (int attempt = 0; attempt < 5; ++attempt) {
        SetCursorPos(screen.x, screen.y);
        Sleep(30);
        SetCursorPos(screen.x, screen.y);
        POINT now = {0, 0};
        if (GetCursorPos(&now) && now.x == screen.x && now.y == screen.y) return true;
    }
    return false;
}

POINT CInputSynthesizer::Position() const {
    POINT now = {0, 0};
    GetCursorPos(&now);
    return now;
}

bool CInputSynthesizer::ButtonDown(int button) {
    if (button < 0 || button > 4) return false;
    std::vector<INPUT> inputs = {MouseButtonInput(button, true)};
    if (!Send(inputs)) return false;
    m_buttons.insert(button);
    return true;
}

bool CInputSynthesizer::ButtonUp(int button) {
    if (button < 0 || button > 4) return false;
    std::vector<INPUT> inputs = {MouseButtonInput(button, false)};
    m_buttons.erase(button);
    return Send(inputs);
}

bool CInputSynthesizer::Send(std::vector<INPUT>& inputs) {
    m_nUnsettled += static_cast<unsigned>(inputs.size());
    return SendEvents(inputs);
}

bool CInputSynthesizer::ClickAt(POINT screen, MouseButton button, bool bDouble) {
    if (m_bClicked && std::abs(screen.x - m_lastClick.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
        std::abs(screen.y - m_lastClick.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
        const DWORD since = GetTickCount() - m_dwLastClickTick;
        const DWORD wait = GetDoubleClickTime() + 20;
        if (since < wait) Sleep(wait - since);
    }
    const bool bTaken = ::ClickAt(screen, button, bDouble);
    m_bClicked = true;
    m_lastClick = screen;
    m_dwLastClickTick = GetTickCount();
    m_nUnsettled += bDouble ? 4 : 2;
    Settle();
    return bTaken;
}

void CInputSynthesizer::Settle() {
    // Input reaches the application's thread through the system's queue; it
    // is taken once the thread waits for input again with none pending. Wine's
    // WaitForInputIdle returns at once for a process that ran before, so a
    // pause as long as the events take there (a few ms each) follows it.
    if (m_process) WaitForInputIdle(m_process, kSettleMs);
    if (m_nUnsettled) Sleep(std::min<DWORD>(kSettleBaseMs + kSettlePerEventMs * m_nUnsettled, kSettleMs));
    m_nUnsettled = 0;
}

bool CInputSynthesizer::SendKey(char32_t key, bool bDown) {
    std::vector<INPUT> inputs;
    if (const SpecialKey* special = SpecialKeyOf(key)) {
        inputs.push_back(VirtualKeyInput(special->vk, special->bExtended, bDown));
        return Send(inputs);
    }
    if (key >= 0xE000 && key <= 0xF8FF) return key == kNullKey;  // other private-use values press nothing
    // A character the keyboard layout has a key for, with Shift at most, is
    // typed with that key (programs that watch WM_KEYDOWN see it); any other
    // as a Unicode character.
    const SHORT scan = key < 0x10000 ? VkKeyScanW(static_cast<WCHAR>(key)) : -1;
    const bool bShift = scan != -1 && (scan & 0x100) != 0;
    const bool bOtherShifts = scan != -1 && (scan & 0x600) != 0;
    if (scan == -1 || bOtherShifts) {
        AppendUnicode(&inputs, key, bDown);
        return Send(inputs);
    }
    const WORD vk = static_cast<WORD>(scan & 0xFF);
    const bool bShiftHeld = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0 || m_keys.count(0xE008) || m_keys.count(0xE050);
    const bool bAddShift = bDown && bShift && !bShiftHeld;
    if (bAddShift) inputs.push_back(VirtualKeyInput(VK_SHIFT, false, true));
    inputs.push_back(VirtualKeyInput(vk, false, bDown));
    if (bAddShift) inputs.push_back(VirtualKeyInput(VK_SHIFT, false, false));
    return Send(inputs);
}

bool CInputSynthesizer::KeyDown(char32_t key) {
    if (key == kNullKey) {
        ReleaseAll();
        return true;
    }
    if (!SendKey(key, true)) return false;
    m_keys.insert(key);
    return true;
}

bool CInputSynthesizer::KeyUp(char32_t key) {
    if (!m_keys.count(key)) return true;  // nothing to release
    m_keys.erase(key);
    return SendKey(key, false);
}

bool CInputSynthesizer::TypeText(const std::string& utf8) {
    std::u32string keys;
    if (!DecodeUtf8(utf8, &keys)) return false;
    bool bOk = true;
    std::set<char32_t> held;  // modifiers this text pressed
    for (char32_t key : keys) {
        if (key == kNullKey) {
            for (char32_t m : held) bOk = KeyUp(m) && bOk;
            held.clear();
        } else if (IsModifier(key)) {
            if (held.count(key)) {
                bOk = KeyUp(key) && bOk;
                held.erase(key);
            } else {
                bOk = KeyDown(key) && bOk;
                held.insert(key);
            }
        } else {
            bOk = SendKey(key, true) && SendKey(key, false) && bOk;
        }
    }
    for (char32_t m : held) bOk = KeyUp(m) && bOk;
    Settle();
    return bOk;
}

void CInputSynthesizer::ReleaseAll() {
    // Keys in the reverse order of their values; the order of release does
    // not matter to the keys WebDriver knows.
    const std::set<char32_t> keys = m_keys;
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) KeyUp(*it);
    const std::set<int> buttons = m_buttons;
    for (int button : buttons) ButtonUp(button);
    m_keys.clear();
    m_buttons.clear();
}

namespace {

// True when the window is on top at its own centre, or is the foreground.
bool IsInFront(HWND window) {
    if (GetForegroundWindow() == window) {
        RECT r = {0, 0, 0, 0};
        GetWindowRect(window, &r);
        const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        const HWND hit = WindowFromPoint(centre);
        return !hit || GetAncestor(hit, GA_ROOT) == window;
    }
    return false;
}

}  // namespace

bool BringWindowToFront(HWND window) {
    if (!window || !IsWindow(window)) return false;
    if (IsInFront(window)) return true;
    if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
    if (!SetForegroundWindow(window)) {
        // A process may take the foreground while it has just had input: a
        // press and release of Alt gives the server that right.
        INPUT alt[2] = {VirtualKeyInput(VK_MENU, false, true), VirtualKeyInput(VK_MENU, false, false)};
        SendInput(2, alt, sizeof(INPUT));
        SetForegroundWindow(window);
    }
    for (int waited = 0; waited < 300; waited += 10) {
        if (IsInFront(window)) return true;
        Sleep(10);
    }
    // Active but still below a window of its own application (Wine leaves
    // an activated window under the others at times): raised in the Z order
    // too, without waiting for its thread. Windows it owns stay above it.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    for (int waited = 0; waited < 700; waited += 10) {
        if (IsInFront(window)) return true;
        Sleep(10);
    }
    return false;
}
