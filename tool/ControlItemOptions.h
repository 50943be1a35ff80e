// The locate command's options for the fields of tree items, toolbar
// buttons and status-bar panes:
//   tree       --path "Projects/Alpha/Notes" [--image N]
//   toolbar    --command ID
//   statusbar  --pane N
// --text, --index, --image and --position are the command's own; each
// kind's fields take from them what they need (forms/KnownItem.h).
#pragma once
#include <string>

#include <CLI/CLI.hpp>

#include "forms/KnownItem.h"

struct ControlItemOptions {
    std::string path;
    int nCommand = 0;
    int nPane = 0;

    void Add(CLI::App& app);
    // Puts the options into known (the path split at each '/').
    void Fill(KnownItem* known) const;
};
