// Commands that make, end and describe sessions: new session, delete
// session, status, timeouts.
#pragma once
#include <nlohmann/json.hpp>

class CCommandContext;

nlohmann::json NewSession(CCommandContext& context);
nlohmann::json DeleteSession(CCommandContext& context);
nlohmann::json GetStatus(CCommandContext& context);
nlohmann::json GetTimeouts(CCommandContext& context);
nlohmann::json SetTimeouts(CCommandContext& context);
