// A Windows test program of the suite (GoogleTest), run natively as a check.
#pragma once

#include <string>

#include "tests/checks/check_run.h"

// Runs the program (its name, without ".exe", in the folder's tests\) with its XML report
// in results\gtest\, passes when it ends with exit code 0 within its time and leaves
// nothing behind; folds its report into the checks' report.
void runTestProgram(CheckRun& run, const std::wstring& name);
