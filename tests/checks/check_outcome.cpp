#include "tests/checks/check_outcome.h"

#include <algorithm>
#include <cstdio>

std::string outcomeLine(const CheckOutcome& outcome)
{
    const char* word = outcome.verdict == Verdict::Passed   ? "PASS"
                       : outcome.verdict == Verdict::Failed ? "FAIL"
                                                            : "SKIP";
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f s", outcome.seconds);
    std::string line = std::string(word) + "  " + outcome.name + "  " + seconds;
    if (!outcome.note.empty()) {
        line += " - " + outcome.note;
    }
    return line;
}

std::string summaryLine(const std::vector<CheckOutcome>& outcomes)
{
    const auto count = [&](Verdict verdict) {
        return std::to_string(std::count_if(outcomes.begin(), outcomes.end(),
                                            [&](const CheckOutcome& o) { return o.verdict == verdict; }));
    };
    std::string line = "checks: " + count(Verdict::Passed) + " passed, " + count(Verdict::Failed) +
                       " failed";
    if (count(Verdict::Skipped) != "0") {
        line += ", " + count(Verdict::Skipped) + " skipped";
    }
    return line;
}

std::vector<std::string> selectedChecks(const std::vector<std::string>& all,
                                        const std::vector<std::string>& names,
                                        std::vector<std::string>& unknown)
{
    for (const std::string& name : names) {
        if (std::find(all.begin(), all.end(), name) == all.end()) {
            unknown.push_back(name);
        }
    }
    if (names.empty()) {
        return all;
    }
    std::vector<std::string> selected;
    for (const std::string& check : all) {
        if (std::find(names.begin(), names.end(), check) != names.end()) {
            selected.push_back(check);
        }
    }
    return selected;
}
