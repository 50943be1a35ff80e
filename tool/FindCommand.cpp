// vintrel find FILE: reads a description saved by `probe --save`, finds the
// window again among the windows of the desktop, and, when the description
// holds an item, locates that item in it and prints its new rectangle.
// Exit code 0 found, 2 not found, 3 ambiguous.
#include <cstdio>

#include "client/ItemRequests.h"
#include "forms/ItemKinds.h"
#include "client/WindowMatcher.h"
#include "tool/CommandRegistry.h"
#include "tool/ToolOptions.h"

static void PrintCandidate(const WindowCandidate& c) {
    char classText[256] = {0};
    GetClassNameA(c.hwnd, classText, sizeof(classText));
    std::printf("  %p  score %d  class \"%s\"  agreed:", static_cast<void*>(c.hwnd), c.score, classText);
    for (const std::string& trait : c.agreed) std::printf(" %s;", trait.c_str());
    std::printf("\n");
}

static int RunFind(const std::vector<std::string>& args) {
    CToolOptions options(args);
    const std::string path = options.Has("file") ? options.Get("file")
                             : options.Positional().empty() ? std::string() : options.Positional()[0];
    if (path.empty()) return ToolFail("find wants the file that probe --save wrote");
    std::string error;
    std::vector<uint8_t> bytes;
    if (!LoadDescriptionFile(path, &bytes, &error)) return ToolFail(error);
    WindowDescriptionForm description;
    if (!DecodeWindowDescription(bytes, &description)) return ToolFail(path + " does not hold a window description");

    MatchResult match = FindRecordedWindow(description);
    std::printf("window: %s\n", MatchOutcomeText(match.outcome));
    for (const WindowCandidate& c : match.candidates) PrintCandidate(c);
    if (match.outcome == MatchOutcome::None) return 2;
    if (match.outcome == MatchOutcome::Ambiguous) return 3;
    RECT windowRect = {0, 0, 0, 0};
    GetWindowRect(match.hwnd, &windowRect);
    std::printf("found %p at (%ld, %ld)-(%ld, %ld) on the screen\n", static_cast<void*>(match.hwnd),
                static_cast<long>(windowRect.left), static_cast<long>(windowRect.top),
                static_cast<long>(windowRect.right), static_cast<long>(windowRect.bottom));
    if (!description.hasItem) return 0;

    CAgentClient client;
    if (!ConnectAgent(client, match.hwnd, &error)) return ToolFail(error);
    LocateResult found = LocateItem(client, match.hwnd, description.nItemKind,
                                    static_cast<uint32_t>(options.GetInt("arg", 0)), description.item,
                                    static_cast<uint32_t>(options.GetInt("param", 0)));
    if (found.status != AgentStatus::Ok) return ToolFail(std::string("locate failed: ") + AgentStatusText(found.status));
    if (!found.found) {
        std::printf("item \"%s\" (%s): not found\n", description.item.Text().c_str(),
                    ItemKindName(description.nItemKind).c_str());
        return 2;
    }
    const RECT& r = found.form.rect;
    std::printf("item \"%s\" (%s): rectangle (%ld, %ld)-(%ld, %ld)\n", description.item.Text().c_str(),
                ItemKindName(description.nItemKind).c_str(), static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right), static_cast<long>(r.bottom));
    return 0;
}

static ToolCommandRegistrar s_find({"find", "FILE [--param P] [--arg A]",
                                    "find a window recorded by probe --save again, and its item", RunFind});
