// Routing, body reading and command execution for the server.
#include "webdriver/WebDriverService.h"

#include "webdriver/CommandTable.h"
#include "webdriver/WebDriverError.h"

namespace {

std::string AnswerText(const nlohmann::json& value) {
    // Texts from the application may not be UTF-8: replaced, never thrown.
    return nlohmann::json{{"value", value}}.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

WebDriverAnswer AnswerOf(const CWebDriverError& error) {
    return {error.HttpStatus(), AnswerText(error.ToJson())};
}

}  // namespace

CWebDriverService::CWebDriverService() { AddWebDriverRoutes(m_router); }

CWebDriverService::~CWebDriverService() { Shutdown(); }

WebDriverAnswer CWebDriverService::ErrorAnswer(WebDriverErrorCode code, const std::string& message) {
    return AnswerOf(CWebDriverError(code, message));
}

bool CWebDriverService::NestingWithin(const std::string& text, int maxDepth) {
    int depth = 0;
    bool bInString = false, bEscaped = false;
    for (char c : text) {
        if (bInString) {
            if (bEscaped) bEscaped = false;
            else if (c == '\\') bEscaped = true;
            else if (c == '"') bInString = false;
        } else if (c == '"') {
            bInString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth) return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

void CWebDriverService::Handle(const std::string& method, const std::string& target, const std::string& body,
                               Completion done) {
    const size_t query = target.find_first_of("?#");
    const std::string path = target.substr(0, query);
    RouteMatch match = m_router.Find(method, path);
    if (!match.pRoute) {
        done(match.bPathKnown
                 ? AnswerOf(CWebDriverError(WebDriverErrorCode::UnknownMethod, method + " is not allowed on " + path))
                 : AnswerOf(CWebDriverError(WebDriverErrorCode::UnknownCommand, "no command at " + method + " " + path)));
        return;
    }
    nlohmann::json json = nlohmann::json::object();
    if (method == "POST") {
        if (!NestingWithin(body, kMaxJsonDepth)) {
            done(AnswerOf(CWebDriverError(WebDriverErrorCode::InvalidArgument,
                                          "the body nests deeper than " + std::to_string(kMaxJsonDepth) + " levels")));
            return;
        }
        json = nlohmann::json::parse(body, nullptr, false);
        if (json.is_discarded() || !json.is_object()) {
            done(AnswerOf(CWebDriverError(WebDriverErrorCode::InvalidArgument, "the body is not a JSON object")));
            return;
        }
    }
    const Route& route = *match.pRoute;
    if (route.scope == RouteScope::Immediate) {
        done(Execute(route, std::move(match.params), json));
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_execution);
        if (m_bShutDown) {
            done(AnswerOf(CWebDriverError(WebDriverErrorCode::UnknownError, "the server is shutting down")));
            return;
        }
    }
    auto params = std::make_shared<CCommandContext::PathParams>(std::move(match.params));
    auto bodyJson = std::make_shared<nlohmann::json>(std::move(json));
    m_commands.Post([this, &route, params, bodyJson, done] { done(Execute(route, std::move(*params), *bodyJson)); });
}

WebDriverAnswer CWebDriverService::Execute(const Route& route, CCommandContext::PathParams params,
                                           const nlohmann::json& body) {
    // Immediate commands only ask the session store whether a session
    // exists; everything else runs under the one lock.
    std::unique_lock<std::mutex> lock(m_execution, std::defer_lock);
    if (route.scope != RouteScope::Immediate) lock.lock();
    try {
        CSession* pSession = nullptr;
        if (route.scope == RouteScope::Session) {
            const std::string& id = params.empty() ? std::string() : params.front().second;
            pSession = m_sessions.Find(id);
            if (!pSession) {
                throw CWebDriverError(WebDriverErrorCode::InvalidSessionId, "no session with id \"" + id + "\"");
            }
        }
        CCommandContext context(m_sessions, pSession, std::move(params), body);
        return {200, AnswerText(route.handler(context))};
    } catch (const CWebDriverError& error) {
        return AnswerOf(error);
    } catch (const std::exception& e) {
        return AnswerOf(CWebDriverError(WebDriverErrorCode::UnknownError, e.what()));
    } catch (...) {
        return AnswerOf(CWebDriverError(WebDriverErrorCode::UnknownError, "the command failed"));
    }
}

void CWebDriverService::Shutdown() {
    {
        std::lock_guard<std::mutex> lock(m_execution);
        if (m_bShutDown) return;
        m_bShutDown = true;
    }
    m_commands.Stop([this] { m_sessions.EndAll(); });
}
