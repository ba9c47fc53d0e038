// The checks' results as JUnit XML, which CI services display: one test suite with a test
// case per check of the folder (its failure text, what it did), and each GoogleTest
// program's own report folded in as test suites named after the program. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tests/checks/check_outcome.h"

// TEXT with the five XML specials escaped and the characters XML 1.0 cannot carry (control
// characters but tab, line feed and carriage return) replaced by '?'.
std::string xmlEscaped(std::string_view text);

// The <testsuite> elements of a GoogleTest XML report, their names and the class names of
// their test cases prefixed with "PROGRAM.", so that suites of two programs stay apart; empty
// when the report has none.
std::string foldedSuites(std::string_view gtestReport, std::string_view program);

// "Suite.Test: first line of its failure" for each failed test case of a GoogleTest XML
// report, in report order.
std::vector<std::string> failedTests(std::string_view gtestReport);

// The whole report: the folder's checks as the suite "windows-checks" with SYSTEM as a
// property, followed by the suites each outcome folds in.
std::string junitReport(const std::vector<CheckOutcome>& outcomes, std::string_view system);
