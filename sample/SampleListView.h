// The sample's list view and the items behind it. Every change goes through
// the item model and is then shown, so reorders keep texts and images.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

struct SampleListItem {
    std::string text;
    int nImage;
    int nSize;
};

class CSampleListView {
public:
    bool Create(HWND parent, int id, const RECT& rect, bool icons, HIMAGELIST small, HIMAGELIST large);
    HWND Window() const { return m_hwnd; }

    void Fill(int count, const std::string& order);  // "forward", "reversed", "shuffled:SEED"
    void Reverse();
    void Shuffle(unsigned seed);
    void InsertFront(int count);
    bool SetImage(int index, int image);
    bool Rename(int index, const std::string& text);
    bool Select(int index);  // -1 clears the selection
    void SetIconView(bool icons);
    void ScrollToTop();

private:
    static SampleListItem MakeItem(int i);
    void Show();
    HWND m_hwnd = nullptr;
    std::vector<SampleListItem> m_items;
    int m_nInserted = 0;
};
