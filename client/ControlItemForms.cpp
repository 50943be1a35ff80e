#include "client/ControlItemForms.h"

LocatorForm TreeItemForm(const std::vector<std::string>& path, int image) {
    LocatorForm form;
    form.nKind = kItemKindTree;
    TreeItemFields& f = form.tree;
    f.mask = 0x1 | 0x2;  // text and image
    f.cchTextMax = TreeItemFields::kRecordedTextSize;
    f.iImage = image;
    if (!path.empty()) {
        f.text = path.back();
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            TreePathStep step;
            step.text = path[i];
            f.path.push_back(step);
        }
    }
    return form;
}

LocatorForm ToolbarButtonForm(int command) {
    LocatorForm form;
    form.nKind = kItemKindToolbar;
    form.toolbar.idCommand = command;
    return form;
}

LocatorForm ListBoxItemForm(const std::string& text, int index) {
    LocatorForm form;
    form.nKind = kItemKindListBox;
    form.listBox.text = text;
    form.listBox.nIndex = index;
    return form;
}

LocatorForm StatusBarPaneForm(int pane) {
    LocatorForm form;
    form.nKind = kItemKindStatusBar;
    form.statusBar.nIndex = pane;
    return form;
}
