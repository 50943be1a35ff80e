#include "tool/RecordedItemSearch.h"

#include "forms/ItemKinds.h"
#include "tool/TargetOptions.h"
#include "tool/ToolOutput.h"

int RecordedItemSearch::Run(const std::string& path, unsigned nParam, std::string* pError) {
    if (!LoadDescription(path, &description, nullptr, pError)) return 1;
    match = FindRecordedWindow(description);
    if (match.outcome == MatchOutcome::None) return 2;
    if (match.outcome == MatchOutcome::Ambiguous) return 3;
    if (!description.hasItem) return 0;
    CAgentClient client;
    if (!ConnectAgent(client, match.hwnd, pError)) return 1;
    located = LocateItem(client, match.hwnd, description.nItemKind, 0, description.item, nParam);
    if (located.status != AgentStatus::Ok) {
        *pError = std::string("locating the item failed: ") + AgentStatusText(located.status);
        return 1;
    }
    item.hwnd = match.hwnd;
    item.TakeForm(located.hasForm ? located.form : description.item);
    return located.found ? 0 : 2;
}

nlohmann::json RecordedItemSearch::Json(bool bWithForm) const {
    nlohmann::json result = {{"window", {{"match", MatchOutcomeText(match.outcome)}}}};
    if (match.hwnd) result["window"].update(WindowJson(match.hwnd));
    nlohmann::json candidates = nlohmann::json::array();
    for (const WindowCandidate& c : match.candidates) {
        candidates.push_back({{"hwnd", HandleText(c.hwnd)}, {"score", c.score}, {"agreed", c.agreed}});
    }
    result["window"]["candidates"] = candidates;
    if (description.hasItem) {
        nlohmann::json entry = {{"found", located.found}};
        if (located.found) {
            entry.update(item.Json());
        } else {
            entry["kind"] = ItemKindName(description.nItemKind);
            entry["text"] = Utf8(description.item.Text());
        }
        if (bWithForm && located.hasForm) entry["form"] = FormHex(located.form);
        result["item"] = entry;
    }
    return result;
}

std::string RecordedItemSearch::Text(bool bWithForm) const {
    std::string text = "window: " + std::string(MatchOutcomeText(match.outcome));
    if (match.hwnd) text += " " + WindowText(match.hwnd);
    for (const WindowCandidate& c : match.candidates) {
        text += "\n  candidate " + HandleText(c.hwnd) + " score " + std::to_string(c.score) + ", agreed:";
        for (const std::string& trait : c.agreed) text += " " + trait + ";";
    }
    if (description.hasItem && match.outcome == MatchOutcome::Match) {
        const std::string noun = FindItemKind(description.nItemKind) ? FindItemKind(description.nItemKind)->pszNoun : "item";
        if (located.found) {
            text += "\nfound " + item.Text();
        } else {
            text += "\nnot found: the " + noun + " '" + description.item.Text() + "'";
        }
        if (bWithForm && located.hasForm) text += "\n  form " + FormHex(located.form);
    }
    return text;
}
