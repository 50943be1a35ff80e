// Real input with SendInput, as a person gives it: the pointer moved to a
// screen point, buttons and keys pressed and released. Remembers what it
// pressed, so that a session can release everything (DELETE actions, the
// end of a session). Keys are WebDriver key values: a character, or one of
// the code points U+E000..U+E05D for the special keys (U+E007 Enter,
// U+E008 Shift, ...).
#pragma once
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "client/MouseInput.h"

class CInputSynthesizer {
public:
    CInputSynthesizer() = default;
    CInputSynthesizer(const CInputSynthesizer&) = delete;
    CInputSynthesizer& operator=(const CInputSynthesizer&) = delete;

    // The pointer. Buttons are WebDriver's: 0 left, 1 middle, 2 right.
    // Each returns false when the input was not taken.
    bool MoveTo(POINT screen);
    POINT Position() const;
    bool ButtonDown(int button);
    bool ButtonUp(int button);
    // Moves there and clicks (twice for bDouble) with the button. A single
    // click close to the last one waits out the double-click time first, so
    // that two clicks asked for one after the other stay two clicks.
    bool ClickAt(POINT screen, MouseButton button, bool bDouble);

    // One key value: a character or a special key's code point.
    bool KeyDown(char32_t key);
    bool KeyUp(char32_t key);
    // Types UTF-8 text into the window that has the keyboard focus, as
    // WebDriver's "send keys" does: characters are pressed and released;
    // Shift, Control, Alt and Meta stay down until pressed again or until
    // U+E000 (Null) or the end of the text releases them.
    bool TypeText(const std::string& utf8);

    // Releases every key and button this object holds down.
    void ReleaseAll();
    // The application whose windows take the input: after a click or a
    // typed text, and by Settle, the synthesizer waits until its thread has
    // taken what was sent, so that a command that follows sees the effect.
    void SetTargetProcess(HANDLE process) { m_process = process; }
    void Settle();
    bool AnythingPressed() const { return !m_keys.empty() || !m_buttons.empty(); }

    // WebDriver's special keys: the virtual key of U+E000..U+E05D (0 when
    // the code point is none of them or has no key, like U+E000).
    static WORD VirtualKeyOf(char32_t key);
    static bool IsModifier(char32_t key);
    // UTF-8 to code points; false (and nothing) for text that is not UTF-8.
    static bool DecodeUtf8(const std::string& utf8, std::u32string* pOut);

private:
    bool SendKey(char32_t key, bool bDown);
    // SendInput, counted for Settle.
    bool Send(std::vector<INPUT>& inputs);

    std::set<char32_t> m_keys;  // key values held down
    std::set<int> m_buttons;    // WebDriver buttons held down
    HANDLE m_process = nullptr;  // not owned
    unsigned m_nUnsettled = 0;   // input events sent since the last Settle
    bool m_bClicked = false;     // the last click, for ClickAt
    POINT m_lastClick = {0, 0};
    DWORD m_dwLastClickTick = 0;
};

// Brings a top-level window to the front so that typed keys reach it.
bool BringWindowToFront(HWND window);
