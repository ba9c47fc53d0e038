// Compares the paths and command lines that the registry and the shortcuts hold with the
// installation folder. Portable: no Windows headers. Letters are compared without regard
// to case in the ASCII range only, so a folder that differs in the case of another letter
// counts as different and is left alone; backslash and slash count as the same separator.
#pragma once

#include <string>
#include <string_view>

// True when both name the same file.
bool samePath(std::wstring_view a, std::wstring_view b);
// True when both name the same folder, with or without a trailing separator; an empty
// folder is never the same as anything.
bool sameFolder(std::wstring_view a, std::wstring_view b);
// The folder part of a path, up to and including its last separator; empty without one.
std::wstring_view folderOf(std::wstring_view path);
// The folder that holds folder (with or without its trailing separator), up to and
// including its separator; empty for a root.
std::wstring_view parentOf(std::wstring_view folder);
// The program that a command line starts: the text between its leading quotes, or up to
// the first blank when it does not start with a quote.
std::wstring commandProgram(std::wstring_view command);
// True when the program that the command starts lies directly in folder.
bool commandRunsFrom(std::wstring_view command, std::wstring_view folder);
