// The sample's items window: a top-level window owned by the frame with a
// tree view, a toolbar, a list box and a status bar, and the messages with
// which tests and the demo change them (sample/SampleProtocol.h).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

class CSampleItemsWindow {
public:
    bool Create(HWND owner);
    HWND Window() const { return m_hwnd; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateChildren();

    // Tree: node ids are the items' lParam; m_nodes[id] is the item.
    void ClearTree();
    HTREEITEM AddNode(int id, int parentId, const std::string& text, int image, bool bFirst, bool bLazy = false);
    void BuildDefaultTree(bool bReversed, bool bDropTopLevel);
    int BuildGeneratedTree(int count);
    int BuildChain(int depth);
    void OnItemExpanding(const NMTREEVIEWA* info);
    void CollapseAll(HTREEITEM hFirst);
    HTREEITEM Node(WPARAM id) const;

    void FillToolbar(bool bReversed);
    void FillListBox(int count);
    void SetStatusTexts(int generation);

    HWND m_hwnd = nullptr;
    HWND m_hwndTree = nullptr;
    HWND m_hwndToolbar = nullptr;
    HWND m_hwndList = nullptr;
    HWND m_hwndStatus = nullptr;
    std::vector<HTREEITEM> m_nodes;
    bool m_bReversed = false;
    int m_nListCount = 0;
};
