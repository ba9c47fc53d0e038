#include "tests/win/wizard_browse_script.h"

#include <shlobj.h>

namespace {

BrowseScript* activeScript = nullptr;
UINT_PTR scriptTimer = 0;
HHOOK initialisedHook = nullptr;
// The dialog whose initialisation has returned and which is not answered yet. The browser
// selects its start folder while it initialises and may pump messages meanwhile, so a
// dialog is answered only once its WM_INITDIALOG is done, as a person could only then.
HWND readyDialog = nullptr;

std::wstring textOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

struct Contents {
    bool hasTree = false;
    std::vector<std::wstring> texts;
};

BOOL CALLBACK visitChild(HWND child, LPARAM value) {
    auto* contents = reinterpret_cast<Contents*>(value);
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    contents->hasTree |= lstrcmpiW(className, WC_TREEVIEWW) == 0;
    const std::wstring text = textOf(child);
    if (!text.empty()) {
        contents->texts.push_back(text);
    }
    return TRUE;
}

LRESULT CALLBACK afterWindowProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG && GetWindow(call->hwnd, GW_OWNER)) {
        readyDialog = call->hwnd;
    }
    return CallNextHookEx(initialisedHook, code, wParam, lParam);
}

// Answers the initialised folder browser (it has a tree) or message box, once.
void CALLBACK onScriptTimer(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = readyDialog;
    if (dialog == nullptr || !IsWindowVisible(dialog)) {
        return;
    }
    readyDialog = nullptr;
    Contents contents;
    EnumChildWindows(dialog, visitChild, reinterpret_cast<LPARAM>(&contents));
    const SeenWindow seen{GetWindow(dialog, GW_OWNER), textOf(dialog), contents.texts};
    BrowseScript& script = *activeScript;
    if (contents.hasTree) {
        script.browsers.push_back(seen);
        if (script.accept && !script.select.empty()) {
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                         reinterpret_cast<LPARAM>(script.select.c_str()));
        }
        PostMessageW(dialog, WM_COMMAND, script.accept ? IDOK : IDCANCEL, 0);
    } else {
        script.messageBoxes.push_back(seen);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
}

}  // namespace

void startBrowseScript(BrowseScript& script) {
    activeScript = &script;
    readyDialog = nullptr;
    initialisedHook = SetWindowsHookExW(WH_CALLWNDPROCRET, afterWindowProc, nullptr,
                                        GetCurrentThreadId());
    scriptTimer = SetTimer(nullptr, 0, 100, onScriptTimer);
}

void stopBrowseScript() {
    KillTimer(nullptr, scriptTimer);
    UnhookWindowsHookEx(initialisedHook);
    activeScript = nullptr;
}
