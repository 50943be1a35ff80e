// Every kind of the registry, against the sample application in a process of
// its own: an item found by a hit test is recorded by the info probe, its
// form goes through the controller's encoder and decoder unchanged, the
// agent finds it again at the rectangle the hit test gave, and a hit test
// at the middle of that rectangle names the same item. A kind added to the
// registry is walked here as soon as the sample shows a control of one of
// its classes; the kinds that serve any window, and the popup menu, which
// must be opened first, are placed below.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "client/ApplicationProcess.h"
#include "forms/ItemKinds.h"
#include "tests/accessibility/AccessibleSampleSuite.h"
#include "windows/WindowFunctions.h"

namespace {

// Where the sample shows an item of a kind.
struct KindPlace {
    HWND hitWindow = nullptr;  // the window the hit test goes to
    HWND window = nullptr;     // the window the probe and the locate go to
    uint32_t factoryArgument = 0;
    RECT area = {0, 0, 0, 0};  // screen rectangle searched for an item
};

std::string KindText(const ItemKindInfo& kind) { return std::string(kind.pszName) + " (" + std::to_string(kind.nCode) + ")"; }

class ItemKindRegistryTest : public CAccessibleSampleSuite<ItemKindRegistryTest> {
protected:
    void TearDown() override {
        SendMessageA(m_window, sample::kMsgAccClosePopup, 0, 0);
        CAccessibleSampleSuite::TearDown();
    }

