#include "locators/TreeItemLocator.h"

#include <climits>
#include <cstring>
#include "forms/SearchArgument.h"
#include "locators/ControlClass.h"
#include "locators/ItemListPage.h"

namespace {
const UINT kRecordMask = 0x7F;  // text, image, param, state, handle, selected image, children
const UINT kWalkMask = TVIF_TEXT | TVIF_IMAGE | TVIF_STATE | TVIF_CHILDREN;

HTREEITEM Next(HWND hwnd, UINT code, HTREEITEM hItem) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(hwnd, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(hItem)));
}

uint32_t Low32(HTREEITEM hItem) { return static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hItem)); }

// TVM_GETITEMRECT takes the whole item handle in the rectangle's first
// bytes (two of its words on a 64-bit build).
bool ItemRect(HWND hwnd, HTREEITEM hItem, bool bTextOnly, RECT* pRect) {
    std::memset(pRect, 0, sizeof(*pRect));
    std::memcpy(pRect, &hItem, sizeof(hItem));
    if (SendMessageA(hwnd, TVM_GETITEMRECT, bTextOnly ? 1 : 0, reinterpret_cast<LPARAM>(pRect))) return true;
    SetRectEmpty(pRect);
    return false;
}

// Every item below hStart (and hStart's following siblings), expanded or
// not, down to nDepth = kMaxDepth.
HTREEITEM FindHandleBelow(HWND hwnd, HTREEITEM hStart, uint32_t nHandle, int nDepth) {
    if (nDepth >= CTreeItemLocator::kMaxDepth) return nullptr;
    for (HTREEITEM h = hStart; h; h = Next(hwnd, TVGN_NEXT, h)) {
        if (Low32(h) == nHandle) return h;
        HTREEITEM hChild = Next(hwnd, TVGN_CHILD, h);
        if (hChild) {
            HTREEITEM hFound = FindHandleBelow(hwnd, hChild, nHandle, nDepth + 1);
            if (hFound) return hFound;
        }
    }
    return nullptr;
}

int ItemDepth(HWND hwnd, HTREEITEM hItem) {
    int nDepth = 0;
    for (HTREEITEM h = Next(hwnd, TVGN_PARENT, hItem); h && nDepth < CTreeItemLocator::kMaxDepth;
         h = Next(hwnd, TVGN_PARENT, h)) {
        ++nDepth;
    }
    return nDepth;
}
}  // namespace

CTreeItemLocator::CTreeItemLocator() : m_nPathCount(0), m_hFallback(nullptr), m_hFound(nullptr) {
    std::memset(&m_item, 0, sizeof(m_item));
    m_szFetched[0] = '\0';
}

CTreeItemLocator::~CTreeItemLocator() {}

void CTreeItemLocator::SetPath(size_t nCount) {
    m_pathTexts.assign(nCount, std::string());
    m_pathImages.assign(nCount, 0);
    m_nPathCount = static_cast<int>(nCount);
}

CTreeItemLocator::Form CTreeItemLocator::MakeForm() const {
    Form form;
    form.base = GetBaseForm();
    TreeItemFields& f = form.fields;
    f.cChildren = m_item.cChildren;
    f.iSelectedImage = m_item.iSelectedImage;
    f.cchTextMax = m_item.cchTextMax;
    f.iImage = m_item.iImage;
    f.mask = m_item.mask;
    f.state = m_item.state;
    f.stateMask = m_item.stateMask;
    // The wire carries the low 32 bits of the record's pointer-sized fields.
    f.lParam = static_cast<uint32_t>(m_item.lParam);
    f.hItem = Low32(m_item.hItem);
    if (m_item.pszText) f.text = m_item.pszText;
    f.path.resize(static_cast<size_t>(m_nPathCount));
    for (int i = 0; i < m_nPathCount; ++i) {
        f.path[i].text = m_pathTexts[i];
        f.path[i].iImage = m_pathImages[i];
    }
    return form;
}

