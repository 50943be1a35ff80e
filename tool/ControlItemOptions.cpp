#include "tool/ControlItemOptions.h"

#include <vector>

#include "client/ControlItemForms.h"

void ControlItemOptions::Add(CLI::App& app) {
    app.add_option("--path", path, "a tree item's path of texts, root first, separated by '/'");
    app.add_option("--command", nCommand, "a toolbar button's command id");
    app.add_option("--pane", nPane, "a status-bar pane's number, from 0");
}

bool ControlItemOptions::MakeForm(int kind, const std::string& text, int index, int image, LocatorForm* form) const {
    switch (kind) {
    case kItemKindTree: {
        std::vector<std::string> texts;
        size_t start = 0;
        for (size_t slash = path.find('/');; slash = path.find('/', start)) {
            texts.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
            if (slash == std::string::npos) break;
            start = slash + 1;
        }
        *form = TreeItemForm(texts, image);
        return true;
    }
    case kItemKindToolbar:
        *form = ToolbarButtonForm(nCommand);
        return true;
    case kItemKindListBox:
        *form = ListBoxItemForm(text, index);
        return true;
    case kItemKindStatusBar:
        *form = StatusBarPaneForm(nPane);
        return true;
    default:
        return false;
    }
}
