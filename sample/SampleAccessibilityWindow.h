// The sample's accessibility window: a top-level window owned by the frame
// that serves its own accessibility tree, holds a scrolling area with
// objects that move as it scrolls, and opens a popup menu with nested
// submenus. Its contract is the last section of SampleProtocol.h.
#pragma once
#include <windows.h>

#include "common/ComOwned.h"
#include "sample/SampleAccessible.h"

class CSampleAccessibilityWindow {
public:
    ~CSampleAccessibilityWindow();
    // Creates the one window of the process, owned by hwndOwner; it lives
    // until the process ends.
    static bool CreateFor(HWND hwndOwner);
    bool Create(HWND hwndOwner);
    HWND Window() const { return m_host.hwnd; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ScrollerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleScroller(UINT message, WPARAM wParam, LPARAM lParam);

    void BuildTree();
    void BuildScrollerTree();
    static HMENU BuildPopupMenu();
    void ScrollTo(int x, int y);
    void UpdateScrollBars();
    void OnScroll(int nBar, WORD nCode);
    void OpenPopup(int x, int y);
    static void Paint(HDC hdc, CSampleAccessible* pObject, const SampleAccessibleHost& host, int nDepth);

    SampleAccessibleHost m_host;
    SampleAccessibleHost m_scrollerHost;
    TComPtr<CSampleAccessible> m_root;
    TComPtr<CSampleAccessible> m_scrollerRoot;
    HMENU m_hPopup = nullptr;
    bool m_bPopupOpen = false;
    bool m_bComReady = false;
};
