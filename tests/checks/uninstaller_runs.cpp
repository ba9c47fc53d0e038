#include "tests/checks/uninstaller_runs.h"

#include <tlhelp32.h>

#include "tests/checks/desktop_input.h"
#include "tests/checks/file_bytes.h"
#include "tests/checks/user_places.h"
#include "tests/checks/window_reading.h"

namespace {

constexpr wchar_t RunOnceKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr wchar_t HelperPrefix[] = L"Velkaris-uninstall-";
constexpr DWORD UninstallDeadline = 60000;

bool containsNoCase(const std::wstring& text, const std::wstring& part)
{
    if (part.size() > text.size()) {
        return false;
    }
    for (size_t at = 0; at + part.size() <= text.size(); ++at) {
        if (CompareStringOrdinal(text.c_str() + at, static_cast<int>(part.size()), part.c_str(),
                                 static_cast<int>(part.size()), TRUE) == CSTR_EQUAL) {
            return true;
        }
    }
    return false;
}

bool helperRuns()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool found = false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry)) {
        const HANDLE process =
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (process == nullptr) {
            continue;
        }
        wchar_t path[MAX_PATH * 2] = {};
        DWORD size = MAX_PATH * 2;
        if (QueryFullProcessImageNameW(process, 0, path, &size)) {
            found = containsNoCase(path, std::wstring(L"\\") + HelperPrefix);
        }
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return found;
}

std::wstring fileText(const std::wstring& path)
{
    std::string text = fileBytes(path);
    std::erase(text, '\r');
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return wide(text);
}

}  // namespace

UninstallResult runSilently(CheckRun& run, const std::wstring& uninstaller)
{
    const std::wstring errors = run.folder.logs + L"uninstall-stderr.txt";
    StartOptions options;
    options.outputFile = run.folder.logs + L"uninstall-stdout.txt";
    options.errorFile = errors;
    DWORD error = 0;
    ChildProcess process = startProcess(quoted(uninstaller) + L" /S", options, error);
    run.require(process.started(), L"cannot start " + uninstaller + L" /S (error " +
                                       std::to_wstring(error) + L")");
    const std::optional<DWORD> code = process.wait(UninstallDeadline);
    run.require(code.has_value(), uninstaller + L" /S did not end within 60 s");
    awaitHelpers(run);
    UninstallResult result{*code, fileText(errors)};
    run.log(L"uninstall.exe /S ended with exit code " + std::to_wstring(result.exitCode) +
            (result.errors.empty() ? L"" : L"; standard error: " + result.errors));
    return result;
}

ChildProcess startCommand(CheckRun& run, const std::wstring& commandLine)
{
    DWORD error = 0;
    ChildProcess process = startProcess(commandLine, {}, error);
    run.require(process.started(),
                L"cannot start " + commandLine + L" (error " + std::to_wstring(error) + L")");
    run.log(L"started " + commandLine);
    return process;
}

void awaitHelpers(CheckRun& run)
{
    run.expect(waitFor([] { return !helperRuns(); }, 30000),
               L"the uninstaller's helper copy still runs after 30 s");
}

std::vector<std::wstring> helperFolders()
{
    std::vector<std::wstring> folders;
    const std::wstring temporary = userPlaces().temporary;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((temporary + L"\\" + HelperPrefix + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return folders;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            folders.push_back(temporary + L"\\" + found.cFileName);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return folders;
}

std::vector<RunOnceValue> runOnceValues()
{
    std::vector<RunOnceValue> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RunOnceKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return values;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t data[1024] = {};
        DWORD size = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
            break;
        }
        values.push_back({name, data});
    }
    RegCloseKey(key);
    return values;
}

std::wstring commandProcessor()
{
    return quoted(userPlaces().system + L"\\cmd.exe");
}

std::wstring helperRemovalCommand(const std::wstring& folder)
{
    return commandProcessor() + L" /d /v:off /c rd /s /q " + quoted(folder);
}

void playSignIn(CheckRun& run)
{
    for (const RunOnceValue& value : runOnceValues()) {
        if (value.name.rfind(L"Velkaris", 0) != 0) {
            continue;
        }
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RunOnceKey, value.name.c_str());
        DWORD error = 0;
        ChildProcess command = startProcess(value.command, {}, error);
        run.expect(command.started(), L"the RunOnce command " + value.command +
                                          L" does not start (error " + std::to_wstring(error) +
                                          L")");
        run.expect(!command.started() || command.wait(30000).has_value(),
                   L"the RunOnce command " + value.command + L" did not end within 30 s");
        run.log(L"at the next sign-in: " + value.command);
    }
}