int CTreeItemLocator::GetDataSize() {
    // The declared size reserves four bytes per ancestor more than the form
    // takes.
    return static_cast<int>(FormSize(MakeForm(), true)) + 4 * m_nPathCount;
}

void CTreeItemLocator::ReadData(BYTE*& pCursor) {
    Form form;
    if (!ReadFormAt(pCursor, form)) return;
    SetBaseForm(form.base);
    const TreeItemFields& f = form.fields;
    m_item.cChildren = f.cChildren;
    m_item.iSelectedImage = f.iSelectedImage;
    m_item.cchTextMax = f.cchTextMax;
    m_item.iImage = f.iImage;
    m_item.mask = f.mask;
    m_item.state = f.state;
    m_item.stateMask = f.stateMask;
    m_item.lParam = static_cast<LPARAM>(f.lParam);
    // Only a record value: a handle from a form is never given to the tree.
    m_item.hItem = reinterpret_cast<HTREEITEM>(static_cast<UINT_PTR>(f.hItem));
    // A tree never yields a text longer than 255 characters: a longer
    // recorded text is cut to what a fetch could give.
    std::string text = f.text;
    CutAnsiText(text, TreeItemFields::kMaxText);
    ReleaseText(m_item.pszText);
    m_item.pszText = AllocText(static_cast<short>(text.size() + 1));
    if (m_item.pszText) std::memcpy(m_item.pszText, text.c_str(), text.size() + 1);
    SetPath(f.path.size());
    for (size_t i = 0; i < f.path.size(); ++i) {
        m_pathTexts[i] = f.path[i].text;
        CutAnsiText(m_pathTexts[i], TreeItemFields::kMaxText);
        m_pathImages[i] = f.path[i].iImage;
    }
}

void CTreeItemLocator::WriteData(BYTE*& pCursor) { WriteFormAt(pCursor, MakeForm()); }

int CTreeItemLocator::GetItemCount(HWND hwndControl) {
    if (!IsControlOfKind(hwndControl, kItemKindTree)) return -1;
    return static_cast<int>(SendMessageA(hwndControl, TVM_GETCOUNT, 0, 0));
}

