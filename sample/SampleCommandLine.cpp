#include "sample/SampleCommandLine.h"

#include <cstdlib>
#include <vector>

#include "sample/SampleProtocol.h"

namespace {

// Splits at blanks; double quotes group words.
std::vector<std::string> SplitArguments(const char* text) {
    std::vector<std::string> words;
    std::string current;
    bool quoted = false, any = false;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
            any = true;
        } else if ((*p == ' ' || *p == '\t') && !quoted) {
            if (any) words.push_back(current);
            current.clear();
            any = false;
        } else {
            current += *p;
            any = true;
        }
    }
    if (any) words.push_back(current);
    return words;
}

int Clamp(int value, int lowest, int highest) { return value < lowest ? lowest : (value > highest ? highest : value); }

}  // namespace

SampleCommandLine SampleCommandLine::Parse(const char* commandLine) {
    SampleCommandLine c;
    std::vector<std::string> a = SplitArguments(commandLine);
    for (size_t i = 0; i < a.size(); ++i) {
        const bool hasValue = i + 1 < a.size();
        if (a[i] == "--items" && hasValue) {
            c.nItems = std::atoi(a[++i].c_str());
            if (c.nItems < 0) c.nItems = 0;
            if (c.nItems > 100000) c.nItems = 100000;
        } else if (a[i] == "--order" && hasValue) {
            c.order = a[++i];
        } else if (a[i] == "--title" && hasValue) {
            c.title = a[++i];
        } else if (a[i] == "--icons") {
            c.bIcons = true;
        } else if (a[i] == "--menu-extra") {
            c.bMenuExtra = true;
        } else if (a[i] == "--no-dialog") {
            c.bDialog = false;
        } else if (a[i] == "--own-hooks") {
            c.bOwnHooks = true;
        } else if (a[i] == "--virtual") {
            c.bVirtual = true;
        } else if (a[i] == "--virtual-rows" && hasValue) {
            c.nVirtualRows = Clamp(std::atoi(a[++i].c_str()), 1, sample::kVirtualMaxRows);
        } else if (a[i] == "--virtual-lines" && hasValue) {
            c.nVirtualLines = Clamp(std::atoi(a[++i].c_str()), 0, sample::kVirtualMaxLines);
        } else if (a[i] == "--at" && hasValue) {
            const std::string& v = a[++i];
            c.x = std::atoi(v.c_str());
            size_t comma = v.find(',');
            if (comma != std::string::npos) c.y = std::atoi(v.c_str() + comma + 1);
        }
    }
    return c;
}
