// The locate command's options for tree items, toolbar buttons and
// status-bar panes (see ControlItemOptions.h).
#include "tool/ControlItemOptions.h"

void ControlItemOptions::Add(CLI::App& app) {
    app.add_option("--path", path, "a tree item's path of texts, root first, separated by '/'");
    app.add_option("--command", nCommand, "a toolbar button's command id");
    app.add_option("--pane", nPane, "a status-bar pane's number, from 0");
}

void ControlItemOptions::Fill(KnownItem* known) const {
    known->path.clear();
    size_t start = 0;
    for (size_t slash = path.find('/');; slash = path.find('/', start)) {
        known->path.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    known->command = nCommand;
    known->pane = nPane;
}
