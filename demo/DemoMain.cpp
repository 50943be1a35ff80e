// VintrelDemo: the whole loop of recording and finding again, on the
// sample application. Each step starts the sample, points at items and
// records them as a person would with the tool, starts the sample again
// changed, finds the items again, prints a table and saves pictures of both
// runs (boxes on the items) into the output directory. Exit code 0 when
// every item was found again, 1 otherwise or when a step could not run.
#include <windows.h>

#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include "demo/AccessibleStep.h"
#include "demo/ControlItemsStep.h"
#include "demo/ListAndMenuBarStep.h"
#include "demo/TabStep.h"

namespace {

struct DemoStep {
    const char* pszIntro;  // printed before the step runs ("" for none)
    const char* pszName;   // names the step in an error
    bool (*pfnRun)(const std::string& dir, int* pMissing, std::string* error);
};

const DemoStep kSteps[] = {
    {"", "list and menu bar", RunListAndMenuBarStep},
    {"", "control items", RunControlItemsStep},
    {"\naccessibility window: recording, restarting it scrolled, finding again...\n", "accessibility step",
     RunAccessibleStep},
    {"\nrecording a tab, reversing the tabs and finding it again...\n", "tab", RunTabStep},
};

int Fail(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "VintrelDemo: %s\n", message.c_str());
    return 1;
}

int RunDemo(std::string dir) {
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '\\';
    CreateDirectoryA(dir.c_str(), nullptr);
    int missing = 0;
    for (const DemoStep& step : kSteps) {
        std::printf("%s", step.pszIntro);
        std::string error;
        if (!step.pfnRun(dir, &missing, &error)) return Fail(std::string(step.pszName) + ": " + error);
    }
    std::printf("Records and pictures are in %s\n", dir.c_str());
    if (missing) return Fail(std::to_string(missing) + " item(s) not found again");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"VintrelDemo: records items of the sample application by pointing at them, restarts it changed,\n"
                 "finds them again, prints what was found and saves pictures of both runs."};
    std::string dir = ".";
    app.add_option("--out", dir, "where records and pictures go");
    CLI11_PARSE(app, argc, argv);
    return RunDemo(dir);
}
