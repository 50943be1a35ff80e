// Every endpoint of the WebDriver server, in one table: method, path and the
// handler. Paths are relative to the server's root.
#include "webdriver/CommandTable.h"

#include "webdriver/ActionCommands.h"
#include "webdriver/Router.h"
#include "webdriver/SessionCommands.h"
#include "webdriver/WindowCommands.h"

void AddWebDriverRoutes(CRouter& router) {
    // Sessions
    router.Add("POST", "/session", &NewSession, RouteScope::Server);
    router.Add("GET", "/status", &GetStatus, RouteScope::Server);
    router.Add("DELETE", "/session/{sessionId}", &DeleteSession);
    router.Add("GET", "/session/{sessionId}/timeouts", &GetTimeouts);
    router.Add("POST", "/session/{sessionId}/timeouts", &SetTimeouts);

    // Windows
    router.Add("GET", "/session/{sessionId}/window", &GetWindowHandle);
    router.Add("POST", "/session/{sessionId}/window", &SwitchToWindow);
    router.Add("DELETE", "/session/{sessionId}/window", &CloseWindow);
    router.Add("GET", "/session/{sessionId}/window/handles", &GetWindowHandles);
    router.Add("GET", "/session/{sessionId}/window/rect", &GetWindowRect);
    router.Add("POST", "/session/{sessionId}/window/rect", &SetWindowRect);
    router.Add("POST", "/session/{sessionId}/window/maximize", &MaximizeWindow);
    router.Add("POST", "/session/{sessionId}/window/minimize", &MinimizeWindow);
    router.Add("GET", "/session/{sessionId}/title", &GetTitle);
    router.Add("GET", "/session/{sessionId}/screenshot", &TakeScreenshot);

    // Input
    router.Add("POST", "/session/{sessionId}/actions", &PerformActions);
    router.Add("DELETE", "/session/{sessionId}/actions", &ReleaseActions);

    // Page source, elements (PageSource.h, ElementCommands.h): rows below.
}
