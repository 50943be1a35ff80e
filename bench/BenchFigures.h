// What every benchmark program shares: microseconds between two counter
// readings, the median and 99th percentile of a run, and the row each
// program prints for the performance report (scripts/bench.sh collects the
// rows of all programs into one table).
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

struct Figures {
    double median = 0;
    double p99 = 0;
};

inline double Micros(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    return (end.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

inline Figures Summarise(std::vector<double> samples) {
    Figures figures;
    if (samples.empty()) return figures;
    std::sort(samples.begin(), samples.end());
    figures.median = samples[samples.size() / 2];
    figures.p99 = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
    return figures;
}

// "table<TAB>operation<TAB>agent median<TAB>agent p99<TAB>other median<TAB>
// other p99" -- the other way being what a controller does without the
// agent (or the platform's floor); "-" where there is none.
inline void PrintTableRow(const std::string& operation, const Figures& agent, const Figures* other) {
    if (other) {
        std::printf("table\t%s\t%.0f\t%.0f\t%.0f\t%.0f\n", operation.c_str(), agent.median, agent.p99, other->median,
                    other->p99);
    } else {
        std::printf("table\t%s\t%.0f\t%.0f\t-\t-\n", operation.c_str(), agent.median, agent.p99);
    }
    std::fflush(stdout);
}
