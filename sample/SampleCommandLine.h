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
    bool bVirtual = false;          // open the virtual window
    int nVirtualRows = 1000000;     // rows of its owner-data list
    int nVirtualLines = 200;        // lines of each of its owner-drawn list boxes

    static SampleCommandLine Parse(const char* commandLine);
};
