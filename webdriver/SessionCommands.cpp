// New session, delete session, status and timeouts.
#include "webdriver/SessionCommands.h"

#include <random>

#include "webdriver/Capabilities.h"
#include "webdriver/CommandContext.h"
#include "webdriver/Session.h"
#include "webdriver/SessionStore.h"
#include "webdriver/WebDriverError.h"
#include "webdriver/WindowCommands.h"

namespace {

// The shortest time one request to the application may be given.
const DWORD kMinRequestTimeoutMs = 100;

// 128 random bits in the form of a UUID.
std::string NewSessionId() {
    std::random_device random;
    unsigned char bytes[16];
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(random() & 0xFF);
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
    static const char kHex[] = "0123456789abcdef";
    std::string id;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) id += '-';
        id += kHex[bytes[i] >> 4];
        id += kHex[bytes[i] & 15];
    }
    return id;
}

}  // namespace

nlohmann::json NewSession(CCommandContext& context) {
    if (context.Sessions().HasSession()) {
        ThrowWebDriverError(WebDriverErrorCode::SessionNotCreated,
                            "a session is running already; this server runs one at a time");
    }
    SessionRequest request = ProcessCapabilities(context.Body());
    CTargetApplication application;
    std::string error;
    const bool bReady = request.hwndAttach ? application.Attach(request.hwndAttach, &error)
                                           : application.Start(request.app, request.appArguments,
                                                                request.appWorkingDir, request.appStartTimeoutMs, &error);
    if (!bReady) ThrowWebDriverError(WebDriverErrorCode::SessionNotCreated, error);

    nlohmann::json capabilities = request.matched;
    capabilities["platformName"] = "windows";
    capabilities["browserName"] = "";
    capabilities["browserVersion"] = "";
    capabilities["acceptInsecureCerts"] = false;
    capabilities["pageLoadStrategy"] = "normal";
    capabilities["setWindowRect"] = true;
    capabilities["strictFileInteractability"] = false;
    capabilities["unhandledPromptBehavior"] = "dismiss and notify";
    capabilities["timeouts"] = TimeoutsJson(request.timeouts);
    capabilities["vintrel:processId"] = application.ProcessId();
    capabilities["vintrel:mainWindow"] = WindowHandleText(application.MainWindow());
    const DWORD requestTimeoutMs = request.requestTimeoutMs < kMinRequestTimeoutMs ? kMinRequestTimeoutMs
                                                                                  : request.requestTimeoutMs;
    capabilities["vintrel:requestTimeout"] = requestTimeoutMs;

    const std::string id = NewSessionId();
    const HWND main = application.MainWindow();
    auto session = std::make_unique<CSession>(id, std::move(application), request.timeouts, requestTimeoutMs,
                                              capabilities);
    try {
        // The agent goes in now, so that a target it cannot reach fails
        // here rather than at the first find.
        session->Agent(main);
    } catch (const CWebDriverError& e) {
        ThrowWebDriverError(WebDriverErrorCode::SessionNotCreated, e.what());
    }
    if (!context.Sessions().Add(std::move(session))) {
        ThrowWebDriverError(WebDriverErrorCode::SessionNotCreated, "a session is running already");
    }
    return {{"sessionId", id}, {"capabilities", capabilities}};
}

nlohmann::json DeleteSession(CCommandContext& context) {
    context.Sessions().Remove(context.Session().Id());
    return nullptr;
}

nlohmann::json GetStatus(CCommandContext& context) {
    const bool bReady = !context.Sessions().HasSession();
    return {{"ready", bReady},
            {"message", bReady ? "ready for a new session" : "a session is running; this server runs one at a time"},
            {"build", {{"version", "1.0"}}}};
}

nlohmann::json GetTimeouts(CCommandContext& context) { return TimeoutsJson(context.Session().Timeouts()); }

nlohmann::json SetTimeouts(CCommandContext& context) {
    ReadTimeouts(context.Body(), &context.Session().Timeouts());
    return nullptr;
}
