#include "tool/ToolOptions.h"

#include <cstdio>
#include <cstdlib>

#include "forms/ItemKinds.h"

CToolOptions::CToolOptions(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a[0] == '-' && a[1] == '-') {
            std::string value;
            if (i + 1 < args.size() && args[i + 1].compare(0, 2, "--") != 0) value = args[++i];
            m_named.emplace_back(a.substr(2), value);
        } else {
            m_positional.push_back(a);
        }
    }
}

bool CToolOptions::Has(const char* name) const {
    for (const auto& kv : m_named) {
        if (kv.first == name) return true;
    }
    return false;
}

std::string CToolOptions::Get(const char* name, const std::string& fallback) const {
    for (const auto& kv : m_named) {
        if (kv.first == name) return kv.second;
    }
    return fallback;
}

long CToolOptions::GetInt(const char* name, long fallback) const {
    std::string v = Get(name);
    if (v.empty()) return fallback;
    char* end = nullptr;
    long n = std::strtol(v.c_str(), &end, 0);
    return (end && *end == 0) ? n : fallback;
}

HWND CToolOptions::TargetWindow(std::string* error) const {
    HWND hwnd = nullptr;
    if (Has("hwnd")) {
        hwnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoull(Get("hwnd").c_str(), nullptr, 0)));
    } else if (Has("class") || Has("title")) {
        std::string cls = Get("class"), title = Get("title");
        hwnd = FindWindowA(cls.empty() ? nullptr : cls.c_str(), title.empty() ? nullptr : title.c_str());
    } else {
        hwnd = FindWindowA("VintrelSampleFrame", nullptr);
    }
    if (!hwnd || !IsWindow(hwnd)) {
        if (error) *error = "no target window (give --hwnd, --class or --title; is the application running?)";
        return nullptr;
    }
    if (Has("control")) {
        HWND child = GetDlgItem(hwnd, static_cast<int>(GetInt("control", 0)));
        if (!child) {
            if (error) *error = "the target window has no control with id " + Get("control");
            return nullptr;
        }
        hwnd = child;
    }
    return hwnd;
}

bool CToolOptions::Kind(const char* option, int* kind, std::string* error) const {
    const ItemKindInfo* info = ParseItemKind(Get(option));
    if (!info) {
        if (error) {
            *error = Has(option) ? "--" + std::string(option) + " '" + Get(option) + "' is no item kind (" + KindNamesText() + ")"
                                 : "give the item kind with --" + std::string(option) + " (" + KindNamesText() + ")";
        }
        return false;
    }
    *kind = info->nCode;
    return true;
}

bool ConnectAgent(CAgentClient& client, HWND target, std::string* error) {
    if (!client.Open(error)) return false;
    HookReport hook = client.Hook(target);
    if (!hook) {
        if (error) *error = "could not hook the target window's thread: " + hook.error;
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

int ToolFail(const std::string& message) {
    std::fprintf(stderr, "vintrel: %s\n", message.c_str());
    return 1;
}
