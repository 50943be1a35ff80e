// Option parsing shared by the tool's commands: "--name value" pairs and
// the choice of the target window.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "client/AgentClient.h"

class CToolOptions {
public:
    explicit CToolOptions(const std::vector<std::string>& args);

    bool Has(const char* name) const;
    std::string Get(const char* name, const std::string& fallback = std::string()) const;
    long GetInt(const char* name, long fallback) const;
    const std::vector<std::string>& Positional() const { return m_positional; }

    // The window named by --hwnd (hex or decimal), or by --class / --title
    // (FindWindowA), optionally narrowed by --control ID to a child. Writes
    // a message to *error when there is none.
    HWND TargetWindow(std::string* error) const;
    // The item kind given by option (a name such as "listview", or its
    // code); writes a message to *error when it is missing or no kind.
    bool Kind(const char* option, int* kind, std::string* error) const;

private:
    std::vector<std::pair<std::string, std::string>> m_named;
    std::vector<std::string> m_positional;
};

// Opens the client and hooks the target's thread; *error says what failed,
// also when the hook was not really installed.
bool ConnectAgent(CAgentClient& client, HWND target, std::string* error);

// "listview|menubar|..." for the help texts.
std::string KindNamesText();

// Prints "vintrel: <message>" to stderr and returns the exit code 1.
int ToolFail(const std::string& message);