    // A visible control of the sample whose class the kind serves.
    HWND ControlOfKind(const ItemKindInfo& kind) const {
        for (HWND w : WindowsOfProcess(s_app->ProcessId())) {
            if (!IsWindowVisible(w) || !(GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) continue;
            char szClass[257] = {0};
            GetWindowClassName(w, szClass, 256);
            const ItemKindInfo* pServing = FindItemKindOfClass(szClass);
            if (pServing && pServing->nCode == kind.nCode) return w;
        }
        return nullptr;
    }

    bool OpenPopup(RECT* pMenuArea, HWND* pMenuWindow) {
        const POINT at = ScreenOf(m_window, 420, 300);
        SendMessageA(m_window, sample::kMsgAccOpenPopup, at.x, at.y);
        for (int i = 0; i < 100; ++i) {
            HWND menu = FindTopWindowOfProcess(s_app->ProcessId(), "#32768");
            if (SendMessageA(m_window, sample::kMsgAccIsPopupOpen, 0, 0) == 1 && menu && IsWindowVisible(menu)) {
                Sleep(200);  // until it is drawn
                *pMenuWindow = menu;
                return GetWindowRect(menu, pMenuArea) != 0;
            }
            Sleep(20);
        }
        return false;
    }

    ::testing::AssertionResult Place(const ItemKindInfo& kind, KindPlace* place) {
        if (kind.nCode == kItemKindPopupMenu) {
            place->window = m_window;
            place->factoryArgument = static_cast<uint32_t>(SendMessageA(m_window, sample::kMsgAccGetPopupMenu, 0, 0));
            if (!OpenPopup(&place->area, &place->hitWindow)) return ::testing::AssertionFailure() << "the popup menu did not open";
            return ::testing::AssertionSuccess();
        }
        if (kind.nCode == kItemKindMenuBar) {
            // The frame's menu bar: the line above its client area.
            place->window = place->hitWindow = s_app->Frame();
            GetWindowRect(place->window, &place->area);
            POINT clientTop = {0, 0};
            ClientToScreen(place->window, &clientTop);
            place->area.bottom = clientTop.y;
            place->area.top = clientTop.y - GetSystemMetrics(SM_CYMENU);
            return ::testing::AssertionSuccess();
        }
        if (kind.nCode == kItemKindAccessible) {
            place->window = place->hitWindow = m_window;
        } else if (kind.nCode == kItemKindScrollingAccessible) {
            place->window = place->hitWindow = m_scroller;
        } else {
            place->window = place->hitWindow = ControlOfKind(kind);
        }
        if (!place->window) return ::testing::AssertionFailure() << "the sample shows no window for the kind";
        RECT client = {0, 0, 0, 0};
        GetClientRect(place->window, &client);
        place->area = ScreenRectOf(place->window, client);
        return ::testing::AssertionSuccess();
    }

    // A hit test with the cursor on the point, as a person points (the
    // accessible kinds take the cursor's position, not the request's).
    bool HitAt(const ItemKindInfo& kind, const KindPlace& place, POINT at, ItemAtResult* pHit) {
        if (!CProxyWindow::MoveCursor(at.x, at.y)) return false;
        *pHit = GetItemRect(*s_client, place.hitWindow, kind.nCode, at.x, at.y, place.factoryArgument);
        return pHit->status == AgentStatus::Ok;
    }

    // The first item a hit test finds, row by row across the area.
    ::testing::AssertionResult FindHit(const ItemKindInfo& kind, const KindPlace& place, POINT* pAt, ItemAtResult* pHit) {
        const int step = 6;
        for (int y = place.area.top + 2; y < place.area.bottom; y += step) {
            for (int x = place.area.left + 2; x < place.area.right; x += step) {
                ItemAtResult at;
                if (!HitAt(kind, place, {x, y}, &at)) return ::testing::AssertionFailure() << AgentStatusText(at.status);
                if (at.index != -1 && !IsRectEmpty(&at.rect)) {
                    *pAt = {x, y};
                    *pHit = at;
                    return ::testing::AssertionSuccess();
                }
            }
        }
        return ::testing::AssertionFailure() << "no item under any point of " << RectText(place.area);
    }
};

TEST_F(ItemKindRegistryTest, EveryKindIsHitRecordedCarriedAndFoundAgain) {
    size_t count = 0;
    const ItemKindInfo* kinds = AllItemKinds(&count);
    for (size_t k = 0; k < count; ++k) {
        const ItemKindInfo& kind = kinds[k];
        SCOPED_TRACE(KindText(kind));
        KindPlace place;
        ASSERT_TRUE(Place(kind, &place));

        POINT at = {0, 0};
        ItemAtResult hit;
        ASSERT_TRUE(FindHit(kind, place, &at, &hit));
        LocatorForm recorded;
        ASSERT_TRUE(Record(kind.nCode, place.window, at, &recorded, static_cast<uint32_t>(hit.index), place.factoryArgument));

        // The form, as a controller keeps it, comes back byte for byte.
        std::vector<uint8_t> bytes(EncodedLocatorFormSize(recorded));
        ASSERT_FALSE(bytes.empty());
        CWireCursor out(bytes.data(), bytes.data() + bytes.size());
        ASSERT_TRUE(EncodeLocatorForm(recorded, out));
        EXPECT_EQ(out.Offset(), bytes.size());
        LocatorForm decoded;
        CWireCursor in(bytes.data(), bytes.data() + bytes.size());
        ASSERT_TRUE(DecodeLocatorForm(kind.nCode, in, &decoded));
        EXPECT_EQ(in.Remaining(), 0u);
        decoded.nKind = kind.nCode;
        std::vector<uint8_t> again(EncodedLocatorFormSize(decoded));
        CWireCursor outAgain(again.data(), again.data() + again.size());
        ASSERT_TRUE(EncodeLocatorForm(decoded, outAgain));
        EXPECT_EQ(again, bytes) << "the decoded form writes other bytes";

        LocateResult found = Locate(kind.nCode, place.window, decoded, place.factoryArgument);
        ASSERT_EQ(found.status, AgentStatus::Ok) << AgentStatusText(found.status);
        ASSERT_TRUE(found.found) << "the recorded item was not found again (hit at " << at.x << "," << at.y << ")";
        if (kind.nCode == kItemKindPopupMenu) {
            // The popup-menu kind reports the item's menu path, not a rectangle.
            EXPECT_EQ(found.form.popupMenu.nItemId, static_cast<uint32_t>(hit.index));
            SendMessageA(m_window, sample::kMsgAccClosePopup, 0, 0);
            continue;
        }
        EXPECT_TRUE(EqualRect(&found.form.rect, &hit.rect))
            << "found at " << RectText(found.form.rect) << ", the hit test gave " << RectText(hit.rect);

        // The middle of what was found is the same item (the rectangle is
        // in client coordinates of the window for every kind but the popup
        // menu's).
        const POINT middle = Centre(ScreenRectOf(place.hitWindow, found.form.rect));
        ItemAtResult atMiddle;
        ASSERT_TRUE(HitAt(kind, place, middle, &atMiddle)) << AgentStatusText(atMiddle.status);
        EXPECT_EQ(atMiddle.index, hit.index) << "at " << middle.x << "," << middle.y;
    }
}

}  // namespace
