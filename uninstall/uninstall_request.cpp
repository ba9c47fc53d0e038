#include "uninstall/uninstall_request.h"

#include "command_line/command_line.h"

namespace {

constexpr std::wstring_view SilentSwitch = L"/S";
constexpr std::wstring_view HelperSwitch = L"/helper";

wchar_t lowerCase(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Switches are matched without regard to the case of their letters.
bool isSwitch(std::wstring_view argument, std::wstring_view name)
{
    if (argument.size() != name.size()) {
        return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        if (lowerCase(argument[i]) != lowerCase(name[i])) {
            return false;
        }
    }
    return true;
}

// A handle value: decimal digits only, not zero, within 64 bits.
std::optional<uint64_t> parseHandle(std::wstring_view text)
{
    if (text.empty() || text.size() > 20) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        const uint64_t digit = static_cast<uint64_t>(c - L'0');
        if (value > (UINT64_MAX - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value == 0 ? std::nullopt : std::optional<uint64_t>(value);
}

}  // namespace

std::optional<UninstallRequest> parseRequest(std::span<const std::wstring> arguments)
{
    UninstallRequest request;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (isSwitch(arguments[i], SilentSwitch) && !request.silent) {
            request.silent = true;
        } else if (isSwitch(arguments[i], HelperSwitch) && request.role == Role::Original &&
                   i + 4 < arguments.size()) {
            const std::optional<uint64_t> process = parseHandle(arguments[i + 1]);
            const std::optional<uint64_t> pipe = parseHandle(arguments[i + 2]);
            const std::optional<uint64_t> file = parseHandle(arguments[i + 3]);
            if (!process || !pipe || !file || arguments[i + 4].empty()) {
                return std::nullopt;
            }
            request.role = Role::Helper;
            request.originalProcess = *process;
            request.resultPipe = *pipe;
            request.originalFile = *file;
            request.original = arguments[i + 4];
            i += 4;
        } else {
            return std::nullopt;
        }
    }
    return request;
}

std::wstring helperCommandLine(std::wstring_view helperPath, const UninstallRequest& request)
{
    std::wstring line = quoteArgument(helperPath);
    if (request.silent) {
        line += L' ';
        line += SilentSwitch;
    }
    line += L' ';
    line += HelperSwitch;
    line += L' ' + std::to_wstring(request.originalProcess);
    line += L' ' + std::to_wstring(request.resultPipe);
    line += L' ' + std::to_wstring(request.originalFile);
    line += L' ' + quoteArgument(request.original);
    return line;
}
