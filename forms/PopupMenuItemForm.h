// Form of a popup-menu item (kind 6): the item's command identifier, whether
// the window's menu bar is searched instead of the given menu, the item's
// name (for display), and the path that leads to the item: for each step
// the position inside a menu and that menu's handle, root menu first.
//
// Behind the base: identifier (u32), use-menu-bar (u8), name (plain text
// field), n (i16), n steps of position (u32) and menu handle (u32).
#pragma once
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "forms/ItemFormBase.h"

struct PopupMenuStep {
    uint32_t nPosition = 0;
    uint32_t hMenu = 0;  // a menu handle of the target, as 32 bits
};

struct PopupMenuItemFields {
    static const size_t kMaxName = 255;
    // The count on the wire is an i16.
    static const size_t kMaxSteps = 0x7FFF;

    uint32_t nItemId = 0;
    uint8_t bUseMenuBar = 0;
    std::string name;
    std::vector<PopupMenuStep> path;

    std::string DisplayText() const { return name; }
    std::string Description() const { return name.empty() ? "a popup menu item" : "the '" + name + "' menu item"; }

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        if (!(io.Field(f.nItemId) && io.Field(f.bUseMenuBar) && io.Text(f.name, TextField::Plain))) return false;
        int16_t n = static_cast<int16_t>(f.path.size() > kMaxSteps ? kMaxSteps : f.path.size());
        return io.Field(n) && TransferSteps(io, f.path, n);
    }

private:
    // Reading: a count of 0 or below is an empty path; a count that the
    // bytes left cannot hold fails the cursor before anything is allocated.
    template <class TIo>
    static bool TransferSteps(TIo& io, std::vector<PopupMenuStep>& path, int16_t n) {
        path.clear();
        if (n <= 0) return true;
        if (static_cast<uint64_t>(n) * 8 > io.Cursor().Remaining()) {
            io.Cursor().Fail();
            return false;
        }
        path.resize(static_cast<size_t>(n));
        for (PopupMenuStep& step : path) {
            if (!io.Field(step.nPosition) || !io.Field(step.hMenu)) return false;
        }
        return true;
    }
    // Writing and measuring: the first n steps.
    template <class TIo>
    static bool TransferSteps(TIo& io, const std::vector<PopupMenuStep>& path, int16_t n) {
        for (int16_t i = 0; i < n; ++i) {
            if (!io.Field(path[static_cast<size_t>(i)].nPosition) || !io.Field(path[static_cast<size_t>(i)].hMenu)) {
                return false;
            }
        }
        return true;
    }
};
