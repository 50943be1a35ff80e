#include "agent/Diagnostics.h"

#include <windows.h>

#include <cstdarg>

void AgentDebug(const char* pszLine) { OutputDebugStringA(pszLine); }

void AgentDebugFormat(const char* pszFormat, ...) {
    // wvsprintfA writes at most 1024 characters and the terminator.
    char szLine[1025];
    szLine[0] = '\0';
    va_list args;
    va_start(args, pszFormat);
    wvsprintfA(szLine, pszFormat, args);
    va_end(args);
    OutputDebugStringA(szLine);
}
