// The client's forms of tree items, toolbar buttons, list-box items and
// status-bar panes, made by their kinds' fields from what is known.
#include "client/ControlItemForms.h"

namespace {
LocatorForm FromKnown(int kind, const KnownItem& known) {
    LocatorForm form;
    FormFromKnown(kind, known, &form);
    return form;
}
}  // namespace

LocatorForm TreeItemForm(const std::vector<std::string>& path, int image) {
    KnownItem known;
    known.path = path;
    known.image = image;
    return FromKnown(kItemKindTree, known);
}

LocatorForm ToolbarButtonForm(int command) {
    KnownItem known;
    known.command = command;
    return FromKnown(kItemKindToolbar, known);
}

LocatorForm ListBoxItemForm(const std::string& text, int index) {
    KnownItem known;
    known.text = text;
    known.index = index;
    return FromKnown(kItemKindListBox, known);
}

LocatorForm StatusBarPaneForm(int pane) {
    KnownItem known;
    known.pane = pane;
    return FromKnown(kItemKindStatusBar, known);
}
