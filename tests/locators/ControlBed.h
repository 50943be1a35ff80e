// A frame with a menu bar and a report-view list view in the test's own
// thread, for driving the agent's item requests against real controls.
// Item i has the text "Item %04d" and image i % 4, except items 10, 20 and
// 30, which are all called "Twin".
#pragma once
#include <windows.h>
#include <string>

#include "common/Owned.h"

class CControlBed {
public:
    CControlBed();
    ~CControlBed();
    bool Create(int itemCount);
    void Fill(int itemCount);

    HWND Frame() const { return m_hwndFrame; }
    HWND List() const { return m_hwndList; }
    HWND Plain() const { return m_hwndPlain; }  // a top-level window without a menu bar
    HMENU Menu() const { return GetMenu(m_hwndFrame); }

    void SetImage(int index, int image);
    void Select(int index);  // adds to the selection; -1 clears it
    RECT ItemRect(int index, int part) const;
    RECT MenuItemScreenRect(int position) const;

private:
    COwnedWindow m_frame;
    COwnedWindow m_plain;
    HWND m_hwndFrame;
    HWND m_hwndList;
    HWND m_hwndPlain;
};
