// Windows command lines as the uninstaller and the sample applications read and write them.
// Portable, so that host tests and a fuzzer check them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Returns the text after the program's own name, without surrounding blanks and without
// the quotes around it. A quoted argument ends at its closing quote; an unquoted one runs
// to the end of the line, so a path with blanks works either way. Backslashes are never
// escapes: a quoted folder such as "C:\Data\" keeps its final backslash, and the doubled
// one that argv-style quoting writes before a closing quote ("C:\Data\\") counts once,
// since no path ends in two backslashes.
std::wstring_view programArgument(std::wstring_view commandLine);

// Splits a command line into the program name and its arguments by the rules of the
// Windows C runtime: the program name ends at its closing quote or the first blank, with
// no escapes; in the arguments 2n backslashes before a quote give n backslashes and open
// or close a quoted part, 2n + 1 give n backslashes and a literal quote, and inside a
// quoted part a doubled quote gives one quote. Other backslashes are literal.
std::vector<std::wstring> splitArguments(std::wstring_view commandLine);

// Quotes one argument so that splitArguments gives it back unchanged; an argument without
// blanks or quotes stays as it is.
std::wstring quoteArgument(std::wstring_view argument);
