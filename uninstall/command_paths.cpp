#include "uninstall/command_paths.h"

#include "command_line/command_line.h"

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t folded(wchar_t c)
{
    if (isSeparator(c)) {
        return L'\\';
    }
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring_view withoutTrailingSeparator(std::wstring_view path)
{
    if (!path.empty() && isSeparator(path.back())) {
        path.remove_suffix(1);
    }
    return path;
}

}  // namespace

bool samePath(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (folded(a[i]) != folded(b[i])) {
            return false;
        }
    }
    return true;
}

bool sameFolder(std::wstring_view a, std::wstring_view b)
{
    a = withoutTrailingSeparator(a);
    b = withoutTrailingSeparator(b);
    return !a.empty() && samePath(a, b);
}

std::wstring_view folderOf(std::wstring_view path)
{
    const size_t last = path.find_last_of(L"\\/");
    return last == std::wstring_view::npos ? std::wstring_view{} : path.substr(0, last + 1);
}

std::wstring_view parentOf(std::wstring_view folder)
{
    return folderOf(withoutTrailingSeparator(folder));
}

std::wstring commandProgram(std::wstring_view command)
{
    return splitArguments(command).front();
}

bool commandRunsFrom(std::wstring_view command, std::wstring_view folder)
{
    const std::wstring program = commandProgram(command);
    return sameFolder(folderOf(program), folder);
}
