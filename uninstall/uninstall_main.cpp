// The pack's uninstaller, in two editions built from this source. This edition's
// (uninstall.exe) removes the per-user installation it was started from; started with /S
// it shows no window and reports problems on standard error. The all-users edition
// (VELKARIS_ALL_USERS_EDITION) belongs to a pack that this package does not install: it
// says so, removes nothing and ends with the exit code Refused.
#include <windows.h>

#include <span>

#include "command_line/command_line.h"
#include "uninstall/uninstall_run.h"
#include "uninstall/user_messages.h"

namespace {

constexpr std::wstring_view UsageText =
    L"Usage: uninstall.exe [/S]\r\n\r\nWithout arguments the uninstaller asks before it removes "
    L"the pack; /S removes it without asking and without windows. Nothing was removed.";

constexpr std::wstring_view AllUsersCaption = L"Velkaris App Pack (All Users) Uninstall";
constexpr std::wstring_view AllUsersText =
    L"This uninstaller belongs to Velkaris App Pack (All Users), the edition installed for "
    L"all users of the computer. It does not remove Velkaris App Pack (Single User): use "
    L"uninstall.exe in the same folder for that. Nothing was removed.";

// A run that names /S among arguments it does not understand still wants no window.
bool asksForSilence(std::span<const std::wstring> arguments)
{
    for (const std::wstring& argument : arguments) {
        if (argument == L"/S" || argument == L"/s") {
            return true;
        }
    }
    return false;
}

ExitCode run()
{
    const std::vector<std::wstring> arguments = splitArguments(GetCommandLineW());
    const std::span<const std::wstring> given = std::span<const std::wstring>(arguments).subspan(1);
    const std::optional<UninstallRequest> request = parseRequest(given);
    if (VELKARIS_ALL_USERS_EDITION) {
        tellUser(asksForSilence(given), MessageKind::Problem, AllUsersCaption, AllUsersText);
        return ExitCode::Refused;
    }
    // The helper's arguments are not for users: a helper that was not started by its
    // original is refused like any other misuse.
    if (!request || (request->role == Role::Helper && !comesFromItsOriginal(*request))) {
        tellUser(asksForSilence(given), MessageKind::Problem, UninstallCaption, UsageText);
        return ExitCode::Refused;
    }
    return request->role == Role::Helper ? runHelper(*request) : runOriginal(request->silent);
}

// From here on, DLLs loaded by name come only from the system folder: the helper runs from
// the temporary folder, where other programs drop files. The call is looked up at run
// time, so that systems without it still start the uninstaller.
void restrictDllSearch()
{
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const FARPROC found =
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (found != nullptr) {
        reinterpret_cast<SetDirectories>(reinterpret_cast<void (*)()>(found))(
            LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    restrictDllSearch();
    return static_cast<int>(run());
}
