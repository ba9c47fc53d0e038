#include "bench/win/install_run.h"

#include <psapi.h>

#include "bench/win/installer_window.h"

namespace {

constexpr DWORD StartLimitMs = 30000;
constexpr double InstallLimitMs = 15000;
constexpr double BusyThresholdMs = 0.5;

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
        if (info.hProcess != nullptr) {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info.hProcess, 1);
            }
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }

    bool start(const std::wstring& exe) {
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info) != 0;
    }
    bool running() const { return WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }

    PROCESS_INFORMATION info{};
};

// Polls every millisecond for a visible window of the child; null when it exits or the
// time runs out.
HWND waitForWindow(const ChildProcess& child, const wchar_t* title) {
    const double limit = nowMs() + StartLimitMs;
    while (nowMs() < limit && child.running()) {
        if (HWND window = findVisibleWindow(child.info.dwProcessId, title)) {
            return window;
        }
        Sleep(1);
    }
    return nullptr;
}

// Presses Next on the visible page and waits until another page is shown.
bool nextPage(HWND mainWindow) {
    HWND page = visiblePage(mainWindow);
    if (page == nullptr) {
        return false;
    }
    pressNext(page);
    const double limit = nowMs() + 5000;
    while (nowMs() < limit) {
        HWND now = visiblePage(mainWindow);
        if (now != nullptr && now != page) {
            return true;
        }
        Sleep(5);
    }
    return false;
}

int stepOfPosition(int position) {
    // The installer moves its bar to (k + 1) * 100 / 9 after step k.
    for (int step = 0; step < InstallStepCount; ++step) {
        if ((step + 1) * 100 / InstallStepCount == position) {
            return step;
        }
    }
    return -1;
}

// Presses Install and asks the bar for its position about every millisecond until the
// last step has shown. A query sent while a step runs is answered only when the step
// returns to the message loop, so the wait of the query that first sees a step's position
// is that step's work, less at most one polling interval.
void watchSteps(HWND destinationPage, HWND bar, RunFigures& figures) {
    const double installAt = nowMs();
    pressNext(destinationPage);
    int last = 0;
    int queries = 0;
    double busy = 0;
    while (nowMs() - installAt < InstallLimitMs) {
        const double asked = nowMs();
        int position = 0;
        if (!progressPosition(bar, position, 5000)) {
            figures.problem = "the installer stopped answering";
            return;
        }
        const double answered = nowMs();
        ++queries;
        const double wait = answered - asked;
        if (wait > BusyThresholdMs) {
            busy += wait;
        }
        if (position != last) {
            const int step = stepOfPosition(position);
            if (step >= 0) {
                figures.steps[step] = {true, answered - installAt, wait, busy};
            }
            busy = 0;
            last = position;
            if (step == InstallStepCount - 1) {
                figures.installToFinalMs = answered - installAt;
                figures.pollIntervalMs = (answered - installAt) / queries;
                figures.finalText = controlText(statusLine(bar));
                return;
            }
        }
        Sleep(1);
    }
    figures.problem = "the installation did not finish in time";
}

void readMemory(HANDLE process, RunFigures& figures) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        figures.peakWorkingSet = counters.PeakWorkingSetSize;
        figures.peakPrivate = counters.PeakPagefileUsage;
    }
}

// Drives the wizard from the licence page to the end of the installation.
void install(HWND mainWindow, RunFigures& figures) {
    if (!nextPage(mainWindow) || !nextPage(mainWindow)) {
        figures.problem = "the wizard did not reach the destination page";
        return;
    }
    HWND bar = findProgressBar(mainWindow);
    HWND destination = visiblePage(mainWindow);
    if (bar == nullptr || destination == nullptr) {
        figures.problem = "no progress bar or destination page";
        return;
    }
    watchSteps(destination, bar, figures);
}

}  // namespace

RunFigures measureInstallRun(const std::wstring& setupExe) {
    RunFigures figures{};
    ChildProcess child;
    const double startedAt = nowMs();
    if (!child.start(setupExe)) {
        figures.problem = "cannot start the installer";
        return figures;
    }
    HWND mainWindow = waitForWindow(child, InstallerTitle);
    if (mainWindow == nullptr) {
        figures.problem = "no main window";
        return figures;
    }
    figures.startToWindowMs = nowMs() - startedAt;
    WaitForInputIdle(child.info.hProcess, 5000);
    install(mainWindow, figures);
    if (!figures.problem.empty()) {
        return figures;
    }
    readMemory(child.info.hProcess, figures);
    pressNext(visiblePage(mainWindow));  // Close
    if (WaitForSingleObject(child.info.hProcess, 10000) != WAIT_OBJECT_0) {
        figures.problem = "the installer did not end after Close";
        return figures;
    }
    GetExitCodeProcess(child.info.hProcess, &figures.exitCode);
    return figures;
}

ProgramFigures measureProgram(const std::wstring& exe) {
    ProgramFigures figures{-1, 0};
    ChildProcess child;
    const double startedAt = nowMs();
    if (!child.start(exe)) {
        return figures;
    }
    HWND window = waitForWindow(child, nullptr);
    const double elapsed = nowMs() - startedAt;
    if (window == nullptr) {
        return figures;
    }
    figures.startToWindowMs = elapsed;
    WaitForInputIdle(child.info.hProcess, 5000);
    RunFigures memory{};
    readMemory(child.info.hProcess, memory);
    figures.peakWorkingSet = memory.peakWorkingSet;
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(child.info.hProcess, 5000);
    return figures;
}
