// Runs one of the built programs (the tool, the soak) as a separate process,
// as a person or a script would, and keeps what it printed.
#pragma once
#include <windows.h>

#include "common/Owned.h"

#include <string>
#include <vector>

struct ChildRun {
    DWORD exitCode = 0xFFFFFFFF;  // also when the program could not be started
    std::string out;
    std::string err;
    // Each non-empty line of the output.
    std::vector<std::string> Lines() const;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// A new file for writing that a child process inherits as its output.
COwnedFile InheritableFile(const std::string& path);

// Runs the program next to the test program with the arguments and waits
// for it (at most timeoutMs; then it is ended with exit code 99).
ChildRun RunChildProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs = 60000);
