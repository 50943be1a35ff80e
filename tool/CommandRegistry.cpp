#include "tool/CommandRegistry.h"

CCommandRegistry& CCommandRegistry::Instance() {
    static CCommandRegistry registry;
    return registry;
}

void CCommandRegistry::Add(const ToolCommand& command) { m_commands.push_back(command); }

const ToolCommand* CCommandRegistry::Find(const std::string& name) const {
    for (const ToolCommand& c : m_commands) {
        if (name == c.name) return &c;
    }
    return nullptr;
}
