// An object of a window's accessibility tree (kind 12): recorded by its
// texts, its depth below the window's object, its child identifier and
// child count, and found again by collecting every visible object down to
// the recorded depth and narrowing the candidates field by field.
// Rectangles are reported in client coordinates of the request's window.
//
// Form: forms/AccessibleItemForm.h.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <vector>

#include "accessibility/AccessibleInterface.h"
#include "common/ComOwned.h"
#include "forms/AccessibleItemForm.h"
#include "locators/ItemLocator.h"

class CAccessibleItemLocator : public CItemLocator {
public:
    using Form = TItemForm<AccessibleItemFields>;
    // The candidates of one search, owned; and lists of them while narrowing.
    using CandidateStore = std::vector<std::unique_ptr<CAccessibleItemLocator>>;
    using CandidateList = std::vector<CAccessibleItemLocator*>;

    // Holds one reference to pAcc (when not nullptr) for its lifetime.
    explicit CAccessibleItemLocator(IAccessible* pAcc = nullptr, long nChildId = 0);
    ~CAccessibleItemLocator() override;

    int GetDataSize() override;
    void ReadData(BYTE*& pCursor) override;
    void WriteData(BYTE*& pCursor) override;
    HWND LoadItem(HWND hwndControl, int nIndex) override;
    RECT ItemFromPoint(HWND hwndControl, int x, int y, int* pnIndex) override;
    bool FindItem(HWND hwndControl, DWORD dwParam) override;
    bool IsIndirectItem() override;
    const char* GetDescription() override;
    // The window's object and its descendants down to the page's depth,
    // in the order of a depth-first walk (the objects the kind finds).
    int ListItems(HWND hwndControl, CItemListPage& page) override;

    // Gathers the visible descendants of pAcc, down to the recorded level.
    virtual bool CollectDescendants(IAccessible* pAcc, CandidateStore& store, int& nLevel);
    // False when the object or element is marked off screen.
    virtual bool IsChildVisible(IAccessible* pAcc, long nChildId);

    // Copies what the object tells about itself into the fields. A failure
    // that raises an exception ends the fill at that step; the fields
    // already written keep their values.
    void FillFromObject(IAccessible* pAcc, long nChildId, bool bWithRect);
    // Depth-first search under pAcc for the visible object or element whose
    // screen rectangle is rc; sets m_nLevel and m_nRoleIndex when found.
    bool FindByRectangle(const RECT& rc, IAccessible* pAcc, TComPtr<IAccessible>& found, long& nFoundChild,
                         int& nLevel, int& nRoleCount, bool bCheckSelf);
    // The window's object and its collected descendants.
    void CollectCandidates(HWND hwnd, CandidateStore& store);

    // Narrowing steps: out receives the candidates of in whose field
    // (AccName, AccDescription, AccValue, AccLevel, AccChildCount,
    // AccChildId, AccRoleIndex) equals this locator's; true when one is left.
    bool FilterByField(const CandidateList& in, CandidateList& out, int nField) const;
    static bool FilterDistinctRects(const CandidateList& in, CandidateList& out);
    // The candidates whose role matches this locator's (role code or text).
    void FilterByRole(const CandidateList& in, CandidateList& out) const;

    Form MakeForm() const;

    char m_szName[kAccTextSize];
    char m_szRole[kAccTextSize];
    char m_szValue[kAccTextSize];
    char m_szAccDescription[kAccTextSize];
    int m_nRoleCode;
    int m_nVersion;
    int m_bUseRoleCode;
    int m_nChildCount;
    int m_nLevel;
    int m_nChildId;
    int m_nRoleIndex;
    long m_nObjectChildId;
    TComPtr<IAccessible> m_pAcc;
    char m_szPointRole[kAccTextSize];

protected:
    // A listed object's locator, as a recording of the kind makes it;
    // nSignature is what ListingSignature gave for the window.
    virtual std::unique_ptr<CAccessibleItemLocator> NewListedItem(int nSignature) const;
    virtual int ListingSignature(HWND hwndControl) const;

    void ApplyFields(const AccessibleItemFields& fields);
    void FillFields(AccessibleItemFields& fields) const;
    // Writes the walk's debug line for one object.
    static void DebugLevel(const char* pszName, int nLevel);

private:
    struct Listing;
    // Lists one object or element; returns its index in the listing.
    int ListObject(IAccessible* pHolder, long nChildId, int nLevel, int nParent, Listing& listing);
    // Lists the visible children of pAcc at nLevel, and theirs below them.
    void ListChildren(IAccessible* pAcc, int nLevel, int nParent, Listing& listing);
};
