// Plays the user's part in the modal folder browser and in message boxes while a test runs
// Browse: a thread timer, serviced by the browser's own message loop, finds the window,
// records what it shows and closes it the way the script says.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct SeenWindow {
    HWND owner = nullptr;
    std::wstring caption;
    std::vector<std::wstring> texts;
};

struct BrowseScript {
    bool accept = true;
    // When not empty, selected in the browser (as a click in its tree would) before OK.
    std::wstring select;

    std::vector<SeenWindow> browsers;
    std::vector<SeenWindow> messageBoxes;
};

// Runs action (which opens the browser) with script answering every browser and box.
template <typename Action>
void runWithBrowseScript(BrowseScript& script, Action action);

void startBrowseScript(BrowseScript& script);
void stopBrowseScript();

template <typename Action>
void runWithBrowseScript(BrowseScript& script, Action action) {
    startBrowseScript(script);
    action();
    stopBrowseScript();
}
