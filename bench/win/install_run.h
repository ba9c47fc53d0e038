// One measured run of the installer under Wine, driven from outside: start, wait for the
// main window, agree, keep the default components and folder, Install, watch the steps,
// read the result and the memory counters, Close.
#pragma once

#include <windows.h>

#include <string>

constexpr int InstallStepCount = 9;

struct StepFigure {
    bool seen;
    double doneAtMs;   // after the Install press, when the bar showed the step's position
    double blockedMs;  // how long the UI thread kept a query waiting that the step answered
    double busyMs;     // all waits longer than the idle answer time since the previous step
};

struct RunFigures {
    std::string problem;  // empty when the run completed
    double startToWindowMs;
    double installToFinalMs;
    double pollIntervalMs;  // mean time between two progress queries: the timing resolution
    StepFigure steps[InstallStepCount];
    std::wstring finalText;
    SIZE_T peakWorkingSet;
    SIZE_T peakPrivate;
    DWORD exitCode;
};

RunFigures measureInstallRun(const std::wstring& setupExe);

struct ProgramFigures {
    double startToWindowMs;  // -1 when the program did not show a window
    SIZE_T peakWorkingSet;
};

// Start of an ordinary windowed program to its first visible window, and its peak working
// set then; it is closed again. What Wine itself costs, to compare the installer with.
ProgramFigures measureProgram(const std::wstring& exe);
