// The WebDriver service behind the HTTP front: routes a request, reads its
// body, runs its command on the command thread (one at a time, under one
// lock) and gives back the answer's status and JSON. Knows nothing of HTTP
// connections, so it can be driven without a network.
#pragma once
#include <functional>
#include <mutex>
#include <string>

#include "webdriver/CommandThread.h"
#include "webdriver/Router.h"
#include "webdriver/SessionStore.h"
#include "webdriver/WebDriverError.h"

struct WebDriverAnswer {
    int nStatus = 200;
    std::string body;  // {"value": ...}
};

class CWebDriverService {
public:
    using Completion = std::function<void(WebDriverAnswer answer)>;

    // Deeper JSON than this is refused before it is parsed (the parser
    // recurses).
    static constexpr int kMaxJsonDepth = 64;

    CWebDriverService();
    ~CWebDriverService();
    CWebDriverService(const CWebDriverService&) = delete;
    CWebDriverService& operator=(const CWebDriverService&) = delete;

    // Handles one request. done is called exactly once: at once for
    // requests that need no command (unknown paths, bad bodies, status),
    // otherwise on the command thread when the command has run.
    void Handle(const std::string& method, const std::string& target, const std::string& body, Completion done);
    // Ends every session and the command thread; later requests fail.
    void Shutdown();

    // An answer for an error raised outside a command (limits, refusals).
    static WebDriverAnswer ErrorAnswer(WebDriverErrorCode code, const std::string& message);
    // True when the JSON text nests at most maxDepth arrays and objects.
    static bool NestingWithin(const std::string& text, int maxDepth);

private:
    WebDriverAnswer Execute(const Route& route, CCommandContext::PathParams params, const nlohmann::json& body);

    CRouter m_router;
    CSessionStore m_sessions;
    std::mutex m_execution;  // one command at a time, whoever calls
    CCommandThread m_commands;
    bool m_bShutDown = false;
};
