// The table of WebDriver errors: wire names and HTTP statuses, stated once.
#include "webdriver/WebDriverError.h"

namespace {

struct ErrorRow {
    WebDriverErrorCode code;
    const char* pszName;
    int nStatus;
};

const ErrorRow kErrors[] = {
    {WebDriverErrorCode::ElementClickIntercepted, "element click intercepted", 400},
    {WebDriverErrorCode::ElementNotInteractable, "element not interactable", 400},
    {WebDriverErrorCode::InsecureCertificate, "insecure certificate", 400},
    {WebDriverErrorCode::InvalidArgument, "invalid argument", 400},
    {WebDriverErrorCode::InvalidCookieDomain, "invalid cookie domain", 400},
    {WebDriverErrorCode::InvalidElementState, "invalid element state", 400},
    {WebDriverErrorCode::InvalidSelector, "invalid selector", 400},
    {WebDriverErrorCode::InvalidSessionId, "invalid session id", 404},
    {WebDriverErrorCode::JavascriptError, "javascript error", 500},
    {WebDriverErrorCode::MoveTargetOutOfBounds, "move target out of bounds", 500},
    {WebDriverErrorCode::NoSuchAlert, "no such alert", 404},
    {WebDriverErrorCode::NoSuchCookie, "no such cookie", 404},
    {WebDriverErrorCode::NoSuchElement, "no such element", 404},
    {WebDriverErrorCode::NoSuchFrame, "no such frame", 404},
    {WebDriverErrorCode::NoSuchWindow, "no such window", 404},
    {WebDriverErrorCode::NoSuchShadowRoot, "no such shadow root", 404},
    {WebDriverErrorCode::ScriptTimeout, "script timeout", 500},
    {WebDriverErrorCode::SessionNotCreated, "session not created", 500},
    {WebDriverErrorCode::StaleElementReference, "stale element reference", 404},
    {WebDriverErrorCode::DetachedShadowRoot, "detached shadow root", 404},
    {WebDriverErrorCode::Timeout, "timeout", 500},
    {WebDriverErrorCode::UnableToSetCookie, "unable to set cookie", 500},
    {WebDriverErrorCode::UnableToCaptureScreen, "unable to capture screen", 500},
    {WebDriverErrorCode::UnexpectedAlertOpen, "unexpected alert open", 500},
    {WebDriverErrorCode::UnknownCommand, "unknown command", 404},
    {WebDriverErrorCode::UnknownError, "unknown error", 500},
    {WebDriverErrorCode::UnknownMethod, "unknown method", 405},
    {WebDriverErrorCode::UnsupportedOperation, "unsupported operation", 500},
};

const ErrorRow& RowOf(WebDriverErrorCode code) {
    for (const ErrorRow& row : kErrors) {
        if (row.code == code) return row;
    }
    static const ErrorRow kUnknown = {WebDriverErrorCode::UnknownError, "unknown error", 500};
    return kUnknown;
}

}  // namespace

const char* WebDriverErrorName(WebDriverErrorCode code) { return RowOf(code).pszName; }

int WebDriverErrorStatus(WebDriverErrorCode code) { return RowOf(code).nStatus; }

nlohmann::json CWebDriverError::ToJson() const {
    return {{"error", Name()}, {"message", what()}, {"stacktrace", m_stacktrace}};
}

void ThrowInvalidArgument(const std::string& message) {
    throw CWebDriverError(WebDriverErrorCode::InvalidArgument, message);
}

void ThrowWebDriverError(WebDriverErrorCode code, const std::string& message) { throw CWebDriverError(code, message); }
