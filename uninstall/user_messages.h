// How the uninstaller talks to the user: message boxes, or standard error when it runs
// without windows (/S).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The system's sentence for an error code, without its line break.
std::wstring systemMessage(DWORD error);

// The last error of a call that failed; never ERROR_SUCCESS, even when the call set none.
DWORD lastError();

// Asks the question with Yes and No; true for Yes.
bool askYesNo(std::wstring_view caption, std::wstring_view question);

enum class MessageKind {
    Information,  // all went as asked
    Warning,      // done, but something goes only later
    Problem,      // something stays, or nothing was done
};

// Shows the text in a message box; silent runs write warnings and problems to standard
// error instead, as UTF-8, and keep information to themselves.
void tellUser(bool silent, MessageKind kind, std::wstring_view caption, std::wstring_view text);
