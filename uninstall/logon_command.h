// The command that removes a folder at the user's next logon, as the data of a value of the
// per-user RunOnce key: cmd.exe's own rd, started by its full path, with AutoRun (/d) and
// delayed expansion (/v:off) switched off. Portable, so that host tests can check the
// quoting.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The longest command line that a Run or RunOnce value may hold.
inline constexpr size_t RunOnceCommandLimit = 260;

enum class FolderRemoval {
    IfEmpty,       // rd: an empty folder only, so that it never takes a file of the user
    WithContents,  // rd /s /q: only for the helper's own folder below %TEMP%
};

// The path as one argument on cmd's command line. Quotes keep blanks, &, |, <, >, (, ),
// ^ and ! literal. cmd expands %NAME% on its command line wherever NAME is set, quotes or
// not, so every % ends a quoted part and the next part begins with a quote: the text
// between two % then starts with a quote, which no variable's name does. rd removes the
// quotes and gets the path back whole.
std::wstring cmdArgument(std::wstring_view path);

// The command that removes folder (a trailing separator is dropped), with cmd.exe taken
// from systemFolder; nothing when it would be longer than RunOnceCommandLimit.
std::optional<std::wstring> folderRemovalCommand(std::wstring_view systemFolder,
                                                 std::wstring_view folder,
                                                 FolderRemoval removal);
