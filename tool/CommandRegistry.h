// Sub-commands of the vintrel tool register themselves here, so each lives
// in its own source file.
#pragma once
#include <string>
#include <vector>

struct ToolCommand {
    const char* name;
    const char* usage;    // arguments, for the help text
    const char* summary;  // one line
    int (*run)(const std::vector<std::string>& args);
};

class CCommandRegistry {
public:
    static CCommandRegistry& Instance();
    void Add(const ToolCommand& command);
    const ToolCommand* Find(const std::string& name) const;
    const std::vector<ToolCommand>& All() const { return m_commands; }

private:
    std::vector<ToolCommand> m_commands;
};

struct ToolCommandRegistrar {
    explicit ToolCommandRegistrar(const ToolCommand& command) { CCommandRegistry::Instance().Add(command); }
};
