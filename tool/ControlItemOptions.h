// The locate command's options for the forms of tree items, toolbar
// buttons, list-box items and status-bar panes:
//   tree       --path "Projects/Alpha/Notes" [--image N]
//   toolbar    --command ID
//   listbox    --text T [--index I]   (an empty text: by index)
//   statusbar  --pane N
// --text, --index and --image are the command's own, shared with the
// list-view kind.
#pragma once
#include <string>

#include <CLI/CLI.hpp>

#include "client/LocatorForm.h"

struct ControlItemOptions {
    std::string path;
    int nCommand = 0;
    int nPane = 0;

    void Add(CLI::App& app);
    // False when kind is none of the four.
    bool MakeForm(int kind, const std::string& text, int index, int image, LocatorForm* form) const;
};
