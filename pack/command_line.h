// The one argument the sample programs take, cut out of their raw command line.
#pragma once

#include <string_view>

// Returns the text after the program's own name, without surrounding blanks and without
// the quotes around it. A quoted argument ends at its closing quote; an unquoted one runs
// to the end of the line, so a path with blanks works either way. Backslashes are never
// escapes: a quoted folder such as "C:\Data\" keeps its final backslash, and the doubled
// one that argv-style quoting writes before a closing quote ("C:\Data\\") counts once,
// since no path ends in two backslashes.
std::wstring_view programArgument(std::wstring_view commandLine);
