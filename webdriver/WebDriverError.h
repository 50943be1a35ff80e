// The errors of the WebDriver protocol: each has its wire name and its HTTP
// status, and travels to the client as
//   {"value": {"error": name, "message": ..., "stacktrace": ...}}.
// Command handlers throw CWebDriverError; the server turns it into that
// answer. Every other exception a handler lets out becomes "unknown error".
#pragma once
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

enum class WebDriverErrorCode {
    ElementClickIntercepted,
    ElementNotInteractable,
    InsecureCertificate,
    InvalidArgument,
    InvalidCookieDomain,
    InvalidElementState,
    InvalidSelector,
    InvalidSessionId,
    JavascriptError,
    MoveTargetOutOfBounds,
    NoSuchAlert,
    NoSuchCookie,
    NoSuchElement,
    NoSuchFrame,
    NoSuchWindow,
    NoSuchShadowRoot,
    ScriptTimeout,
    SessionNotCreated,
    StaleElementReference,
    DetachedShadowRoot,
    Timeout,
    UnableToSetCookie,
    UnableToCaptureScreen,
    UnexpectedAlertOpen,
    UnknownCommand,
    UnknownError,
    UnknownMethod,
    UnsupportedOperation,
};

// "no such element", "invalid argument", ...
const char* WebDriverErrorName(WebDriverErrorCode code);
// 404, 400, ...
int WebDriverErrorStatus(WebDriverErrorCode code);

class CWebDriverError : public std::runtime_error {
public:
    CWebDriverError(WebDriverErrorCode code, const std::string& message, const std::string& stacktrace = std::string())
        : std::runtime_error(message), m_code(code), m_stacktrace(stacktrace) {}

    WebDriverErrorCode Code() const { return m_code; }
    const char* Name() const { return WebDriverErrorName(m_code); }
    int HttpStatus() const { return WebDriverErrorStatus(m_code); }
    const std::string& Stacktrace() const { return m_stacktrace; }
    // The "value" of the answer: {"error", "message", "stacktrace"}.
    nlohmann::json ToJson() const;

private:
    WebDriverErrorCode m_code;
    std::string m_stacktrace;
};

// Shorthands for the errors handlers raise most.
[[noreturn]] void ThrowInvalidArgument(const std::string& message);
[[noreturn]] void ThrowWebDriverError(WebDriverErrorCode code, const std::string& message);
