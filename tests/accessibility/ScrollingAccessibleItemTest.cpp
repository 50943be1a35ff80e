// Accessible items brought into view (kind 13) in the sample's scrolling
// area, which runs in a process of its own. The agent asks this program's
// proxy window to click the area's scroll bars; the proxy records every
// point it was asked to click, and the tests check them against the click
// points the kind promises (measured from the area's window rectangle and
// the scroll-bar sizes) and where the items are after scrolling (from the
// sample's contract and its scroll offset).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "client/AgentMessages.h"
#include "client/AccessibleForms.h"
#include "forms/ItemKinds.h"
#include "tests/accessibility/AccessibleSampleSuite.h"

namespace {

const std::string kItemRole = std::string("list item (") + sample::kAccScrollerClass + ")";

int ItemIndex(const char* name, const char* value = "") {
    for (int i = 0; i < sample::kAccScrollItemCount; ++i) {
        if (lstrcmpA(sample::kAccScrollItems[i].pszName, name) == 0 &&
            lstrcmpA(sample::kAccScrollItems[i].pszValue, value) == 0) {
            return i;
        }
    }
    return -1;
}

std::string PointsText(const std::vector<POINT>& points) {
    std::string text;
    for (const POINT& p : points) text += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ") ";
    return text.empty() ? "none" : text;
}

// The nested request's listener: counts the replies and notes one that
// comes while the outer request is still in progress.
std::atomic<bool> g_bOuterDone(false);
std::atomic<int> g_nNestedReplies(0);
std::atomic<bool> g_bNestedEarly(false);
UINT g_nReturnMsg = 0;

LRESULT CALLBACK NestedListenerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_nReturnMsg) {
        if (!g_bOuterDone) g_bNestedEarly = true;
        ++g_nNestedReplies;
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A proxy window without events: counts the clicks posted to it.
std::atomic<int> g_nBareClicks(0);
UINT g_nClickMsg = 0;

LRESULT CALLBACK BareProxyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_nClickMsg) ++g_nBareClicks;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class ScrollingAccessibleItemTest : public CAccessibleSampleSuite<ScrollingAccessibleItemTest> {
protected:
    void SetUp() override {
        CAccessibleSampleSuite::SetUp();
        if (HasFatalFailure()) return;
        std::string error;
        ASSERT_TRUE(m_proxy.Start(&error)) << error;
        GetWindowRect(m_scroller, &m_w);
        m_cx = GetSystemMetrics(SM_CXVSCROLL);
        m_cy = GetSystemMetrics(SM_CYHSCROLL);
    }
    void TearDown() override {
        m_proxy.Stop();
        CAccessibleSampleSuite::TearDown();
    }

    // The form a recording of item i gives (every field the exact match compares).
    static LocatorForm Form(int i) {
        LocatorForm form = ScrollingAccessibleItemForm(sample::kAccScrollItems[i].pszName, kItemRole, 2, 0);
        form.scrollingAccessible.value = sample::kAccScrollItems[i].pszValue;
        form.scrollingAccessible.nRoleIndex = i + 1;  // walk order among the items
        form.scrollingAccessible.nWindowSignature = sample::kAccScrollItemCount;
        return form;
    }
    POINT Scroll() const {
        const LRESULT packed = SendMessageA(m_window, sample::kMsgAccGetScroll, 0, 0);
        return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
    }
    void ScrollTo(int x, int y) { ASSERT_EQ(SendMessageA(m_window, sample::kMsgAccScrollTo, x, y), 1); }
    // Item i now, in client coordinates of the area.
    RECT Now(int i) const {
        const POINT s = Scroll();
        const sample::AccScrollItem& item = sample::kAccScrollItems[i];
        return {item.left - s.x, item.top - s.y, item.right - s.x, item.bottom - s.y};
    }
    LocateResult Find(const LocatorForm& form) {
        LocateResult found = Locate(kItemKindScrollingAccessible, m_scroller, form, 0, 30000);
        EXPECT_EQ(found.status, AgentStatus::Ok) << AgentStatusText(found.status);
        return found;
    }
    void ExpectAt(const LocateResult& found, int i) {
        ASSERT_TRUE(found.found) << sample::kAccScrollItems[i].pszName;
        const RECT expected = Now(i);
        EXPECT_TRUE(EqualRect(&found.form.rect, &expected))
            << sample::kAccScrollItems[i].pszName << ": came " << RectText(found.form.rect) << ", expected "
            << RectText(expected);
    }

    // The click points of the four directions.
    POINT LeftPoint() const { return {m_w.left + static_cast<int>(1.5f * m_cx), m_w.bottom - m_cy / 2}; }
    POINT RightPoint() const { return {m_w.right - static_cast<int>(2.5f * m_cx), m_w.bottom - m_cy / 2}; }
    POINT UpPoint() const { return {m_w.right - m_cx / 2, m_w.top + static_cast<int>(1.5f * m_cy)}; }
    POINT DownPoint() const { return {m_w.right - m_cx / 2, m_w.bottom - static_cast<int>(2.5f * m_cy)}; }
    static bool Same(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

    CProxyWindow m_proxy;
    RECT m_w = {0, 0, 0, 0};
    int m_cx = 0, m_cy = 0;
};

TEST_F(ScrollingAccessibleItemTest, RecordsAnItemWithTheWindowSignature) {
    LocatorForm form;
    const int nearIndex = ItemIndex("Near");
    ASSERT_TRUE(Record(kItemKindScrollingAccessible, m_scroller, ScreenOf(m_scroller, 50, 30), &form));
    EXPECT_EQ(form.scrollingAccessible.name, "Near");
    EXPECT_EQ(form.scrollingAccessible.role, kItemRole);
    EXPECT_EQ(form.scrollingAccessible.nLevel, 2);
    EXPECT_EQ(form.scrollingAccessible.nRoleIndex, 1);
    EXPECT_EQ(form.scrollingAccessible.nWindowSignature, sample::kAccScrollItemCount);
    LocateResult found = Find(form);
    ExpectAt(found, nearIndex);
    EXPECT_EQ(found.form.scrollingAccessible.nWindowSignature, sample::kAccScrollItemCount);
    EXPECT_TRUE(m_proxy.Clicks().empty()) << PointsText(m_proxy.Clicks());
}

TEST_F(ScrollingAccessibleItemTest, MoreThan70PercentVisibleNeedsNoScrolling) {
    for (const char* name : {"Mostly Visible", "Seventy"}) {
        ExpectAt(Find(Form(ItemIndex(name))), ItemIndex(name));
        EXPECT_TRUE(m_proxy.Clicks().empty()) << name << ": " << PointsText(m_proxy.Clicks());
    }
    // 60 of 100 pixels inside: scrolled right, starting at the right point.
    const int sixty = ItemIndex("Sixty");
    ExpectAt(Find(Form(sixty)), sixty);
    const std::vector<POINT> clicks = m_proxy.Clicks();
    ASSERT_FALSE(clicks.empty());
    EXPECT_TRUE(Same(clicks.front(), RightPoint())) << PointsText(clicks);
    EXPECT_GT(Scroll().x, 0);
}

TEST_F(ScrollingAccessibleItemTest, OffScreenItemsAreFoundAndScrolledIntoView) {
    const int farRight = ItemIndex("Far Right");
    LocateResult found = Find(Form(farRight));
    ExpectAt(found, farRight);
    std::vector<POINT> clicks = m_proxy.Clicks();
    ASSERT_FALSE(clicks.empty());
    EXPECT_TRUE(Same(clicks.front(), RightPoint())) << PointsText(clicks);
    RECT client, both;
    GetClientRect(m_scroller, &client);
    EXPECT_TRUE(IntersectRect(&both, &client, &found.form.rect)) << "still outside: " << RectText(found.form.rect);

    m_proxy.ClearClicks();
    const int farDown = ItemIndex("Far Down");
    found = Find(Form(farDown));
    ExpectAt(found, farDown);
    clicks = m_proxy.Clicks();
    ASSERT_FALSE(clicks.empty());
    // Far Down lies left of the view now: first left, then down.
    EXPECT_TRUE(Same(clicks.front(), LeftPoint())) << PointsText(clicks);
    bool bDown = false;
    for (const POINT& p : clicks) bDown = bDown || Same(p, DownPoint()) || (p.x == DownPoint().x && p.y == DownPoint().y + m_cy);
    EXPECT_TRUE(bDown) << PointsText(clicks);
    EXPECT_TRUE(IntersectRect(&both, &client, &found.form.rect)) << "still outside: " << RectText(found.form.rect);
}

TEST_F(ScrollingAccessibleItemTest, ScrollsLeftAndUp) {
    ScrollTo(sample::kAccContentWidth, sample::kAccContentHeight);
    const POINT start = Scroll();
    const int nearIndex = ItemIndex("Near");
    ExpectAt(Find(Form(nearIndex)), nearIndex);
    const std::vector<POINT> clicks = m_proxy.Clicks();
    ASSERT_FALSE(clicks.empty());
    EXPECT_TRUE(Same(clicks.front(), LeftPoint())) << PointsText(clicks);
    bool bUp = false;
    for (const POINT& p : clicks) bUp = bUp || Same(p, UpPoint());
    EXPECT_TRUE(bUp) << PointsText(clicks);
    EXPECT_LT(Scroll().x, start.x);
    EXPECT_LT(Scroll().y, start.y);
}

TEST_F(ScrollingAccessibleItemTest, NoProgressRules) {
    // The proxy signals without clicking: nothing moves.
    m_proxy.SetClicking(false);
    const int farRight = ItemIndex("Far Right");
    ExpectAt(Find(Form(farRight)), farRight);
    // Right: a pass without progress, the point one arrow further out, one
    // click there, a second pass without progress ends the loop.
    POINT further = RightPoint();
    further.x += m_cx;
    std::vector<POINT> clicks = m_proxy.Clicks();
    ASSERT_EQ(clicks.size(), 3u) << PointsText(clicks);
    EXPECT_TRUE(Same(clicks[0], RightPoint()) && Same(clicks[1], further) && Same(clicks[2], further))
        << PointsText(clicks);

    // Left and up: one pass without progress ends each loop.
    ScrollTo(sample::kAccContentWidth, sample::kAccContentHeight);
    m_proxy.ClearClicks();
    const int nearIndex = ItemIndex("Near");
    ExpectAt(Find(Form(nearIndex)), nearIndex);
    clicks = m_proxy.Clicks();
    ASSERT_EQ(clicks.size(), 2u) << PointsText(clicks);
    EXPECT_TRUE(Same(clicks[0], LeftPoint()) && Same(clicks[1], UpPoint())) << PointsText(clicks);
}

TEST_F(ScrollingAccessibleItemTest, WithoutAProxyTheItemIsReportedWhereItIs) {
    m_proxy.Stop();
    ASSERT_EQ(FindWindowA(ProxyNames::kClassName, nullptr), nullptr);
    const int farRight = ItemIndex("Far Right");
    ExpectAt(Find(Form(farRight)), farRight);
    EXPECT_EQ(Scroll().x, 0);
}

TEST_F(ScrollingAccessibleItemTest, CancellationEndsEveryWait) {
    m_proxy.SetClicking(false);
    m_proxy.Cancel();
    // Each click is posted and not waited for: the request ends at once,
    // by the no-progress rules.
    m_proxy.SetObserver([](POINT) { Sleep(2000); });
    const DWORD start = GetTickCount();
    const int farRight = ItemIndex("Far Right");
    ExpectAt(Find(Form(farRight)), farRight);
    EXPECT_LT(GetTickCount() - start, 1500u);
    m_proxy.SetObserver(nullptr);
    m_proxy.ResetCancel();
}

TEST_F(ScrollingAccessibleItemTest, FormVersions) {
    m_proxy.SetClicking(false);
    const int one = ItemIndex("Dup", "one"), two = ItemIndex("Dup", "two");
    // Version 0: the value is neither compared nor read; the first "Dup"
    // matches exactly and ends the walk.
    LocatorForm form = Form(two);
    form.scrollingAccessible.nVersion = 0;
    ExpectAt(Find(form), one);
    // Version 1: the value tells them apart; the role index is not compared.
    form.scrollingAccessible.nVersion = 1;
    form.scrollingAccessible.nRoleIndex = 42;
    ExpectAt(Find(form), two);
    // Version 2: the role index is compared too.
    form = Form(two);
    ExpectAt(Find(form), two);
    // A value nobody has: the value step hands the role step's candidates
    // on, and after the name the role index decides.
    form.scrollingAccessible.value = "three";
    ExpectAt(Find(form), two);
    form.scrollingAccessible.nRoleIndex = one + 1;
    ExpectAt(Find(form), one);
    form = Form(two);
    // The child identifier is not part of the exact match.
    form.scrollingAccessible.nChildId = 5;
    ExpectAt(Find(form), two);
}

// A request that arrives while the agent waits for the proxy runs after the
// request in progress has finished, never inside it.
TEST_F(ScrollingAccessibleItemTest, ARequestArrivingDuringTheWaitRunsAfterwards) {
    g_bOuterDone = false;
    g_nNestedReplies = 0;
    g_bNestedEarly = false;
    const AgentMessages messages = AgentMessages::Register();
    g_nReturnMsg = messages.nAgentReturn;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = NestedListenerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VintrelNestedListener";
    RegisterClassA(&wc);
    COwnedWindow listener(CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          wc.hInstance, nullptr));
    ASSERT_TRUE(listener);
    const HWND target = m_scroller;
    const HWND reply = listener.Get();
    int nPosted = 0;
    m_proxy.SetObserver([&](POINT) {
        if (nPosted++ > 0) return;
        // A ping, posted while the agent waits for this click.
        const WPARAM envelope = (static_cast<WPARAM>(messages.nAgentReturn) << 16) |
                                (reinterpret_cast<ULONG_PTR>(reply) & 0xFFFF);
        PostMessageA(target, messages.nEnvelope, envelope, 0);
        Sleep(300);
    });
    const int farRight = ItemIndex("Far Right");
    LocateResult found = Find(Form(farRight));
    g_bOuterDone = true;
    ExpectAt(found, farRight);
    ASSERT_GT(nPosted, 0);
    for (DWORD start = GetTickCount(); g_nNestedReplies == 0 && GetTickCount() - start < 5000;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
    m_proxy.SetObserver(nullptr);
    EXPECT_EQ(g_nNestedReplies.load(), 1) << "the nested request was not run afterwards";
    EXPECT_FALSE(g_bNestedEarly.load()) << "the nested request ran while the outer one was in progress";
}

// When the events cannot be had (a named object of another type holds the
// name), no click is posted and the request ends instead of waiting.
TEST_F(ScrollingAccessibleItemTest, TheWaitNeverSpins) {
    m_proxy.Stop();
    g_nClickMsg = RegisterWindowMessageA(ProxyNames::kMouseClickMsg);
    g_nBareClicks = 0;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = ProxyNames::kClassName;
    RegisterClassA(&wc);  // registered by an earlier proxy of this process: fine
    COwnedWindow bare(CreateWindowExA(0, ProxyNames::kClassName, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      wc.hInstance, nullptr));
    ASSERT_TRUE(bare);
    SetWindowLongPtrA(bare.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BareProxyProc));
    const int farRight = ItemIndex("Far Right");
    for (const char* name : {ProxyNames::kTaskDoneEvent, ProxyNames::kCancelEvent}) {
        COwnedHandle squatter(CreateMutexA(nullptr, FALSE, name));
        ASSERT_TRUE(squatter) << name;
        const DWORD start = GetTickCount();
        LocateResult found = LocateItem(*s_client, m_scroller, kItemKindScrollingAccessible, 0, Form(farRight), SearchArgument(), 5000);
        ASSERT_EQ(found.status, AgentStatus::Ok) << name << ": " << AgentStatusText(found.status);
        ExpectAt(found, farRight);
        EXPECT_LT(GetTickCount() - start, 3000u) << name;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(g_nBareClicks.load(), 0) << "a click was posted although nobody could wait for it";
}

}  // namespace
