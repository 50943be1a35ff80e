#include "tool/TargetOptions.h"

#include <cstdlib>

#include <CLI/CLI.hpp>

#include "client/AgentClient.h"
#include "client/ItemKindChoice.h"
#include "forms/ItemKinds.h"

void CTargetOptions::Add(CLI::App& command, bool bWithKind) {
    command.add_option("--hwnd", m_hwndText, "the target window's handle (hex or decimal)");
    command.add_option("--class", m_className, "the target: a top-level window of this class");
    command.add_option("--title", m_title, "the target: a top-level window with this title");
    command.add_option("--control", m_nControl, "narrows the target to its child with this control id");
    command.add_option("--at", m_atText, "a screen point X,Y: the window under it is the target");
    if (bWithKind) command.add_option("--kind", m_kindText, "the item kind (" + KindNamesText() + ", or a code)");
}

bool CTargetOptions::ParsePoint(const std::string& text, POINT* pPoint) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos) return false;
    char* pEnd = nullptr;
    const long x = std::strtol(text.c_str(), &pEnd, 10);
    if (pEnd != text.c_str() + comma) return false;
    const long y = std::strtol(text.c_str() + comma + 1, &pEnd, 10);
    if (*pEnd != '\0' || comma + 1 == text.size()) return false;
    pPoint->x = x;
    pPoint->y = y;
    return true;
}

bool CTargetOptions::Resolve(std::string* pError) {
    m_bHasPoint = !m_atText.empty();
    if (m_bHasPoint && !ParsePoint(m_atText, &m_point)) {
        *pError = "--at wants a screen point X,Y, not '" + m_atText + "'";
        return false;
    }
    const bool bNamed = !m_hwndText.empty() || !m_className.empty() || !m_title.empty();
    if (!bNamed && !m_bHasPoint) {
        *pError = "no target named: give " + std::string(kTargetOptionsText) + " ('vintrel windows --class NAME' lists "
                  "an application's windows)";
        return false;
    }
    HWND hwnd = nullptr;
    if (!m_hwndText.empty()) {
        char* pEnd = nullptr;
        const unsigned long long value = std::strtoull(m_hwndText.c_str(), &pEnd, 0);
        if (*pEnd != '\0') {
            *pError = "--hwnd wants a window handle, not '" + m_hwndText + "'";
            return false;
        }
        hwnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
    } else if (bNamed) {
        hwnd = FindWindowA(m_className.empty() ? nullptr : m_className.c_str(),
                           m_title.empty() ? nullptr : m_title.c_str());
    } else {
        hwnd = WindowAtPoint(m_point);
    }
    if (!hwnd || !IsWindow(hwnd)) {
        *pError = bNamed ? "no target window (give " + std::string(kTargetOptionsText) +
                               "; is the application running?)"
                         : "no window at " + m_atText;
        return false;
    }
    if (m_nControl >= 0) {
        HWND child = GetDlgItem(hwnd, m_nControl);
        if (!child) {
            *pError = "the target window has no control with id " + std::to_string(m_nControl) +
                      " ('vintrel windows' lists them)";
            return false;
        }
        hwnd = child;
    }
    m_hwnd = hwnd;
    return true;
}

bool CTargetOptions::ResolveKind(std::string* pError) {
    if (!m_kindText.empty()) {
        const ItemKindInfo* pKind = ParseItemKind(m_kindText);
        if (!pKind) {
            *pError = "--kind '" + m_kindText + "' is no item kind (" + KindNamesText() + ")";
            return false;
        }
        m_nKind = pKind->nCode;
        // A menu-bar item at a point belongs to the window that owns the bar.
        if (m_nKind == kItemKindMenuBar && (GetWindowLongA(m_hwnd, GWL_STYLE) & WS_CHILD)) {
            m_hwnd = GetAncestor(m_hwnd, GA_ROOT);
        }
    } else {
        HWND target = m_hwnd;
        m_nKind = ChooseItemKind(m_hwnd, m_bHasPoint ? &m_point : nullptr, &target);
        m_hwnd = target;
    }
    return KindFitsWindow(m_nKind, m_hwnd, pError);
}

bool ConnectAgent(CAgentClient& client, HWND target, std::string* pError) {
    if (!client.Open(pError)) return false;
    HookReport hook = client.Hook(target);
    if (!hook) {
        *pError = "could not hook the target window's thread: " + hook.error;
        return false;
    }
    return true;
}

std::string KindNamesText() {
    size_t count = 0;
    const ItemKindInfo* kinds = AllItemKinds(&count);
    std::string text;
    for (size_t i = 0; i < count; ++i) text += (i ? "|" : "") + std::string(kinds[i].pszName);
    return text;
}
