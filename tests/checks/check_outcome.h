// What one check of the Windows checks folder found, and the lines the runner prints for it:
// portable, so that host tests build it too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class Verdict { Passed, Failed, Skipped };

struct CheckOutcome {
    std::string name;
    Verdict verdict = Verdict::Passed;
    double seconds = 0;
    // Where Windows and Wine must differ: the system the check ran on and what it expected
    // there, e.g. "Wine 8.0: no POSIX delete, exit code 4".
    std::string note;
    // What differed, one finding a line.
    std::string failure;
    // What the check did, step by step.
    std::string log;
    // A test program's own JUnit suites, to be folded into the report (see junit_report.h).
    std::string suites;
};

// "PASS  install  9.8 s", with " - NOTE" after it where the check has a note.
std::string outcomeLine(const CheckOutcome& outcome);

// "checks: 12 passed, 1 failed" (", 2 skipped" when any were skipped).
std::string summaryLine(const std::vector<CheckOutcome>& outcomes);

// The checks that NAMES select from ALL, in the order of ALL: every check when NAMES is
// empty. An unknown name is put into unknown and selects nothing.
std::vector<std::string> selectedChecks(const std::vector<std::string>& all,
                                        const std::vector<std::string>& names,
                                        std::vector<std::string>& unknown);
