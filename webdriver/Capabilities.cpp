// Capabilities processing for POST /session.
#include "webdriver/Capabilities.h"

#include <algorithm>
#include <cctype>

#include "webdriver/CommandContext.h"
#include "webdriver/WebDriverError.h"
#include "webdriver/WindowCommands.h"

namespace {

const char* const kPrefixes[] = {"appium:", "vintrel:"};

enum class ExtensionType { String, Milliseconds };
struct ExtensionKey {
    const char* pszName;
    ExtensionType type;
};
const ExtensionKey kExtensionKeys[] = {
    {"app", ExtensionType::String},           {"appArguments", ExtensionType::String},
    {"appWorkingDir", ExtensionType::String}, {"appTopLevelWindow", ExtensionType::String},
    {"appStartTimeout", ExtensionType::Milliseconds}, {"requestTimeout", ExtensionType::Milliseconds},
};
const int64_t kMaxMilliseconds = 3600000;  // an hour

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The name without its prefix when it is one of this server's extension
// keys; empty otherwise.
std::string OurExtensionName(const std::string& key) {
    for (const char* prefix : kPrefixes) {
        const std::string p = prefix;
        if (key.compare(0, p.size(), p) != 0) continue;
        const std::string name = key.substr(p.size());
        for (const ExtensionKey& known : kExtensionKeys) {
            if (name == known.pszName) return name;
        }
    }
    return std::string();
}

const ExtensionKey* ExtensionKeyOf(const std::string& name) {
    for (const ExtensionKey& known : kExtensionKeys) {
        if (name == known.pszName) return &known;
    }
    return nullptr;
}

void RequireType(bool bOk, const std::string& key, const char* expected, const nlohmann::json& value) {
    if (!bOk) ThrowInvalidArgument("capability \"" + key + "\" must be " + expected + ", not " + value.dump());
}

// Validates one capabilities object; returns it without its null entries.
nlohmann::json Validate(const nlohmann::json& capabilities, const char* where) {
    if (!capabilities.is_object()) ThrowInvalidArgument(std::string(where) + " must be an object");
    nlohmann::json result = nlohmann::json::object();
    for (auto it = capabilities.begin(); it != capabilities.end(); ++it) {
        const std::string& key = it.key();
        const nlohmann::json& value = it.value();
        if (value.is_null()) continue;
        if (key == "acceptInsecureCerts" || key == "strictFileInteractability" || key == "webSocketUrl" ||
            key == "setWindowRect") {
            RequireType(value.is_boolean(), key, "a boolean", value);
        } else if (key == "browserName" || key == "browserVersion" || key == "platformName") {
            RequireType(value.is_string(), key, "a string", value);
        } else if (key == "pageLoadStrategy") {
            RequireType(value.is_string() && (value == "none" || value == "eager" || value == "normal"), key,
                        "\"none\", \"eager\" or \"normal\"", value);
        } else if (key == "proxy") {
            RequireType(value.is_object(), key, "an object", value);
        } else if (key == "timeouts") {
            SessionTimeouts ignored;
            ReadTimeouts(value, &ignored);
        } else if (key == "unhandledPromptBehavior") {
            RequireType(value.is_string() || value.is_object(), key, "a string or an object", value);
        } else if (key.find(':') != std::string::npos) {
            const std::string name = OurExtensionName(key);
            if (const ExtensionKey* known = name.empty() ? nullptr : ExtensionKeyOf(name)) {
                int64_t ms = 0;
                if (known->type == ExtensionType::String) {
                    RequireType(value.is_string(), key, "a string", value);
                } else {
                    RequireType(JsonSafeInteger(value, &ms) && ms >= 0 && ms <= kMaxMilliseconds, key,
                                "a number of milliseconds up to an hour", value);
                }
            }
            // Other extension keys (another driver's) are left alone.
        } else {
            ThrowInvalidArgument("unknown capability \"" + key + "\"");
        }
        result[key] = value;
    }
    return result;
}

// The value of an extension key under either prefix; both at once is an
// invalid argument. Null when absent.
nlohmann::json ExtensionValue(const nlohmann::json& capabilities, const char* name) {
    nlohmann::json found;
    std::string foundKey;
    for (const char* prefix : kPrefixes) {
        const std::string key = std::string(prefix) + name;
        if (!capabilities.contains(key)) continue;
        if (!foundKey.empty()) ThrowInvalidArgument("both \"" + foundKey + "\" and \"" + key + "\" are given");
        found = capabilities.at(key);
        foundKey = key;
    }
    return found;
}

// Why the merged set does not match this server; empty when it does.
std::string MismatchOf(const nlohmann::json& merged) {
    if (merged.contains("platformName") && Lower(merged.at("platformName").get<std::string>()) != "windows") {
        return "platformName must be \"windows\", not " + merged.at("platformName").dump();
    }
    if (merged.contains("browserName") && !merged.at("browserName").get<std::string>().empty()) {
        return "this server drives Windows applications, not the browser " + merged.at("browserName").dump();
    }
    if (merged.contains("browserVersion") && !merged.at("browserVersion").get<std::string>().empty()) {
        return "browserVersion cannot be matched: there is no browser";
    }
    if (merged.contains("proxy")) return "a proxy cannot be set for a Windows application";
    if (merged.contains("webSocketUrl") && merged.at("webSocketUrl").get<bool>()) {
        return "this server has no WebSocket endpoint";
    }
    return std::string();
}

DWORD MillisecondsOf(const nlohmann::json& value, DWORD fallback) {
    int64_t ms = 0;
    return value.is_null() || !JsonSafeInteger(value, &ms) ? fallback : static_cast<DWORD>(ms);
}

}  // namespace

