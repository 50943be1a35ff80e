// The watch window's tab controls: their tabs, their image list, the
// control whose tabs report no text, and the changes tests ask for.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

class CSampleTabs {
public:
    CSampleTabs() = default;
    ~CSampleTabs();
    CSampleTabs(const CSampleTabs&) = delete;
    CSampleTabs& operator=(const CSampleTabs&) = delete;

    // Creates the tab controls as children of parent, from the top at y.
    void Create(HWND parent, int y);
    // Every control back to its tabs at start.
    void Reset();

    bool SetImage(int controlId, int index, int image);
    bool Reverse(int controlId);
    bool SetCurrent(int controlId, int index);
    bool Rename(int controlId, int index, const std::string& text);

private:
    HWND Control(int controlId) const;
    void Fill(int controlId);

    HWND m_hwndParent = nullptr;
    HIMAGELIST m_hImages = nullptr;
};
