// The rows every benchmark prints: a Markdown table of area, measure, figure, goal and
// whether the goal holds ("-" where there is no goal, only a figure to report).
#pragma once

#include <string>
#include <vector>

struct TableRow {
    std::string area;
    std::string measure;
    std::string figure;
    std::string goal;
    std::string holds;
};

std::string holdsText(bool holds);
// printf-style formatting into a std::string.
std::string format(const char* pattern, ...) __attribute__((format(gnu_printf, 1, 2)));
void printRow(const TableRow& row);

// The median of the samples (the mean of the middle two for an even count); 0 when empty.
double median(std::vector<double> samples);
