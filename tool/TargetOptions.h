// The options that name a command's target and the item kind, shared by
// the commands: --hwnd, --class, --title, --control, --at X,Y and --kind.
// A command that needs a target fails when none of them names one.
#pragma once
#include <windows.h>

#include <string>

namespace CLI {
class App;
}
class CAgentClient;

// How a target is named, for help and error texts.
constexpr char kTargetOptionsText[] = "--hwnd H, --class NAME, --title TEXT or --at X,Y (and --control ID for a child)";

class CTargetOptions {
public:
    // Adds the target options (and --kind when bWithKind) to the command.
    void Add(CLI::App& command, bool bWithKind);

    // Finds the target window. With --at and no window named otherwise,
    // the window under the point (the deepest child, as a person sees it).
    // Fails, saying how to name one, when no option names a target.
    bool Resolve(std::string* pError);
    // The kind: --kind when given, otherwise chosen from the window's class
    // (and, at a point, the menu bar); checked against the window. May move
    // the target to the window that owns a menu bar.
    bool ResolveKind(std::string* pError);

    HWND Window() const { return m_hwnd; }
    int Kind() const { return m_nKind; }
    bool HasPoint() const { return m_bHasPoint; }
    POINT Point() const { return m_point; }
    // Sets the point from the --at text "X,Y"; false when it is not one.
    static bool ParsePoint(const std::string& text, POINT* pPoint);

private:
    std::string m_hwndText;
    std::string m_className;
    std::string m_title;
    int m_nControl = -1;
    std::string m_atText;
    std::string m_kindText;
    HWND m_hwnd = nullptr;
    int m_nKind = 0;
    bool m_bHasPoint = false;
    POINT m_point = {0, 0};
};

// Opens the client and hooks the target's thread; *pError says what failed,
// also when the hook was not really installed.
bool ConnectAgent(CAgentClient& client, HWND target, std::string* pError);

// "listview|menubar|..." for the help texts.
std::string KindNamesText();
