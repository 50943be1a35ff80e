// Sub-commands of the vintrel tool register themselves here, so each lives
// in its own source file. A command adds its options to its own parser and
// returns what runs it once the command line has been parsed.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

using ToolRunner = std::function<int()>;

struct ToolCommand {
    const char* name;
    const char* summary;  // one line
    std::function<ToolRunner(CLI::App& command)> setup;
};

class CCommandRegistry {
public:
    static CCommandRegistry& Instance();
    void Add(const ToolCommand& command);
    const std::vector<ToolCommand>& All() const { return m_commands; }

private:
    std::vector<ToolCommand> m_commands;
};

struct ToolCommandRegistrar {
    explicit ToolCommandRegistrar(const ToolCommand& command) { CCommandRegistry::Instance().Add(command); }
};
