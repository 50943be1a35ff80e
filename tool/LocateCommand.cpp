// vintrel locate: finds a recorded item again. The form is given either as
// the hex bytes of its serialised form (--form) or by its fields: --text,
// --index, --image for a list-view item, --position for a menu-bar item.
#include <cstdio>
#include <cstdlib>
#include <windows.h>
#include <commctrl.h>
#include <vector>

#include "client/ItemRequests.h"
#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static bool ParseHex(const std::string& hex, std::vector<uint8_t>* bytes) {
    bytes->clear();
    std::string digits;
    for (char c : hex) {
        if (c == ' ' || c == ':' || c == ',') continue;
        digits += c;
    }
    if (digits.size() % 2) return false;
    for (size_t i = 0; i < digits.size(); i += 2) {
        char* end = nullptr;
        std::string pair = digits.substr(i, 2);
        unsigned long v = std::strtoul(pair.c_str(), &end, 16);
        if (!end || *end) return false;
        bytes->push_back(static_cast<uint8_t>(v));
    }
    return true;
}

static void PrintForm(const LocatorForm& form) {
    std::vector<uint8_t> bytes(EncodedLocatorFormSize(form) + 16);
    CWireCursor w(bytes.data(), bytes.data() + bytes.size());
    EncodeLocatorForm(form, w);
    std::printf("form ");
    for (size_t i = 0; i < w.Offset(); ++i) std::printf("%02x", bytes[i]);
    std::printf("\n");
}

static int RunLocate(const std::vector<std::string>& args) {
    CToolOptions options(args);
    std::string error;
    HWND target = options.TargetWindow(&error);
    if (!target) return ToolFail(error);
    int kind = 0;
    if (!options.Kind("kind", &kind, &error)) return ToolFail(error);
    LocatorForm form;
    form.nKind = kind;
    if (options.Has("form")) {
        std::vector<uint8_t> bytes;
        if (!ParseHex(options.Get("form"), &bytes)) return ToolFail("--form wants hex bytes");
        CWireCursor r(bytes.data(), bytes.data() + bytes.size());
        if (!DecodeLocatorForm(kind, r, &form)) return ToolFail("--form is not a form of this kind");
    } else if (kind == kItemKindListView) {
        form = ListViewItemForm(options.Get("text"), static_cast<int>(options.GetInt("index", 0)),
                                static_cast<int>(options.GetInt("image", 0)));
    } else if (kind == kItemKindMenuBar) {
        form = MenuBarItemForm(static_cast<int>(options.GetInt("position", 0)), options.Get("text"));
    } else {
        return ToolFail("give the " + ItemKindName(kind) + " form with --form HEX");
    }
    CAgentClient client;
    if (!ConnectAgent(client, target, &error)) return ToolFail(error);
    LocateResult found = LocateItem(client, target, kind, static_cast<uint32_t>(options.GetInt("arg", 0)), form,
                                    static_cast<uint32_t>(options.GetInt("param", 0)));
    if (found.status != AgentStatus::Ok) return ToolFail(std::string("locate failed: ") + AgentStatusText(found.status));
    std::printf("%s found %d", ItemKindName(kind).c_str(), found.found ? 1 : 0);
    if (found.hasForm) {
        const RECT& r = found.form.rect;
        std::printf(" rect %ld %ld %ld %ld\n", static_cast<long>(r.left), static_cast<long>(r.top),
                    static_cast<long>(r.right), static_cast<long>(r.bottom));
        PrintForm(found.form);
    } else {
        std::printf("\n");
    }
    return found.found ? 0 : 2;
}

static ToolCommandRegistrar s_locate({"locate",
                                      "--kind KIND (--form HEX | --text T --index I --image N | --position P) [--param P] [--arg A]",
                                      "find a recorded item again and print its new rectangle", RunLocate});
