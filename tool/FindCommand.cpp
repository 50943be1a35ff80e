// vintrel find FILE: finds the window and the item that `record` (or
// `probe --save`) kept in FILE again, and prints where they are now.
// Exit code 0 found, 2 not found, 3 the window is ambiguous.
#include <CLI/CLI.hpp>

#include "tool/CommandRegistry.h"
#include "tool/RecordedItemSearch.h"
#include "tool/ToolOutput.h"

namespace {

struct FindCommand {
    std::string path;
    unsigned nParam = 0;
    bool bShowForm = false;

    int Run() {
        RecordedItemSearch search;
        std::string error;
        const int code = search.Run(path, nParam, &error);
        if (code == 1) return CToolOutput::Fail(error);
        CToolOutput::Emit(search.Json(bShowForm), search.Text(bShowForm));
        return code;
    }
};

ToolCommandRegistrar s_find({"find", "find a recorded window and its item again", [](CLI::App& app) {
                                 auto command = std::make_shared<FindCommand>();
                                 app.add_option("file", command->path, "the record")->required();
                                 app.add_option("--param", command->nParam, "the search argument (strategy, rectangle part)");
                                 app.add_flag("--form", command->bShowForm, "also print the found form's bytes");
                                 return [command] { return command->Run(); };
                             }});

}  // namespace
