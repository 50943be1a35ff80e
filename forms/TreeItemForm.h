// Form of a tree item (kind 8): the 32-bit fields of the tree view's item
// record, the item's text and its ancestry (texts and images, root first).
//
// Behind the base: cChildren, iSelectedImage, cchTextMax, iImage (i32 each),
// the number of ancestors n (i32), mask, state, stateMask, lParam, hItem
// (u32 each; lParam and hItem are the record's low 32 bits on a 64-bit
// build), the item text (terminated text field), n ancestor texts
// (terminated text fields, root first), n ancestor images (i32, root first).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "forms/ItemFormBase.h"
#include "forms/KnownItem.h"

struct TreePathStep {
    std::string text;
    int32_t iImage = 0;
};

struct TreeItemFields {
    // Buffer in which the agent fetches an item's text: longer texts are cut
    // to 255 characters.
    static const int32_t kRecordedTextSize = 256;
    static const size_t kMaxText = 255;
    // Deepest tree the agent searches; a form with more ancestors is refused.
    static const int32_t kMaxDepth = 1000;
    // Each ancestor takes at least an empty text field and an image.
    static const size_t kMinStepBytes = 8;

    int32_t cChildren = 0;
    int32_t iSelectedImage = 0;
    int32_t cchTextMax = 0;
    int32_t iImage = 0;
    uint32_t mask = 0;
    uint32_t state = 0;
    uint32_t stateMask = 0;
    uint32_t lParam = 0;
    uint32_t hItem = 0;
    std::string text;
    std::vector<TreePathStep> path;  // root first; empty for a root item

    // By the path of texts and the item's image (text and image asked for).
    static bool FromKnown(const KnownItem& known, TreeItemFields& f) {
        f.mask = 0x1 | 0x2;  // text and image
        f.cchTextMax = kRecordedTextSize;
        f.iImage = known.image;
        f.text.clear();
        f.path.clear();
        if (!known.path.empty()) {
            f.text = known.path.back();
            for (size_t i = 0; i + 1 < known.path.size(); ++i) {
                TreePathStep step;
                step.text = known.path[i];
                f.path.push_back(step);
            }
        }
        return true;
    }

    std::string DisplayText() const { return text; }
    std::string Description() const { return text.empty() ? "a tree item" : "the '" + text + "' tree item"; }

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        int32_t n = static_cast<int32_t>(f.path.size());
        if (!(io.Field(f.cChildren) && io.Field(f.iSelectedImage) && io.Field(f.cchTextMax) && io.Field(f.iImage) &&
              io.Field(n) && io.Field(f.mask) && io.Field(f.state) && io.Field(f.stateMask) && io.Field(f.lParam) &&
              io.Field(f.hItem) && io.Text(f.text, TextField::Terminated))) {
            return false;
        }
        if (!SizePath(io, f.path, n)) return false;
        for (auto& step : f.path) {
            if (!io.Text(step.text, TextField::Terminated)) return false;
        }
        for (auto& step : f.path) {
            if (!io.Field(step.iImage)) return false;
        }
        return true;
    }

private:
    // Writing and measuring: the count is the path's own.
    template <class TIo>
    static bool SizePath(TIo&, const std::vector<TreePathStep>& path, int32_t n) {
        return n >= 0 && static_cast<size_t>(n) == path.size();
    }
    // Reading: a negative count, one above the deepest tree searched, or one
    // that the bytes left could not hold is refused before anything is
    // allocated.
    static bool SizePath(CFormReader& io, std::vector<TreePathStep>& path, int32_t n) {
        if (n < 0 || n > kMaxDepth || static_cast<uint64_t>(n) * kMinStepBytes > io.Cursor().Remaining()) {
            io.Cursor().Fail();
            return false;
        }
        path.assign(static_cast<size_t>(n), TreePathStep());
        return true;
    }
};
