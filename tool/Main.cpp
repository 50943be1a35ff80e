// vintrel: command-line controller over the agent client.
#include <cstdio>
#include <string>
#include <vector>

#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static void PrintUsage() {
    std::printf("usage: vintrel <command> [options]\n\n"
                "Target window options: --hwnd H | --class NAME | --title TEXT, [--control ID]\n"
                "(default: the sample application's frame)\nItem kinds: %s (or their codes)\n\ncommands:\n",
                KindNamesText().c_str());
    for (const ToolCommand& c : CCommandRegistry::Instance().All()) {
        std::printf("  %-10s %s\n  %-10s   %s\n", c.name, c.usage, "", c.summary);
    }
}

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help") {
        PrintUsage();
        return argc < 2 ? 2 : 0;
    }
    const ToolCommand* command = CCommandRegistry::Instance().Find(argv[1]);
    if (!command) {
        std::fprintf(stderr, "vintrel: unknown command '%s' (try 'vintrel help')\n", argv[1]);
        return 2;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    return command->run(args);
}
