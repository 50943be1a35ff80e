#include "tests/support/ChildProgram.h"

#include <cstdio>
#include <sstream>

#include "common/Owned.h"
#include "tests/support/SampleProcess.h"

std::string ReadWholeFile(const std::string& path) {
    std::string text;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) text.append(buffer, n);
    std::fclose(file);
    return text;
}

COwnedFile InheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    return COwnedFile(
        CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::vector<std::string> ChildRun::Lines() const {
    std::vector<std::string> lines;
    std::istringstream stream(out);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

ChildRun RunChildProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs) {
    ChildRun run;
    const std::string dir = TestProgramDirectory();
    // Output and errors go to files, so that neither can fill a pipe and
    // stall the program.
    const std::string outPath = dir + program + ".out.txt", errPath = dir + program + ".err.txt";
    {
        COwnedFile out = InheritableFile(outPath), err = InheritableFile(errPath);
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out.Get();
        si.hStdError = err.Get();
        std::string line = "\"" + dir + program + "\" " + arguments;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return run;
        COwnedHandle process(pi.hProcess), thread(pi.hThread);
        if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) TerminateProcess(process.Get(), 99);
        WaitForSingleObject(process.Get(), 5000);
        GetExitCodeProcess(process.Get(), &run.exitCode);
    }
    run.out = ReadWholeFile(outPath);
    run.err = ReadWholeFile(errPath);
    return run;
}
