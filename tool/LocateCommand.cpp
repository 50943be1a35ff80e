// vintrel locate: finds an item again from what a controller knows of it:
// the hex bytes of its form (--form), or its fields (--text, --index,
// --image, --position, and those of tool/ControlItemOptions.h), of which
// each kind takes what it needs (forms/KnownItem.h).
#include <cstdlib>
#include <vector>

#include <CLI/CLI.hpp>

#include "client/ItemRequests.h"
#include "forms/ItemKinds.h"
#include "tool/CommandRegistry.h"
#include "tool/ControlItemOptions.h"
#include "tool/ItemReport.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

namespace {

bool ParseHex(const std::string& hex, std::vector<uint8_t>* bytes) {
    bytes->clear();
    std::string digits;
    for (char c : hex) {
        if (c != ' ' && c != ':' && c != ',') digits += c;
    }
    if (digits.size() % 2) return false;
    for (size_t i = 0; i < digits.size(); i += 2) {
        char* pEnd = nullptr;
        const std::string pair = digits.substr(i, 2);
        const unsigned long value = std::strtoul(pair.c_str(), &pEnd, 16);
        if (!pEnd || *pEnd) return false;
        bytes->push_back(static_cast<uint8_t>(value));
    }
    return true;
}

struct LocateCommand {
    CTargetOptions target;
    std::string formHex;
    std::string text;
    int nIndex = 0;
    int nImage = 0;
    int nPosition = 0;
    unsigned nParam = 0;
    unsigned nArgument = 0;
    bool bShowForm = false;
    ControlItemOptions controlItem;

    int Run() {
        std::string error;
        if (!target.Resolve(&error) || !target.ResolveKind(&error)) return CToolOutput::Fail(error);
        const int kind = target.Kind();
        LocatorForm form;
        form.nKind = kind;
        if (!formHex.empty()) {
            std::vector<uint8_t> bytes;
            if (!ParseHex(formHex, &bytes)) return CToolOutput::Fail("--form wants hex bytes");
            CWireCursor cursor(bytes.data(), bytes.data() + bytes.size());
            if (!DecodeLocatorForm(kind, cursor, &form)) {
                return CToolOutput::Fail("--form is not a form of a " + std::string(FindItemKind(kind)->pszNoun));
            }
        } else {
            KnownItem known;
            known.text = text;
            known.index = nIndex;
            known.image = nImage;
            known.position = nPosition;
            controlItem.Fill(&known);
            if (!FormFromKnown(kind, known, &form)) {
                return CToolOutput::Fail("give the " + std::string(FindItemKind(kind)->pszNoun) + "'s form with --form HEX");
            }
        }
        CAgentClient client;
        if (!ConnectAgent(client, target.Window(), &error)) return CToolOutput::Fail(error);
        LocateResult found = LocateItem(client, target.Window(), kind, nArgument, form, nParam);
        if (found.status != AgentStatus::Ok) return CToolOutput::Fail(std::string("locate failed: ") + AgentStatusText(found.status));
        ItemReport item;
        item.hwnd = target.Window();
        item.TakeForm(found.hasForm ? found.form : form);
        nlohmann::json result = {{"window", WindowJson(target.Window())}, {"found", found.found}, {"item", item.Json()}};
        std::string line = found.found ? item.Text() : "not found: " + item.Text().substr(0, item.Text().find(':'));
        if (bShowForm && found.hasForm) {
            result["form"] = FormHex(found.form);
            line += "\n  form " + FormHex(found.form);
        }
        CToolOutput::Emit(result, line);
        return found.found ? 0 : 2;
    }
};

ToolCommandRegistrar s_locate({"locate", "find an item again from its form or its fields", [](CLI::App& app) {
                                   auto command = std::make_shared<LocateCommand>();
                                   command->target.Add(app, true);
                                   app.add_option("--form", command->formHex, "the item's form as hex bytes");
                                   app.add_option("--text", command->text, "a list-view or list-box item's text (a menu item's, for display)");
                                   app.add_option("--index", command->nIndex, "a list-view or list-box item's index");
                                   app.add_option("--image", command->nImage, "a list-view or tree item's image");
                                   app.add_option("--position", command->nPosition, "a menu-bar item's position");
                                   command->controlItem.Add(app);
                                   app.add_option("--param", command->nParam, "the search argument (strategy, rectangle part)");
                                   app.add_option("--arg", command->nArgument, "the factory's argument");
                                   app.add_flag("--show-form", command->bShowForm, "print the found form's bytes");
                                   return [command] { return command->Run(); };
                               }});

}  // namespace
