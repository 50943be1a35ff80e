// The routing of WebDriver requests: method and path pattern to a handler.
// Patterns name their variables in braces ("/session/{sessionId}/element/
// {elementId}/click"). The rows themselves are in CommandTable.cpp.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "webdriver/CommandContext.h"

// Returns the answer's "value" (nullptr for null) or throws CWebDriverError.
using CommandHandler = std::function<nlohmann::json(CCommandContext& context)>;

enum class RouteScope {
    Server,   // runs without a session (new session, status)
    Session,  // the path begins /session/{sessionId}; the session must exist
    Immediate,  // answered on the network thread at once, without waiting for a
                // running command (status): touches nothing but CSessionStore::HasSession
};

struct Route {
    std::string method;  // "GET", "POST", "DELETE"
    std::string pattern;
    CommandHandler handler;
    RouteScope scope;
    std::vector<std::string> segments;  // the pattern split at '/'
};

struct RouteMatch {
    const Route* pRoute = nullptr;        // null when nothing matched
    bool bPathKnown = false;              // some route has this path (with another method)
    CCommandContext::PathParams params;   // the variables of the path, percent-decoded
};

class CRouter {
public:
    CRouter() = default;
    CRouter(const CRouter&) = delete;
    CRouter& operator=(const CRouter&) = delete;

    void Add(const char* method, const char* pattern, CommandHandler handler, RouteScope scope = RouteScope::Session);
    // path is the request target without its query.
    RouteMatch Find(const std::string& method, const std::string& path) const;
    const std::vector<Route>& Routes() const { return m_routes; }

private:
    std::vector<Route> m_routes;
};
