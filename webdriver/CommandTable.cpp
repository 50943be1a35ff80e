// Every endpoint of the WebDriver server, in one table: method, path and the
// handler. Paths are relative to the server's root.
#include "webdriver/CommandTable.h"

#include "webdriver/ActionCommands.h"
#include "webdriver/ElementCommands.h"
#include "webdriver/Router.h"
#include "webdriver/SessionCommands.h"
#include "webdriver/WindowCommands.h"

void AddWebDriverRoutes(CRouter& router) {
    // Sessions
    router.Add("POST", "/session", &NewSession, RouteScope::Server);
    router.Add("GET", "/status", &GetStatus, RouteScope::Immediate);
    router.Add("DELETE", "/session/{sessionId}", &DeleteSession);
    router.Add("GET", "/session/{sessionId}/timeouts", &GetTimeouts);
    router.Add("POST", "/session/{sessionId}/timeouts", &SetTimeouts);

    // Windows
    router.Add("GET", "/session/{sessionId}/window", &GetCurrentWindowHandle);
    router.Add("POST", "/session/{sessionId}/window", &SwitchWindow);
    router.Add("DELETE", "/session/{sessionId}/window", &CloseCurrentWindow);
    router.Add("GET", "/session/{sessionId}/window/handles", &GetAllWindowHandles);
    router.Add("GET", "/session/{sessionId}/window/rect", &GetCurrentWindowRect);
    router.Add("POST", "/session/{sessionId}/window/rect", &SetCurrentWindowRect);
    router.Add("POST", "/session/{sessionId}/window/maximize", &MaximizeCurrentWindow);
    router.Add("POST", "/session/{sessionId}/window/minimize", &MinimizeCurrentWindow);
    router.Add("GET", "/session/{sessionId}/title", &GetWindowTitle);
    router.Add("GET", "/session/{sessionId}/screenshot", &TakeWindowScreenshot);

    // Input
    router.Add("POST", "/session/{sessionId}/actions", &PerformActions);
    router.Add("DELETE", "/session/{sessionId}/actions", &ReleaseActions);

    // Page source, elements (PageSource.h, ElementCommands.h): rows below.
    SetElementScreenRectLookup(&ElementScreenRect);
    router.Add("GET", "/session/{sessionId}/source", &GetPageSource);
    router.Add("POST", "/session/{sessionId}/element", &FindElement);
    router.Add("POST", "/session/{sessionId}/elements", &FindElements);
    router.Add("GET", "/session/{sessionId}/element/active", &GetActiveElement);
    router.Add("POST", "/session/{sessionId}/element/{elementId}/element", &FindElementFromElement);
    router.Add("POST", "/session/{sessionId}/element/{elementId}/elements", &FindElementsFromElement);
    router.Add("POST", "/session/{sessionId}/element/{elementId}/click", &ClickElement);
    router.Add("POST", "/session/{sessionId}/element/{elementId}/clear", &ClearElement);
    router.Add("POST", "/session/{sessionId}/element/{elementId}/value", &SendKeysToElement);
    router.Add("GET", "/session/{sessionId}/element/{elementId}/text", &GetElementText);
    router.Add("GET", "/session/{sessionId}/element/{elementId}/rect", &GetElementRect);
    router.Add("GET", "/session/{sessionId}/element/{elementId}/attribute/{name}", &GetElementAttribute);
    router.Add("GET", "/session/{sessionId}/element/{elementId}/property/{name}", &GetElementProperty);
    router.Add("GET", "/session/{sessionId}/element/{elementId}/name", &GetElementTagName);
    router.Add("GET", "/session/{sessionId}/element/{elementId}/displayed", &IsElementDisplayed);
    router.Add("GET", "/session/{sessionId}/element/{elementId}/enabled", &IsElementEnabled);
    router.Add("GET", "/session/{sessionId}/element/{elementId}/selected", &IsElementSelected);
    router.Add("GET", "/session/{sessionId}/element/{elementId}/screenshot", &TakeElementScreenshot);
    router.Add("POST", "/session/{sessionId}/execute/sync", &ExecuteSyncScript);
}
