#include "bench/bench_table.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

std::string holdsText(bool holds) {
    return holds ? "yes" : "NO";
}

std::string format(const char* pattern, ...) {
    char text[512];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

void printRow(const TableRow& row) {
    std::printf("| %s | %s | %s | %s | %s |\n", row.area.c_str(), row.measure.c_str(),
                row.figure.c_str(), row.goal.c_str(), row.holds.c_str());
    std::fflush(stdout);
}

double median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 != 0 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}
