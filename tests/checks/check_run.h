// One check as it runs: the folder's files, its log and its findings. A finding records a
// difference and lets the check go on; a requirement that does not hold ends it (the check
// function's own guards then undo what it started).
#pragma once

#include <string>
#include <string_view>

#include "tests/checks/check_outcome.h"

// The checks folder: every path ends with a backslash.
struct ChecksFolder {
    std::wstring root;
    std::wstring installer;  // the installer itself, not a folder
    std::wstring pack;       // the pack's licence, applications and uninstallers as built
    std::wstring tests;      // the Windows test programs
    std::wstring tools;      // the runner and the fault holder
    std::wstring results;
    std::wstring screenshots;
    std::wstring logs;
};

// Thrown by CheckRun::fail: the check cannot go on.
struct CheckStopped {};

class CheckRun {
public:
    CheckRun(const ChecksFolder& folder, std::string name);

    const ChecksFolder& folder;

    // A step of the check, into its log file (results\logs\NAME.txt) as it happens.
    void log(std::wstring_view line);
    // Where Windows and Wine must differ: what this system makes the check expect, for its
    // line and report.
    void note(std::wstring_view text);
    // Records a difference when HOLDS is false; the check fails but goes on.
    void expect(bool holds, std::wstring_view finding);
    [[noreturn]] void fail(std::wstring_view finding);
    void require(bool holds, std::wstring_view finding);
    // Ends the check as skipped, with the reason in its line.
    [[noreturn]] void skip(std::wstring_view reason);

    // The outcome so far; its verdict is Failed once any finding was recorded.
    CheckOutcome outcome;

private:
    std::wstring logFile;
};
