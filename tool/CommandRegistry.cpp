#include "tool/CommandRegistry.h"

CCommandRegistry& CCommandRegistry::Instance() {
    static CCommandRegistry registry;
    return registry;
}

void CCommandRegistry::Add(const ToolCommand& command) { m_commands.push_back(command); }
