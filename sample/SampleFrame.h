// The sample's main window: menu bar, list view, nested panel, scroll bar,
// trackbar, a window of an Afx-style class, status bar; and the messages
// with which tests and the demo change it.
#pragma once
#include <windows.h>

#include <memory>

#include "sample/SampleCommandLine.h"
#include "sample/SampleImages.h"
#include "sample/SampleItemsWindow.h"
#include "sample/SampleListView.h"
#include "sample/SampleVirtualWindow.h"

class CSampleFrame {
public:
    bool Create(const SampleCommandLine& options);
    HWND Window() const { return m_hwnd; }
    HWND Dialog() const { return m_hwndDialog; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateChildren();
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void RememberClick(int source, int index, int button);

    SampleCommandLine m_options;
    HWND m_hwnd = nullptr;
    HWND m_hwndDialog = nullptr;
    HWND m_hwndStatus = nullptr;
    std::unique_ptr<CSampleImages> m_pImages;
    CSampleListView m_list;
    LRESULT m_lastClick = 0;
    CSampleItemsWindow m_items;
    CSampleVirtualWindow m_virtual;
};
