// An item as the tool reports it: its kind by name, its rectangle in the
// coordinates the kind reports (the control's client area, the menu bar's
// window, the screen for popup menus) and on the screen, its text and its
// description; and a window by handle, class, id and title.
#pragma once
#include <windows.h>

#include <string>

#include <nlohmann/json.hpp>

struct LocatorForm;

struct ItemReport {
    int nKind = 0;
    HWND hwnd = nullptr;  // the window the request went to
    int nIndex = -1;      // -1 when the request gives none
    RECT rect = {0, 0, 0, 0};
    std::string text;
    std::string description;
    int nCommand = 0;  // a toolbar button's command id

    // Fills kind, rectangle, text and description from a found form.
    void TakeForm(const LocatorForm& form);
    RECT ScreenRect() const;
    POINT ScreenCentre() const;
    nlohmann::json Json() const;
    // "listview item 3 'Item 0003' (the 'Item 0003' list item): client
    // (0, 20)-(200, 37), screen (...)"
    std::string Text() const;

private:
    // The text to show: the form's, or for a toolbar button (whose form
    // carries none) what the toolbar reports for it.
    std::string ShownText() const;
};

// The form's bytes as hex, for --form.
std::string FormHex(const LocatorForm& form);

nlohmann::json WindowJson(HWND hwnd);
// "0x0001002A SysListView32 id 1001 'title'"
std::string WindowText(HWND hwnd);
