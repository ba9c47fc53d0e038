#include "command_line/command_line.h"

namespace {

constexpr std::wstring_view Blanks = L" \t";

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view skipBlanks(std::wstring_view text)
{
    const size_t first = text.find_first_not_of(Blanks);
    return first == std::wstring_view::npos ? std::wstring_view{} : text.substr(first);
}

// The program name is quoted when its path has blanks; it ends at the closing quote,
// otherwise at the first blank. Returns the name and leaves the rest in line.
std::wstring_view takeProgramName(std::wstring_view& line)
{
    line = skipBlanks(line);
    if (!line.empty() && line.front() == L'"') {
        const size_t close = line.find(L'"', 1);
        const std::wstring_view name =
            line.substr(1, close == std::wstring_view::npos ? close : close - 1);
        line = close == std::wstring_view::npos ? std::wstring_view{} : line.substr(close + 1);
        return name;
    }
    const size_t end = line.find_first_of(Blanks);
    const std::wstring_view name = line.substr(0, end);
    line = end == std::wstring_view::npos ? std::wstring_view{} : line.substr(end);
    return name;
}

std::wstring_view unquoted(std::wstring_view text)
{
    if (!text.empty() && text.front() == L'"') {
        text.remove_prefix(1);
        return text.substr(0, text.find(L'"'));
    }
    const size_t last = text.find_last_not_of(Blanks);
    return last == std::wstring_view::npos ? std::wstring_view{} : text.substr(0, last + 1);
}

// Reads one argument from the start of line (which begins with a non-blank) and removes
// it, with the backslash and quote rules of splitArguments.
std::wstring takeArgument(std::wstring_view& line)
{
    std::wstring argument;
    bool quoted = false;
    size_t i = 0;
    while (i < line.size() && (quoted || !isBlank(line[i]))) {
        size_t backslashes = 0;
        while (i < line.size() && line[i] == L'\\') {
            ++backslashes;
            ++i;
        }
        if (i < line.size() && line[i] == L'"') {
            argument.append(backslashes / 2, L'\\');
            if (backslashes % 2 == 1) {
                argument += L'"';
            } else if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                argument += L'"';
                ++i;
            } else {
                quoted = !quoted;
            }
            ++i;
        } else if (backslashes > 0) {
            argument.append(backslashes, L'\\');
        } else {
            argument += line[i++];
        }
    }
    line.remove_prefix(i);
    return argument;
}

}  // namespace

std::wstring_view programArgument(std::wstring_view commandLine)
{
    takeProgramName(commandLine);
    std::wstring_view argument = unquoted(skipBlanks(commandLine));
    while (argument.ends_with(L"\\\\")) {
        argument.remove_suffix(1);
    }
    return argument;
}

std::vector<std::wstring> splitArguments(std::wstring_view commandLine)
{
    std::vector<std::wstring> arguments{std::wstring(takeProgramName(commandLine))};
    for (commandLine = skipBlanks(commandLine); !commandLine.empty();
         commandLine = skipBlanks(commandLine)) {
        arguments.push_back(takeArgument(commandLine));
    }
    return arguments;
}

std::wstring quoteArgument(std::wstring_view argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring_view::npos) {
        return std::wstring(argument);
    }
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote itself escaped.
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(2 * backslashes, L'\\');  // they come before the closing quote
    quoted += L'"';
    return quoted;
}
