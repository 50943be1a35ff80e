// The sample's virtual window: a list view with LVS_OWNERDATA whose rows
// (a million by default) exist only as texts the window makes on demand,
// two owner-drawn list boxes (one with strings, one whose items are
// pointers to the window's own records), a list view inside a group box,
// and a toolbar whose button texts come from its string pool
// (sample/SampleProtocol.h).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "sample/SampleImages.h"

class CSampleVirtualWindow {
public:
    CSampleVirtualWindow() = default;
    CSampleVirtualWindow(const CSampleVirtualWindow&) = delete;
    CSampleVirtualWindow& operator=(const CSampleVirtualWindow&) = delete;

    bool Create(HWND owner, int rows, int lines);
    HWND Window() const { return m_hwnd; }

private:
    // What an item of the list box without strings points at.
    struct Swatch {
        std::string name;
        COLORREF colour;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateChildren();
    void CreateToolbar();
    void CreateGroupedList();

    // Owner-data list.
    void SetRows(int rows);
    // The row's text (column 0) or value (column 1), into buffer.
    void RowText(int row, int column, char* buffer, size_t size) const;
    int RowImage(int row) const;
    LRESULT OnNotify(const NMHDR* header);
    void FillDisplayInfo(LVITEMA& item);
    void FillDisplayInfo(LVITEMW& item);
    // The first row from start on (wrapping to the top when asked) whose text
    // equals wanted, or begins with it when bPartial; case-insensitive.
    int FindRow(const char* wanted, bool bPartial, int start, bool bWrap) const;
    LRESULT AnswerFind(int start, const char* wanted, UINT flags);

    // Owner-drawn list boxes.
    void FillLines(int count, bool bReversed);
    void DrawLine(const DRAWITEMSTRUCT* draw) const;

    HWND m_hwnd = nullptr;
    HWND m_hwndList = nullptr;
    HWND m_hwndStrings = nullptr;
    HWND m_hwndData = nullptr;
    HWND m_hwndToolbar = nullptr;
    std::unique_ptr<CSampleImages> m_pImages;
    int m_nRows = 0;
    int m_nOffset = 0;
    int m_nFindMode = 0;
    LRESULT m_nFindCount = 0;
    LRESULT m_nTextCount = 0;
    int m_nLines = 0;
    bool m_bLinesReversed = false;
    // Owned here; the list box without strings holds their addresses.
    std::vector<std::unique_ptr<Swatch>> m_swatches;
};