void ReadTimeouts(const nlohmann::json& object, SessionTimeouts* pTimeouts) {
    if (!object.is_object()) ThrowInvalidArgument("the timeouts must be an object, not " + object.dump());
    SessionTimeouts timeouts = *pTimeouts;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string& key = it.key();
        const nlohmann::json& value = it.value();
        int64_t ms = 0;
        if (key == "script" && value.is_null()) {
            timeouts.scriptMs = -1;
            continue;
        }
        if (!JsonSafeInteger(value, &ms) || ms < 0) {
            ThrowInvalidArgument("timeout \"" + key + "\" must be an integer from 0 to 2^53 - 1, not " + value.dump());
        }
        if (key == "script") timeouts.scriptMs = ms;
        else if (key == "pageLoad") timeouts.pageLoadMs = ms;
        else if (key == "implicit") timeouts.implicitMs = ms;
        else ThrowInvalidArgument("unknown timeout \"" + key + "\" (script, pageLoad, implicit)");
    }
    *pTimeouts = timeouts;
}

nlohmann::json TimeoutsJson(const SessionTimeouts& timeouts) {
    return {{"implicit", timeouts.implicitMs},
            {"pageLoad", timeouts.pageLoadMs},
            {"script", timeouts.scriptMs < 0 ? nlohmann::json(nullptr) : nlohmann::json(timeouts.scriptMs)}};
}

SessionRequest ProcessCapabilities(const nlohmann::json& body) {
    if (!body.is_object() || !body.contains("capabilities")) {
        ThrowInvalidArgument("the body must be an object with \"capabilities\"");
    }
    const nlohmann::json& request = body.at("capabilities");
    if (!request.is_object()) ThrowInvalidArgument("\"capabilities\" must be an object");
    const nlohmann::json alwaysMatch =
        request.contains("alwaysMatch") ? Validate(request.at("alwaysMatch"), "alwaysMatch") : nlohmann::json::object();
    nlohmann::json firstMatches = nlohmann::json::array({nlohmann::json::object()});
    if (request.contains("firstMatch")) {
        const nlohmann::json& given = request.at("firstMatch");
        if (!given.is_array() || given.empty()) ThrowInvalidArgument("firstMatch must be an array of one or more objects");
        firstMatches = nlohmann::json::array();
        for (const nlohmann::json& entry : given) firstMatches.push_back(Validate(entry, "each firstMatch entry"));
    }
    std::vector<nlohmann::json> merged;
    for (const nlohmann::json& first : firstMatches) {
        nlohmann::json set = alwaysMatch;
        for (auto it = first.begin(); it != first.end(); ++it) {
            if (set.contains(it.key())) {
                ThrowInvalidArgument("\"" + it.key() + "\" is in both alwaysMatch and a firstMatch entry");
            }
            set[it.key()] = it.value();
        }
        merged.push_back(std::move(set));
    }
    std::string reasons;
    for (const nlohmann::json& set : merged) {
        const std::string mismatch = MismatchOf(set);
        if (!mismatch.empty()) {
            reasons += (reasons.empty() ? "" : "; ") + mismatch;
            continue;
        }
        SessionRequest result;
        const nlohmann::json app = ExtensionValue(set, "app");
        const nlohmann::json window = ExtensionValue(set, "appTopLevelWindow");
        if (!app.is_null() && !window.is_null()) {
            ThrowInvalidArgument("give either app or appTopLevelWindow, not both");
        }
        if (app.is_null() && window.is_null()) {
            reasons += std::string(reasons.empty() ? "" : "; ") +
                       "neither \"appium:app\" (a program to start) nor \"appium:appTopLevelWindow\" (a window to "
                       "attach to) is given";
            continue;
        }
        if (!app.is_null()) {
            result.app = app.get<std::string>();
            if (Lower(result.app) == "root") {
                ThrowWebDriverError(WebDriverErrorCode::SessionNotCreated,
                                    "a session on the whole desktop (app \"Root\") is not supported");
            }
        } else {
            result.hwndAttach = ParseWindowHandle(window.get<std::string>());
            if (!result.hwndAttach) ThrowInvalidArgument("appTopLevelWindow " + window.dump() + " is no window handle");
        }
        const nlohmann::json arguments = ExtensionValue(set, "appArguments");
        const nlohmann::json folder = ExtensionValue(set, "appWorkingDir");
        if (!arguments.is_null()) result.appArguments = arguments.get<std::string>();
        if (!folder.is_null()) result.appWorkingDir = folder.get<std::string>();
        result.appStartTimeoutMs = MillisecondsOf(ExtensionValue(set, "appStartTimeout"), result.appStartTimeoutMs);
        result.requestTimeoutMs = MillisecondsOf(ExtensionValue(set, "requestTimeout"), result.requestTimeoutMs);
        if (set.contains("timeouts")) ReadTimeouts(set.at("timeouts"), &result.timeouts);
        result.matched = set;
        return result;
    }
    ThrowWebDriverError(WebDriverErrorCode::SessionNotCreated, "no capabilities matched: " + reasons);
}
