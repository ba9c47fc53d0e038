#include "pack/command_line.h"

namespace {

constexpr std::wstring_view Blanks = L" \t";

std::wstring_view skipBlanks(std::wstring_view text)
{
    const size_t first = text.find_first_not_of(Blanks);
    return first == std::wstring_view::npos ? std::wstring_view{} : text.substr(first);
}

// The program name is quoted when its path has blanks; it ends at the closing quote,
// otherwise at the first blank.
std::wstring_view skipProgramName(std::wstring_view line)
{
    line = skipBlanks(line);
    if (!line.empty() && line.front() == L'"') {
        const size_t close = line.find(L'"', 1);
        return close == std::wstring_view::npos ? std::wstring_view{} : line.substr(close + 1);
    }
    const size_t end = line.find_first_of(Blanks);
    return end == std::wstring_view::npos ? std::wstring_view{} : line.substr(end);
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

}  // namespace

std::wstring_view programArgument(std::wstring_view commandLine)
{
    std::wstring_view argument = unquoted(skipBlanks(skipProgramName(commandLine)));
    while (argument.ends_with(L"\\\\")) {
        argument.remove_suffix(1);
    }
    return argument;
}
