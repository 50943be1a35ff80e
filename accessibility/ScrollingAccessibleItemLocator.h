// An accessible object that may lie outside the visible part of a scrolling
// window (kind 13). Found like kind 12, but off-screen objects count too and
// the walk stops at the first object that matches the recorded one in every
// field; the object is then brought into view by clicking the window's
// scroll-bar arrows. The agent does not click itself: it posts each click
// point to the controller's proxy window and waits, dispatching the
// thread's messages, until the controller sets the task-done or the cancel
// event (the names: ProxyNames in channel/MessageTable.h).
//
// Form: forms/ScrollingAccessibleItemForm.h.
#pragma once
#include "accessibility/AccessibleItemLocator.h"
#include "forms/ScrollingAccessibleItemForm.h"

class CScrollingAccessibleItemLocator : public CAccessibleItemLocator {
public:
    using Form = TItemForm<ScrollingAccessibleItemFields>;

    CScrollingAccessibleItemLocator();

    int GetDataSize() override;
    void ReadData(BYTE*& pCursor) override;
    void WriteData(BYTE*& pCursor) override;
    int GetItemCount(HWND hwndControl) override;
    HWND LoadItem(HWND hwndControl, int nIndex) override;
    bool FindItem(HWND hwndControl, DWORD dwParam) override;
    bool FindHostWindow(HWND* phwnd, const CWindowDescription* pInfo) override;
    bool IsChildVisible(IAccessible* pAcc, long nChildId) override;

    // The child count of the first child of the window's object; 0 when a
    // step fails.
    static int GetWindowSignature(HWND hwnd);
    // Every recorded field the walk compares (not the child identifier).
    bool IsExactMatch(const CAccessibleItemLocator& candidate) const;
    // Gathers descendants, off-screen ones included, until the first exact
    // match; false once it has been found.
    bool SearchDescendants(IAccessible* pAcc, CandidateStore& store, int& nLevel, int& nRoleCount);
    // Scrolls until the object lies inside the window; m_rect ends as the
    // last screen rectangle read.
    void ScrollIntoView(IAccessible* pAcc, long nChildId, HWND hwnd);
    // How far, and which way, the window must scroll: negative left (up),
    // positive right (down), 0 not at all.
    static int HorizontalOverhang(const RECT& rcWindow, const RECT& rcItem);
    static int VerticalOverhang(const RECT& rcWindow, const RECT& rcItem);
    // Posts one click to the proxy and waits for it; false when there is no
    // proxy window or the events cannot be had (then nothing is posted).
    bool RequestProxyClick(UINT nMsg, int x, int y);
    // Waits for the task-done or the cancel event, dispatching the thread's
    // messages meanwhile. False when the wait itself fails: it never spins.
    static bool WaitForProxyTask(HANDLE hTaskDone, HANDLE hCancel);

    Form MakeForm() const;

protected:
    std::unique_ptr<CAccessibleItemLocator> NewListedItem(int nSignature) const override;
    int ListingSignature(HWND hwndControl) const override;

    UINT m_nMouseClickMsg;
    UINT m_nPosWindowMsg;
    int m_nWindowSignature;

private:
    enum Direction { kLeft, kRight, kUp, kDown };
    void ScrollLoop(Direction direction, int nOverhang, IAccessible* pAcc, long nChildId, HWND hwnd);
};
