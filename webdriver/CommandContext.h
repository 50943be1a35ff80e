// What a command handler is given: the session it acts on, the variables of
// its path ({sessionId}, {elementId}, {name}, ...), and the request's JSON
// body, with readers that turn a missing or mistyped field into "invalid
// argument".
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

class CSession;
class CSessionStore;

// A JSON number that is an integer within +-(2^53 - 1) (12.0 counts);
// false for anything else.
bool JsonSafeInteger(const nlohmann::json& value, int64_t* pOut);

class CCommandContext {
public:
    using PathParams = std::vector<std::pair<std::string, std::string>>;

    CCommandContext(CSessionStore& sessions, CSession* pSession, PathParams params, nlohmann::json body)
        : m_sessions(sessions), m_pSession(pSession), m_params(std::move(params)), m_body(std::move(body)) {}
    CCommandContext(const CCommandContext&) = delete;
    CCommandContext& operator=(const CCommandContext&) = delete;

    // The session of a session command (never null for them); throws
    // "invalid session id" for a server command that asks for one.
    CSession& Session() const;
    CSessionStore& Sessions() const { return m_sessions; }

    // The path variable of that name ("elementId" for {elementId}); empty
    // when the route has none.
    const std::string& Param(const char* name) const;

    // The body: a JSON object for POST, an empty object for GET and DELETE.
    const nlohmann::json& Body() const { return m_body; }
    bool Has(const char* field) const;
    // Each throws "invalid argument" naming the field when it is missing
    // or of another type (or out of range).
    const nlohmann::json& Require(const char* field) const;
    std::string RequireString(const char* field) const;
    bool RequireBool(const char* field) const;
    int64_t RequireInteger(const char* field, int64_t minimum, int64_t maximum) const;
    const nlohmann::json& RequireObject(const char* field) const;
    const nlohmann::json& RequireArray(const char* field) const;

private:
    CSessionStore& m_sessions;
    CSession* m_pSession;
    PathParams m_params;
    nlohmann::json m_body;
};
