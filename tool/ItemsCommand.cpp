// vintrel items: every item of a control (or of a window's accessibility
// tree) in one listing, as a table or, with --json, as one object with the
// window, the kind, the count and the items.
#include <cstdio>

#include <CLI/CLI.hpp>

#include "client/ItemSnapshot.h"
#include "forms/ItemKinds.h"
#include "tool/CommandRegistry.h"
#include "tool/ItemReport.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

nlohmann::json RectArray(const RECT& r) { return nlohmann::json::array({r.left, r.top, r.right, r.bottom}); }

bool IsTreeKind(int kind) { return kind == kItemKindTree; }
bool IsAccessibleKind(int kind) { return kind == kItemKindAccessible || kind == kItemKindScrollingAccessible; }
bool IsMenuKind(int kind) { return kind == kItemKindMenuBar || kind == kItemKindPopupMenu; }

struct ItemsCommand {
    CTargetOptions target;
    bool bAll = false;
    int nDepth = 8;
    long long nMax = -1;
    unsigned nArgument = 0;

    nlohmann::json ItemJson(int kind, const SnapshotItem& item) const {
        const RECT screen = ItemRectOnScreen(target.Window(), kind, item.rect);
        nlohmann::json json = {{"index", item.index},
                               {"text", Utf8(item.text)},
                               {"rect", RectArray(item.rect)},
                               {"screen", RectArray(screen)},
                               {"visible", item.visible},
                               {"selected", item.selected},
                               {"enabled", item.enabled}};
        if (kind == kItemKindListView) {
            nlohmann::json columns = nlohmann::json::array();
            for (const std::string& column : item.columns) columns.push_back(Utf8(column));
            json["columns"] = columns;
            json["state"] = item.state;
        }
        if (IsTreeKind(kind) || IsAccessibleKind(kind)) {
            json["level"] = item.level;
            json["parent"] = item.parent;
            json["expanded"] = item.expanded;
            json["hasChildren"] = item.hasChildren;
        }
        if (kind == kItemKindToolbar || IsMenuKind(kind)) {
            json["commandId"] = item.commandId;
            json["state"] = item.state;
        }
        if (IsMenuKind(kind) || kind == kItemKindToolbar) json["submenu"] = item.submenu;
        if (IsAccessibleKind(kind)) {
            json["role"] = Utf8(item.role);
            json["value"] = Utf8(item.value);
            json["state"] = item.state;
            json["childCount"] = item.childCount;
        }
        return json;
    }

    std::string ItemLine(int kind, const SnapshotItem& item) const {
        const RECT s = ItemRectOnScreen(target.Window(), kind, item.rect);
        char head[64];
        std::snprintf(head, sizeof(head), "%6d %s ", item.index, item.visible ? "shown " : "hidden");
        std::string line = head;
        if (IsTreeKind(kind) || IsAccessibleKind(kind)) line += std::string(static_cast<size_t>(item.level) * 2, ' ');
        line += "'" + item.text + "'";
        if (IsAccessibleKind(kind)) line += " " + item.role + (item.value.empty() ? "" : " = '" + item.value + "'");
        for (const std::string& column : item.columns) line += " | " + column;
        if (kind == kItemKindToolbar || IsMenuKind(kind)) line += " id " + std::to_string(item.commandId);
        if (item.submenu) line += " submenu";
        if (item.selected) line += " selected";
        if (item.expanded) line += " expanded";
        else if (item.hasChildren && IsTreeKind(kind)) line += " collapsed";
        if (!item.enabled) line += " disabled";
        line += "  " + RectText(item.rect.left, item.rect.top, item.rect.right, item.rect.bottom) + " screen " +
                RectText(s.left, s.top, s.right, s.bottom);
        return line;
    }

    int Run() {
        std::string error;
        if (!target.Resolve(&error) || !target.ResolveKind(&error)) return CToolOutput::Fail(error);
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        const int kind = target.Kind();
        SnapshotOptions options;
        options.allNodes = bAll;
        options.depth = nDepth;
        if (nMax >= 0) options.maxItems = static_cast<size_t>(nMax);
        options.factoryArgument = nArgument;
        const SnapshotResult snapshot = ReadItemSnapshot(client, target.Window(), kind, options);
        if (snapshot.status != AgentStatus::Ok) {
            return CToolOutput::Fail(std::string("items failed: ") + AgentStatusText(snapshot.status) +
                                     (snapshot.error.empty() ? "" : " (" + snapshot.error + ")"));
        }
        if (!snapshot.served) {
            return CToolOutput::Fail("no " + std::string(FindItemKind(kind)->pszNoun) + " in " +
                                     WindowText(target.Window()));
        }
        nlohmann::json items = nlohmann::json::array();
        std::string text = ItemKindName(kind) + " items of " + WindowText(target.Window()) + ": " +
                           std::to_string(snapshot.items.size()) + " of " + std::to_string(snapshot.total) + "\n";
        for (const SnapshotItem& item : snapshot.items) {
            items.push_back(ItemJson(kind, item));
            text += ItemLine(kind, item) + "\n";
        }
        const nlohmann::json result = {{"window", WindowJson(target.Window())},
                                       {"kind", ItemKindName(kind)},
                                       {"count", snapshot.items.size()},
                                       {"total", snapshot.total},
                                       {"items", items}};
        CToolOutput::Emit(result, text);
        return 0;
    }
};

ToolCommandRegistrar s_items({"items", "every item of a control, with texts, rectangles and state", [](CLI::App& app) {
                                  auto command = std::make_shared<ItemsCommand>();
                                  command->target.Add(app, true);
                                  app.add_flag("--all", command->bAll, "trees: every node, not only the visible ones");
                                  app.add_option("--depth", command->nDepth, "accessible trees: levels below the window (8)")
                                      ->check(CLI::Range(0, 1000));
                                  app.add_option("--max", command->nMax, "at most this many items")
                                      ->check(CLI::NonNegativeNumber);
                                  app.add_option("--arg", command->nArgument, "the factory's argument (a popup menu's handle)");
                                  return [command] { return command->Run(); };
                              }});

}  // namespace
