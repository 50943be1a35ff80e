// vintrel: command-line controller over the agent client.
#include <cstdio>
#include <map>
#include <string>

#include <CLI/CLI.hpp>

#include "tool/CommandRegistry.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

int main(int argc, char** argv) {
    CLI::App app{"vintrel: finds, records and acts on the items of another application's windows.\n"
                 "Targets: a command that acts on a window names it with " + std::string(kTargetOptionsText) +
                 ".\nItem kinds: " +
                 KindNamesText() + " (or their codes)."};
    app.require_subcommand(1);
    bool bJson = false;
    app.add_flag("--json", bJson, "one JSON object per result, errors as {\"error\": {\"message\": ...}}");
    app.fallthrough();  // --json also after the command's name

    std::map<const CLI::App*, ToolRunner> runners;
    for (const ToolCommand& command : CCommandRegistry::Instance().All()) {
        CLI::App* sub = app.add_subcommand(command.name, command.summary);
        runners[sub] = command.setup(*sub);
    }
    // An unknown command is named as such, not taken for a missing one.
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--json") CToolOutput::SetJson(true);
        if (word.empty() || word[0] == '-') continue;
        bool bKnown = false;
        for (const ToolCommand& command : CCommandRegistry::Instance().All()) bKnown = bKnown || word == command.name;
        if (!bKnown) return CToolOutput::Fail("unknown command '" + word + "' (try 'vintrel --help')", 2);
        break;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        CToolOutput::SetJson(bJson);
        return CToolOutput::Fail(std::string(error.what()) + " (try 'vintrel --help')", 2);
    }
    CToolOutput::SetJson(bJson);
    for (const CLI::App* sub : app.get_subcommands()) {
        auto runner = runners.find(sub);
        if (runner != runners.end()) return runner->second();
    }
    return CToolOutput::Fail("no command given (try 'vintrel --help')", 2);
}
