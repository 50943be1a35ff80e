// The sample application's command line.
#pragma once
#include <string>

struct SampleCommandLine {
    int nItems = 50;
    std::string order = "forward";  // forward | reversed | shuffled:SEED
    std::string title;              // empty: the default title
    bool bIcons = false;
    bool bMenuExtra = false;
    bool bDialog = true;
    bool bOwnHooks = false;  // hooks of its own on its thread, as some applications have
    int x = 40, y = 40;

    static SampleCommandLine Parse(const char* commandLine);
};
