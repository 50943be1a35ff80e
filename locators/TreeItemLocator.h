// Item of a common-controls tree view (kind 8), captured as the control's
// own item record with its ancestry (texts and images, root first), and
// found again by a walk over the whole tree (text and image), by a search
// along the recorded path of ancestor texts, or as the selected item.
// Rectangles are in client coordinates of the tree view.
//
// Form: forms/TreeItemForm.h.
//
// Locate parameter: bits 0-2 strategy (4 the selected item; 1 path search
// first, then the whole-tree walk; else the walk first, then the path
// search); bits 8-10 rectangle part (1 the whole line, else the text).
//
// Item handles that come from outside (the info probe's item number, which
// for this kind is the low 32 bits of a tree item handle) are used only
// after the handle was met on a walk of the tree. Walks and the path search
// go no deeper than kMaxDepth levels.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "forms/TreeItemForm.h"
#include "locators/GrowArray.h"
#include "locators/ItemLocator.h"

class CTreeItemLocator : public CItemLocator {
public:
    using Form = TItemForm<TreeItemFields>;
    // A visited item and its record (text, image, state, children fetched);
    // true stops the walk.
    using MatchFunction = bool (CTreeItemLocator::*)(HTREEITEM hItem, const TVITEMA& fetched);

    static const int kFetchTextSize = TreeItemFields::kRecordedTextSize;
    static const int kMaxDepth = TreeItemFields::kMaxDepth;
    static const int kCandidateCapacity = 2;
    static const int kCandidateGrowBy = 4;

    CTreeItemLocator();
    ~CTreeItemLocator() override;

    int GetDataSize() override;
    void ReadData(BYTE*& pCursor) override;
    void WriteData(BYTE*& pCursor) override;
    int GetItemCount(HWND hwndControl) override;
    // nIndex: the low 32 bits of an item handle of this tree.
    HWND LoadItem(HWND hwndControl, int nIndex) override;
    // *pnIndex receives the low 32 bits of the hit item's handle.
    RECT ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) override;
    bool FindItem(HWND hwndControl, DWORD dwParam) override;
    const char* GetDescription() override;
    // Visible nodes (those whose ancestors are all expanded), or every node
    // for a page that asks for all, in the order they are shown.
    int ListItems(HWND hwndControl, CItemListPage& page) override;

    // The item of the tree whose handle has nHandle as its low 32 bits,
    // met on a walk over every item the tree holds (collapsed or not) down
    // to kMaxDepth levels; nullptr when there is none.
    static HTREEITEM FindItemByHandle(HWND hwndControl, uint32_t nHandle);

    void SearchPass(MatchFunction match, HWND hwndControl);
    bool WalkTree(MatchFunction match, HWND hwndControl, HTREEITEM hStart, int nDepth);
    bool MatchItem(HTREEITEM hItem, const TVITEMA& fetched);
    bool MatchNothing(HTREEITEM hItem, const TVITEMA& fetched);
    void SearchByPath(HWND hwndControl);
    bool CollectPathMatches(HWND hwndControl, HTREEITEM hParent, int nLevel, int nDepth, CGrowArray& candidates);

    TVITEMA m_item;
    std::vector<std::string> m_pathTexts;  // root first
    std::vector<int32_t> m_pathImages;
    int m_nPathCount;
    HTREEITEM m_hFallback;
    HTREEITEM m_hFound;

private:
    Form MakeForm() const;
    // LoadItem for an item of the tree already met on a walk.
    void LoadItemOfHandle(HWND hwndControl, HTREEITEM hItem);
    // The item's own record (text, state, images, children), leaving the
    // path as it is.
    void LoadRecord(HWND hwndControl, HTREEITEM hItem);
    void SetPath(size_t nCount);
    // Fetches the record of hItem with mask into item, its text (when
    // asked for) into m_szFetched, cut to 255 characters.
    bool Fetch(HWND hwndControl, HTREEITEM hItem, UINT mask, TVITEMA& item);

    char m_szFetched[kFetchTextSize];
};
