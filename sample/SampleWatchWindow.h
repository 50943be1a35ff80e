// The sample's watch window: a top-level window owned by the frame, below
// it, with tab controls, a window with a caret, an edit, a context menu, a
// modal dialog box, and hooks of the sample's own that count what they see
// (so that a controller can tell whether other hooks keep the chain). Its
// messages are in sample/SampleProtocol.h.
#pragma once
#include <windows.h>

#include "common/Owned.h"
#include "sample/SampleTabs.h"

class CSampleWatchWindow {
public:
    CSampleWatchWindow() = default;
    ~CSampleWatchWindow();
    CSampleWatchWindow(const CSampleWatchWindow&) = delete;
    CSampleWatchWindow& operator=(const CSampleWatchWindow&) = delete;

    // Creates the window below owner's window rectangle.
    // bOwnHooks: the application's own hooks on its thread (--own-hooks).
    bool Create(HWND owner, bool bOwnHooks);
    HWND Window() const { return m_hwnd; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CaretPadProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MenuOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK OwnGetMessageHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK OwnCallWndProcRetHook(int code, WPARAM wParam, LPARAM lParam);

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateChildren();
    HWND MakeMenuOwner();
    void RunContextMenu(bool bOwnerChild);
    void RunDialog();
    LRESULT OnCopyData(const COPYDATASTRUCT* data);

    HWND m_hwnd = nullptr;
    HWND m_hwndMenuOwner = nullptr;
    HWND m_hwndDialog = nullptr;
    bool m_bMenuOpen = false;
    CSampleTabs m_tabs;
    COwnedHook m_ownGetMessageHook;
    COwnedHook m_ownCallWndProcRetHook;
};