bool CTreeItemLocator::Fetch(HWND hwndControl, HTREEITEM hItem, UINT mask, TVITEMA& item) {
    std::memset(&item, 0, sizeof(item));
    item.mask = mask | TVIF_HANDLE;
    item.hItem = hItem;
    m_szFetched[0] = '\0';
    if (mask & TVIF_TEXT) {
        item.pszText = m_szFetched;
        item.cchTextMax = kFetchTextSize;
    }
    if (!SendMessageA(hwndControl, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return false;
    if (mask & TVIF_TEXT) {
        // A control may fill the whole buffer without a terminator, or point
        // the record at its own text: either way the text ends up here, cut.
        if (item.pszText && item.pszText != m_szFetched) lstrcpynA(m_szFetched, item.pszText, kFetchTextSize);
        m_szFetched[kFetchTextSize - 1] = '\0';
        item.pszText = m_szFetched;
    }
    return true;
}

HTREEITEM CTreeItemLocator::FindItemByHandle(HWND hwndControl, uint32_t nHandle) {
    if (nHandle == 0) return nullptr;
    return FindHandleBelow(hwndControl, Next(hwndControl, TVGN_ROOT, nullptr), nHandle, 0);
}

HWND CTreeItemLocator::LoadItem(HWND hwndControl, int nIndex) {
    if (!IsControlOfKind(hwndControl, kItemKindTree)) return nullptr;
    // A made-up handle given to the tree could crash it: only an item met
    // on a walk is used. Otherwise the locator stays as it was (no text, no
    // handle), which is what the reply then carries.
    HTREEITEM hItem = FindItemByHandle(hwndControl, static_cast<uint32_t>(nIndex));
    if (hItem) LoadItemOfHandle(hwndControl, hItem);
    return nullptr;
}

void CTreeItemLocator::LoadItemOfHandle(HWND hwndControl, HTREEITEM hItem) {
    std::vector<HTREEITEM> ancestors;  // parent first
    for (HTREEITEM h = Next(hwndControl, TVGN_PARENT, hItem); h && ancestors.size() < static_cast<size_t>(kMaxDepth);
         h = Next(hwndControl, TVGN_PARENT, h)) {
        ancestors.push_back(h);
    }
    const size_t n = ancestors.size();
    SetPath(n);
    for (size_t k = 0; k < n; ++k) {
        TVITEMA item;
        if (!Fetch(hwndControl, ancestors[k], TVIF_TEXT | TVIF_IMAGE, item)) continue;
        m_pathTexts[n - 1 - k] = m_szFetched;
        m_pathImages[n - 1 - k] = item.iImage;
    }
    LoadRecord(hwndControl, hItem);
}

void CTreeItemLocator::LoadRecord(HWND hwndControl, HTREEITEM hItem) {
    m_bSelected = 0;
    m_item.cchTextMax = kFetchTextSize;
    m_item.hItem = hItem;
    ReleaseText(m_item.pszText);
    m_item.pszText = AllocText(kFetchTextSize);
    if (!m_item.pszText) m_item.cchTextMax = 0;
    char* pszBuffer = m_item.pszText;
    m_item.mask = kRecordMask;
    m_item.hItem = hItem;
    // A tree view may report only the state bits the mask selects.
    m_item.stateMask |= TVIS_SELECTED | TVIS_EXPANDED;
    SendMessageA(hwndControl, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&m_item));
    if (pszBuffer) {
        if (m_item.pszText && m_item.pszText != pszBuffer) lstrcpynA(pszBuffer, m_item.pszText, kFetchTextSize);
        pszBuffer[kFetchTextSize - 1] = '\0';
    }
    m_item.pszText = pszBuffer;
    if (m_item.state & TVIS_SELECTED) m_bSelected = 1;
}

RECT CTreeItemLocator::ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) {
    *pnIndex = -1;
    RECT rect = {0, 0, 0, 0};
    if (!IsControlOfKind(hwndControl, kItemKindTree)) return rect;
    TVHITTESTINFO info;
    std::memset(&info, 0, sizeof(info));
    info.pt.x = x;
    info.pt.y = y;
    ScreenToClient(hwndControl, &info.pt);
    info.flags = TVHT_ONITEMICON | TVHT_ONITEMLABEL;
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(SendMessageA(hwndControl, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (hItem) {
        ItemRect(hwndControl, hItem, true, &rect);
        *pnIndex = static_cast<int>(Low32(hItem));
    }
    return rect;
}

bool CTreeItemLocator::FindItem(HWND hwndControl, DWORD dwParam) {
    m_hFound = nullptr;
    if (!IsControlOfKind(hwndControl, kItemKindTree)) return false;
    const SearchArgument search = SearchArgument::FromWire(dwParam);
    switch (search.strategy) {
    case SearchStrategy::kCurrent:
        m_hFound = Next(hwndControl, TVGN_CARET, nullptr);
        break;
    case SearchStrategy::kImageFirst:  // path first
        SearchPass(&CTreeItemLocator::MatchNothing, hwndControl);
        if (!m_hFound) SearchPass(&CTreeItemLocator::MatchItem, hwndControl);
        break;
    default:
        SearchPass(&CTreeItemLocator::MatchItem, hwndControl);
        if (!m_hFound) SearchPass(&CTreeItemLocator::MatchNothing, hwndControl);
        break;
    }
    if (!m_hFound) return false;
    SendMessageA(hwndControl, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(m_hFound));
    return ItemRect(hwndControl, m_hFound, search.part != ReportedPart::kWholeLine, &m_rect);
}

void CTreeItemLocator::SearchPass(MatchFunction match, HWND hwndControl) {
    m_hFallback = nullptr;
    m_hFound = nullptr;
    // A walk that matches nothing finds nothing: it is not run.
    if (match != &CTreeItemLocator::MatchNothing) WalkTree(match, hwndControl, Next(hwndControl, TVGN_ROOT, nullptr), 0);
    if (!m_hFound && !m_hFallback) SearchByPath(hwndControl);
}

bool CTreeItemLocator::WalkTree(MatchFunction match, HWND hwndControl, HTREEITEM hStart, int nDepth) {
    if (nDepth >= kMaxDepth) return false;
    for (HTREEITEM h = hStart; h; h = Next(hwndControl, TVGN_NEXT, h)) {
        TVITEMA item;
        if (!Fetch(hwndControl, h, kWalkMask, item)) continue;
        if ((this->*match)(h, item)) return true;
        // Children that the tree creates only on expansion are not visited.
        if (item.cChildren != 0 && item.cChildren != I_CHILDRENCALLBACK) {
            HTREEITEM hChild = Next(hwndControl, TVGN_CHILD, h);
            if (hChild && WalkTree(match, hwndControl, hChild, nDepth + 1)) return true;
        }
    }
    return false;
}

bool CTreeItemLocator::MatchItem(HTREEITEM hItem, const TVITEMA& fetched) {
    const char* pszWanted = m_item.pszText ? m_item.pszText : "";
    if (lstrcmpA(fetched.pszText ? fetched.pszText : "", pszWanted) != 0) return false;
    if (fetched.iImage == m_item.iImage) {
        m_hFound = hItem;
        return true;
    }
    m_hFallback = hItem;
    return false;
}

bool CTreeItemLocator::MatchNothing(HTREEITEM, const TVITEMA&) { return false; }

void CTreeItemLocator::SearchByPath(HWND hwndControl) {
    CGrowArray candidates(kCandidateCapacity, kCandidateGrowBy);
    for (int s = 0; s < m_nPathCount && candidates.GetCount() == 0; ++s) {
        CollectPathMatches(hwndControl, nullptr, s, 0, candidates);
    }
    m_hFound = nullptr;
    for (int i = 0; i < candidates.GetCount(); ++i) {
        HTREEITEM hParent = reinterpret_cast<HTREEITEM>(candidates.GetAt(i));
        m_hFallback = nullptr;
        m_hFound = nullptr;
        // Only the candidate's own subtree: the item is looked for below the
        // recorded parent, not in the parent itself or beside it.
        HTREEITEM hChild = Next(hwndControl, TVGN_CHILD, hParent);
        if (hChild) WalkTree(&CTreeItemLocator::MatchItem, hwndControl, hChild, ItemDepth(hwndControl, hParent) + 1);
        if (m_hFound || m_hFallback) {
            if (!m_hFound) m_hFound = m_hFallback;
            return;
        }
    }
    m_hFound = nullptr;
}

bool CTreeItemLocator::CollectPathMatches(HWND hwndControl, HTREEITEM hParent, int nLevel, int nDepth,
                                          CGrowArray& candidates) {
    if (nDepth >= kMaxDepth || nLevel < 0 || nLevel >= m_nPathCount) return false;
    if (hParent) {
        TVITEMA parent;
        if (Fetch(hwndControl, hParent, TVIF_STATE, parent) && !(parent.state & TVIS_EXPANDED)) {
            SendMessageA(hwndControl, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hParent));
        }
    }
    bool bAppended = false;
    HTREEITEM c = hParent ? Next(hwndControl, TVGN_CHILD, hParent) : Next(hwndControl, TVGN_ROOT, nullptr);
    for (; c; c = Next(hwndControl, TVGN_NEXT, c)) {
        TVITEMA item;
        if (!Fetch(hwndControl, c, TVIF_TEXT | TVIF_IMAGE, item)) continue;
        if (lstrcmpA(m_szFetched, m_pathTexts[static_cast<size_t>(nLevel)].c_str()) != 0) continue;
        if (nLevel == m_nPathCount - 1) {
            if (candidates.Add(reinterpret_cast<ULONG_PTR>(c)) >= 0) bAppended = true;
        } else {
            CollectPathMatches(hwndControl, c, nLevel + 1, nDepth + 1, candidates);
        }
    }
    return bAppended;
}

const char* CTreeItemLocator::GetDescription() { return SetDescription(MakeForm().fields.Description()); }

int CTreeItemLocator::ListItems(HWND hwndControl, CItemListPage& page) {
    if (!IsControlOfKind(hwndControl, kItemKindTree)) return -1;
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwndControl, &client);
    // Pre-order, without recursion: the open ancestors of the current node
    // with their indexes, texts and images (a tree may be kMaxDepth levels
    // deep); each node's recorded path comes from them, not from asking
    // the tree again for every ancestor of every node.
    struct Open {
        HTREEITEM hItem;
        int nIndex;
    };
    std::vector<Open> ancestors;
    std::vector<TreePathStep> path;
    int nIndex = 0;
    for (HTREEITEM h = Next(hwndControl, TVGN_ROOT, nullptr); h && nIndex < INT_MAX;) {
        const int nThis = nIndex++;
        const bool bWanted = page.Wants(nThis);
        // A fresh locator per item: its form is the one a recording makes.
        CTreeItemLocator item;
        item.m_nKind = m_nKind;
        TreePathStep step;
        bool bExpanded = false;
        int32_t cChildren = 0;
        if (bWanted) {
            item.SetPath(path.size());
            for (size_t k = 0; k < path.size(); ++k) {
                item.m_pathTexts[k] = path[k].text;
                item.m_pathImages[k] = path[k].iImage;
            }
            item.LoadRecord(hwndControl, h);
            bExpanded = (item.m_item.state & TVIS_EXPANDED) != 0;
            cChildren = item.m_item.cChildren;
            if (item.m_item.pszText) step.text = item.m_item.pszText;
            step.iImage = item.m_item.iImage;
        } else {
            TVITEMA record;
            if (Fetch(hwndControl, h, TVIF_TEXT | TVIF_IMAGE | TVIF_STATE | TVIF_CHILDREN, record)) {
                bExpanded = (record.state & TVIS_EXPANDED) != 0;
                cChildren = record.cChildren;
                step.text = m_szFetched;
                step.iImage = record.iImage;
            }
        }
        // Nothing is expanded for the listing: a collapsed node's children
        // are asked for only when every node is wanted.
        const bool bDescend = (bExpanded || page.AllNodes()) && ancestors.size() + 1 < static_cast<size_t>(kMaxDepth);
        HTREEITEM hChild = bDescend || (bWanted && cChildren == 0) ? Next(hwndControl, TVGN_CHILD, h) : nullptr;
        if (bWanted) {
            ItemListEntry entry;
            entry.nIndex = nThis;
            entry.nLevel = static_cast<int32_t>(ancestors.size());
            entry.nParent = ancestors.empty() ? -1 : ancestors.back().nIndex;
            RECT rect;
            const bool bShown = ItemRect(hwndControl, h, true, &rect);
            entry.SetRect(rect);
            RECT shown;
            entry.dwFlags = ItemListEntry::kEnabled;
            if (bShown && IntersectRect(&shown, &rect, &client)) entry.dwFlags |= ItemListEntry::kVisible;
            if (item.m_bSelected) entry.dwFlags |= ItemListEntry::kSelected;
            if (bExpanded) entry.dwFlags |= ItemListEntry::kExpanded;
            if (cChildren != 0 || hChild) entry.dwFlags |= ItemListEntry::kHasChildren;
            entry.dwState = item.m_item.state;
            entry.text = step.text;
            page.Add(entry, item);
        }
        if (hChild && bDescend) {
            ancestors.push_back({h, nThis});
            path.push_back(step);
            h = hChild;
            continue;
        }
        HTREEITEM hNext = Next(hwndControl, TVGN_NEXT, h);
        while (!hNext && !ancestors.empty()) {
            hNext = Next(hwndControl, TVGN_NEXT, ancestors.back().hItem);
            ancestors.pop_back();
            path.pop_back();
        }
        h = hNext;
    }
    return nIndex;
}
