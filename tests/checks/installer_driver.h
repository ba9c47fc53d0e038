// The installer driven as a person drives it: started, its window brought to the front,
// real key presses, each waited for until its effect shows (a page, a text, the window gone),
// and a screenshot of a page where the check wants one.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/checks/check_run.h"
#include "tests/checks/child_process.h"
#include "tests/checks/desktop_input.h"

enum class Page { None, Licence, Components, Destination, Progress };

struct RunningInstaller {
    ChildProcess process;
    HWND window = nullptr;
};

// Starts the installer of the folder and waits for its wizard. When the wizard does not
// show, the check fails naming what did (the start-up error box, whose OK is then pressed).
RunningInstaller startInstaller(CheckRun& run);

// The page that shows: the one whose own control (licence text, first check box,
// destination field, progress bar) is visible.
Page visiblePage(HWND window);

// Presses KEY in WINDOW and waits up to 30 s for EFFECT; fails the check, naming WHAT,
// when the key cannot be pressed or the effect does not show.
void pressFor(CheckRun& run, HWND window, KeyPress key, const std::wstring& what,
              const std::function<bool()>& effect);

// Saves a screenshot of WINDOW as results\screenshots\NAME.png; a finding when it cannot.
void screenshot(CheckRun& run, HWND window, const std::wstring& name);

// The progress page's status line (the result once the installation is done), the
// details list's lines, the progress bar's position, the destination field.
std::wstring statusLine(HWND window);
std::vector<std::wstring> detailsLines(HWND window);
int progressPosition(HWND window);
std::wstring destinationField(HWND window);

// Waits for the installation's result on the progress page and returns it.
std::wstring awaitResult(CheckRun& run, HWND window);

// Presses Close (Enter) on the finished progress page; the installer must end with exit
// code 0.
void closeInstaller(CheckRun& run, RunningInstaller& installer);

// A whole installation with the installer's choices, as a person makes it: Enter on the
// licence, components and destination pages, the result awaited, then Close. The result
// must be "Installation completed successfully.".
void installWithDefaults(CheckRun& run);
