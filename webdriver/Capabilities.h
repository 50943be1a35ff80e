// The capabilities of a new session: the W3C processing of alwaysMatch and
// firstMatch (validation, merging, matching), and the extension keys this
// server reads, with the prefix "appium:" or "vintrel:":
//   app              a program to start (searched as a command line is)
//   appArguments     its command line after the program
//   appWorkingDir    its working folder
//   appTopLevelWindow  a top-level window (hex handle) of a running application to attach to
//   appStartTimeout  ms to wait for the started program's window (20000)
//   requestTimeout   ms one request to the application may take (5000)
#pragma once
#include <windows.h>

#include <string>

#include <nlohmann/json.hpp>

#include "webdriver/Session.h"

struct SessionRequest {
    std::string app;
    std::string appArguments;
    std::string appWorkingDir;
    HWND hwndAttach = nullptr;  // appTopLevelWindow
    DWORD appStartTimeoutMs = 20000;
    DWORD requestTimeoutMs = CAgentClient::kDefaultTimeoutMs;
    SessionTimeouts timeouts;
    nlohmann::json matched;  // the merged capabilities that matched, as the client gave them
};

// Processes the body of POST /session. Throws "invalid argument" for a
// malformed request and "session not created" when no set matches.
SessionRequest ProcessCapabilities(const nlohmann::json& body);

// Reads a W3C timeouts object into *pTimeouts (only the fields it has);
// throws "invalid argument".
void ReadTimeouts(const nlohmann::json& object, SessionTimeouts* pTimeouts);
nlohmann::json TimeoutsJson(const SessionTimeouts& timeouts);
