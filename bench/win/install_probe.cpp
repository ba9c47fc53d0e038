// Measures the installer under Wine from outside, as a person would drive it: start to main
// window, Install to the final text, the work of each install step and the peak working set.
// Prints rows of the benchmark table; one line per run on stderr.
//   install_probe SETUP_EXE RUNS [REFERENCE_EXE]
// REFERENCE_EXE, a small windowed program, gives Wine's own cost of starting a program.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "bench/win/install_run.h"

namespace {

constexpr double StepGoalMs = 10;
constexpr double InstallGoalMs = 1300;
constexpr double MiB = 1024.0 * 1024.0;
const char Area[] = "under Wine";

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

void printRun(int index, const RunFigures& run) {
    std::fprintf(stderr, "run %d: window %.1f ms, install %.1f ms, poll %.2f ms, steps", index,
                 run.startToWindowMs, run.installToFinalMs, run.pollIntervalMs);
    for (const StepFigure& step : run.steps) {
        std::fprintf(stderr, " %.1f/%.1f@%.0f", step.blockedMs, step.busyMs, step.doneAtMs);
    }
    std::fprintf(stderr, ", peak working set %.1f MiB, exit %lu, \"%s\"\n",
                 run.peakWorkingSet / MiB, run.exitCode, narrow(run.finalText).c_str());
}

// Per step, the median and the range over all runs; worst is the largest median. The median
// is what a step costs; single runs stray upwards when other work shares the machine.
std::string stepList(const std::vector<RunFigures>& runs, double StepFigure::*field,
                     double& worst) {
    std::string list;
    worst = 0;
    for (int step = 0; step < InstallStepCount; ++step) {
        std::vector<double> values;
        for (const RunFigures& run : runs) {
            values.push_back(run.steps[step].*field);
        }
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        worst = std::max(worst, median(values));
        list += format("%s%d: %.1f (%.1f-%.1f)", step == 0 ? "" : ", ", step, median(values), *low,
                       *high);
    }
    return list;
}

template <typename Value>
std::vector<double> collect(const std::vector<RunFigures>& runs, Value RunFigures::*field) {
    std::vector<double> values;
    for (const RunFigures& run : runs) {
        values.push_back(static_cast<double>(run.*field));
    }
    return values;
}

std::string spread(const std::vector<double>& values, const char* unit, double scale = 1) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return format("%.1f %s (median of %zu; %.1f to %.1f)", median(values) / scale, unit,
                  values.size(), *low / scale, *high / scale);
}

void printTable(const std::vector<RunFigures>& runs, const ProgramFigures& reference) {
    printRow({Area, "process start to main window shown",
              spread(collect(runs, &RunFigures::startToWindowMs), "ms"), "-", "-"});
    if (reference.startToWindowMs >= 0) {
        printRow({Area, "same for a sample application (Wine's own start cost)",
                  format("%.1f ms", reference.startToWindowMs), "-", "-"});
    }
    const std::vector<double> totals = collect(runs, &RunFigures::installToFinalMs);
    printRow({Area, "Install to final text", spread(totals, "ms"), "<= 1300 ms",
              holdsText(*std::max_element(totals.begin(), totals.end()) <= InstallGoalMs)});
    double worst = 0;
    const std::string blocked = stepList(runs, &StepFigure::blockedMs, worst);
    printRow({Area, "work of install steps 0 to 8, ms: median (range) of all runs", blocked,
              "each < 10 ms (median)", holdsText(worst < StepGoalMs)});
    const std::string busy = stepList(runs, &StepFigure::busyMs, worst);
    printRow({Area, "UI thread busy per tick incl. painting, ms: median (range)", busy, "-", "-"});
    printRow({Area, "timing resolution (mean interval of the progress queries)",
              spread(collect(runs, &RunFigures::pollIntervalMs), "ms"), "-", "-"});
    printRow({Area, "peak working set",
              spread(collect(runs, &RunFigures::peakWorkingSet), "MiB", MiB), "-", "-"});
    if (reference.startToWindowMs >= 0) {
        printRow({Area, "same for the sample application at its window (Wine's own share)",
                  format("%.1f MiB", reference.peakWorkingSet / MiB), "-", "-"});
    }
    printRow({Area, "peak private bytes",
              spread(collect(runs, &RunFigures::peakPrivate), "MiB", MiB), "-", "-"});
    bool allGood = true;
    for (const RunFigures& run : runs) {
        allGood = allGood && run.exitCode == 0 &&
                  run.finalText == L"Installation completed successfully.";
    }
    printRow({Area, "every run ended with \"Installation completed successfully.\" and exit code 0",
              allGood ? "yes" : "no", "-", "-"});
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: install_probe SETUP_EXE RUNS [REFERENCE_EXE]\n");
        return 2;
    }
    const int count = std::max(1, _wtoi(argv[2]));
    std::vector<RunFigures> runs;
    for (int i = 0; i < count; ++i) {
        RunFigures run = measureInstallRun(argv[1]);
        if (!run.problem.empty()) {
            std::fprintf(stderr, "install_probe: run %d: %s\n", i + 1, run.problem.c_str());
            return 1;
        }
        printRun(i + 1, run);
        runs.push_back(run);
    }
    const ProgramFigures reference = argc > 3 ? measureProgram(argv[3]) : ProgramFigures{-1, 0};
    printTable(runs, reference);
    return 0;
}
