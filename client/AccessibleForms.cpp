#include "client/AccessibleForms.h"

#include <cstdio>

namespace {
void FillAccessible(AccessibleItemFields& f, const std::string& name, const std::string& role, int level,
                    int childCount, const std::string& description) {
    f.name = name;
    f.role = role;
    f.nLevel = level;
    f.nChildCount = childCount;
    f.description = description;
}
}  // namespace

LocatorForm PopupMenuItemForm(uint32_t commandId, bool useMenuBar) {
    LocatorForm form;
    form.nKind = kItemKindPopupMenu;
    form.popupMenu.nItemId = commandId;
    form.popupMenu.bUseMenuBar = useMenuBar ? 1 : 0;
    return form;
}

LocatorForm AccessibleItemForm(const std::string& name, const std::string& role, int level, int childCount,
                               const std::string& description) {
    LocatorForm form;
    form.nKind = kItemKindAccessible;
    FillAccessible(form.accessible, name, role, level, childCount, description);
    return form;
}

LocatorForm ScrollingAccessibleItemForm(const std::string& name, const std::string& role, int level, int childCount,
                                        const std::string& description) {
    LocatorForm form;
    form.nKind = kItemKindScrollingAccessible;
    FillAccessible(form.scrollingAccessible, name, role, level, childCount, description);
    return form;
}

std::string PopupPathText(const std::vector<PopupMenuStep>& path) {
    std::string text;
    for (const PopupMenuStep& step : path) {
        char buffer[40];
        std::snprintf(buffer, sizeof(buffer), "%ld@0x%08lX", static_cast<long>(static_cast<int32_t>(step.nPosition)),
                      static_cast<unsigned long>(step.hMenu));
        if (!text.empty()) text += ' ';
        text += buffer;
    }
    return text;
}
