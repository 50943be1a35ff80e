// Base of the suites that drive the sample's accessibility window in its
// own process: finds the window and its scrolling area, moves the cursor
// onto objects, records an item of a kind with the info probe (which takes
// the object under the cursor) and locates it again.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "client/InfoProbeRequest.h"
#include "client/ItemRequests.h"
#include "client/ProxyWindow.h"
#include "sample/SampleProtocol.h"
#include "tests/support/SharedSampleSuite.h"

template <class TSuite>
class CAccessibleSampleSuite : public CSharedSampleSuite<TSuite> {
public:
    static constexpr const char* kArguments = "--no-dialog";
    static constexpr size_t kRecordSize = CAgentClient::kDefaultRecordSize;

protected:
    typedef CSharedSampleSuite<TSuite> Base;

    void SetUp() override {
        Base::SetUp();
        if (this->HasFatalFailure()) return;
        m_window = FindAccessibilityWindow(Base::s_app->Frame());
        ASSERT_NE(m_window, nullptr) << "no accessibility window owned by the sample's frame";
        m_scroller = GetDlgItem(m_window, sample::kAccScrollerId);
        ASSERT_NE(m_scroller, nullptr);
        ASSERT_EQ(SendMessageA(m_window, sample::kMsgAccScrollTo, 0, 0), 1);
    }

    static HWND FindAccessibilityWindow(HWND frame) {
        HWND hwnd = nullptr;
        while ((hwnd = FindWindowExA(nullptr, hwnd, sample::kAccWindowClass, nullptr)) != nullptr) {
            if (GetWindow(hwnd, GW_OWNER) == frame) return hwnd;
        }
        return nullptr;
    }

    // Screen point of a point in the client area of window.
    static POINT ScreenOf(HWND window, int x, int y) {
        POINT p = {x, y};
        ClientToScreen(window, &p);
        return p;
    }
    // Screen rectangle of a rectangle in the client area of window.
    static RECT ScreenRectOf(HWND window, const RECT& r) {
        RECT s = r;
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&s), 2);
        return s;
    }
    static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    // Records the item of kind under the screen point, as a recorder does:
    // the cursor goes there and the info probe takes the object under it.
    ::testing::AssertionResult Record(int kind, HWND window, POINT screen, LocatorForm* form,
                                      uint32_t index = 0, uint32_t factoryArgument = 0) {
        if (!CProxyWindow::MoveCursor(screen.x, screen.y)) {
            return ::testing::AssertionFailure() << "the cursor did not reach " << screen.x << "," << screen.y;
        }
        ProbeResult probe = ProbeWindow(*Base::s_client, window, true, kind, index, factoryArgument);
        if (probe.status != AgentStatus::Ok) {
            return ::testing::AssertionFailure() << "probe: " << AgentStatusText(probe.status);
        }
        if (!probe.description.hasItem || probe.description.nItemKind != kind) {
            return ::testing::AssertionFailure() << "the probe carries no item of kind " << kind;
        }
        *form = probe.description.item;
        form->nKind = kind;
        return ::testing::AssertionSuccess();
    }

    LocateResult Locate(int kind, HWND window, const LocatorForm& form, uint32_t factoryArgument = 0,
                        DWORD timeoutMs = 20000) {
        return LocateItem(*Base::s_client, window, kind, factoryArgument, form, SearchArgument(), timeoutMs);
    }

    static std::string RectText(const RECT& r) {
        return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
               std::to_string(r.bottom) + ")";
    }

    HWND m_window = nullptr;
    HWND m_scroller = nullptr;
};
