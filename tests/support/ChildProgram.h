// Runs one of the built programs (the tool, the soak) as a separate process,
// as a person or a script would, and keeps what it printed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct ChildRun {
    DWORD exitCode = 0xFFFFFFFF;  // also when the program could not be started
    std::string out;
    std::string err;
    // Each non-empty line of the output.
    std::vector<std::string> Lines() const;
};

// Runs the program next to the test program with the arguments and waits
// for it (at most timeoutMs; then it is ended with exit code 99).
ChildRun RunChildProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs = 60000);
