// The agent's one way to write a diagnostic line: to the debugger, framed as
// the system's lines are ("*** No hHook ***\n"). There are no levels and no
// log file, and the agent never shows a message box.
#pragma once

// Writes the line as it stands.
void AgentDebug(const char* pszLine);
// Formats with wsprintfA (at most 1024 characters; no "%.*s") and writes.
void AgentDebugFormat(const char* pszFormat, ...);
