#include "tests/checks/installation_expectations.h"

#include <shlobj.h>

#include <algorithm>

#include "tests/checks/file_bytes.h"
#include "tests/checks/window_reading.h"

const std::vector<std::wstring> ApplicationNames = {
    L"Brinet", L"PaneVista", L"QuietVault", L"Padwick",
    L"Tunewell", L"Notarel", L"LockBin", L"Packrill"};

namespace {

constexpr wchar_t Classes[] = L"Software\\Classes\\";
constexpr wchar_t Registration[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris";

struct ExpectedValue {
    std::wstring key;
    std::wstring name;  // empty: the key's default value
    DWORD type;
    std::wstring text;
    DWORD number;
    // Another text that is right as well (the day before, for an installation at midnight).
    std::wstring alternative = {};
};

// The local date DAYS_BACK days ago as YYYYMMDD, as the installer writes InstallDate.
std::wstring localDate(int daysBack)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
    ticks.QuadPart -= static_cast<ULONGLONG>(daysBack) * 24 * 3600 * 10000000ULL;
    const FILETIME then{ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    FileTimeToSystemTime(&then, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    wchar_t text[16];
    swprintf(text, 16, L"%04u%02u%02u", local.wYear, local.wMonth, local.wDay);
    return text;
}

// NAMES sorted without regard to case, joined by spaces.
std::wstring joinedSorted(std::vector<std::wstring> names)
{
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    std::wstring text;
    for (const std::wstring& name : names) {
        text += (text.empty() ? L"" : L" ") + name;
    }
    return text;
}

std::wstring packNames(const std::wstring& extension, bool withUninstaller)
{
    std::vector<std::wstring> names;
    for (const std::wstring& name : ApplicationNames) {
        names.push_back(name + extension);
    }
    if (withUninstaller) {
        names.push_back(L"uninstall.exe");
    }
    return joinedSorted(names);
}

// The time stamp the package gives every application: the build's SOURCE_DATE_EPOCH.
ULONGLONG packageTime()
{
    constexpr ULONGLONG SecondsFrom1601To1970 = 11644473600ULL;
    return (static_cast<ULONGLONG>(VELKARIS_PACKAGE_TIME) + SecondsFrom1601To1970) * 10000000ULL;
}

ULONGLONG lastWriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

ULONGLONG fileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void addFileType(std::vector<ExpectedValue>& values, const std::wstring& extension,
                 const std::wstring& progId, const std::wstring& description,
                 const std::wstring& program)
{
    const std::wstring key = Classes + progId;
    values.push_back({Classes + extension, L"", REG_SZ, progId, 0});
    values.push_back({key, L"", REG_SZ, description, 0});
    values.push_back({key + L"\\DefaultIcon", L"", REG_SZ, program + L",0", 0});
    values.push_back({key + L"\\shell", L"", REG_SZ, L"open", 0});
    values.push_back({key + L"\\shell\\open\\command", L"", REG_SZ,
                      L"\"" + program + L"\" \"%1\"", 0});
}

// Today's values of a full installation into DESTINATION.
std::vector<ExpectedValue> expectedValues(const std::wstring& destination, DWORD sizeKiB)
{
    std::vector<ExpectedValue> values;
    const std::wstring tunewell = destination + L"Tunewell.exe";
    for (const std::wstring verb : {L"Directory\\shell\\Tunewell",
                                    L"SystemFileAssociations\\audio\\shell\\Tunewell"}) {
        values.push_back({Classes + verb, L"", REG_SZ, L"Play with Tunewell", 0});
        values.push_back({Classes + verb + L"\\command", L"", REG_SZ,
                          L"\"" + tunewell + L"\" \"%1\"", 0});
    }
    addFileType(values, L".ntxt", L"Notarel.Document", L"Notarel Document",
                destination + L"Notarel.exe");
    addFileType(values, L".lbx", L"LockBin.File", L"LBX Encrypted File",
                destination + L"LockBin.exe");
    addFileType(values, L".pkr", L"Packrill.File", L"Packrill Archive",
                destination + L"Packrill.exe");
    values.push_back({L"Software\\Velkaris", L"AppPath", REG_SZ, destination, 0});
    const std::wstring uninstaller = destination + L"uninstall.exe";
    values.push_back({Registration, L"DisplayIcon", REG_SZ, uninstaller + L",0", 0});
    values.push_back({Registration, L"DisplayName", REG_SZ, L"Velkaris App Pack (Single User)", 0});
    values.push_back({Registration, L"DisplayVersion", REG_SZ, L"2308", 0});
    values.push_back({Registration, L"Publisher", REG_SZ, L"Velkaris", 0});
    values.push_back({Registration, L"UninstallString", REG_SZ, L"\"" + uninstaller + L"\"", 0});
    values.push_back({Registration, L"EstimatedSize", REG_DWORD, L"", sizeKiB});
    values.push_back({Registration, L"NoModify", REG_DWORD, L"", 1});
    values.push_back({Registration, L"NoRepair", REG_DWORD, L"", 1});
    values.push_back({Registration, L"QuietUninstallString", REG_SZ,
                      L"\"" + uninstaller + L"\" /S", 0});
    values.push_back({Registration, L"InstallLocation", REG_SZ, destination, 0});
    values.push_back({Registration, L"InstallDate", REG_SZ, localDate(0), 0, localDate(1)});
    return values;
}

std::wstring valueName(const ExpectedValue& value)
{
    return L"HKCU\\" + value.key + L" " + (value.name.empty() ? L"(default)" : value.name);
}

void expectValue(CheckRun& run, const ExpectedValue& expected)
{
    BYTE data[2048] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    const LONG read = RegGetValueW(HKEY_CURRENT_USER, expected.key.c_str(),
                                   expected.name.empty() ? nullptr : expected.name.c_str(),
                                   RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size);
    if (read != ERROR_SUCCESS) {
        run.expect(false, valueName(expected) + L" is missing (error " + std::to_wstring(read) + L")");
        return;
    }
    run.expect(type == expected.type, valueName(expected) + L" has type " + std::to_wstring(type) +
                                          L", not " + std::to_wstring(expected.type));
    if (expected.type == REG_DWORD) {
        DWORD number = 0;
        memcpy(&number, data, sizeof number);
        run.expect(size == 4 && number == expected.number,
                   valueName(expected) + L" is " + std::to_wstring(number) + L", not " +
                       std::to_wstring(expected.number));
        return;
    }
    const std::wstring text(reinterpret_cast<const wchar_t*>(data));
    run.expect((text == expected.text || (!expected.alternative.empty() && text == expected.alternative)) &&
                   size == (text.size() + 1) * sizeof(wchar_t),
               valueName(expected) + L" is \"" + text + L"\" (" + std::to_wstring(size) +
                   L" bytes), not \"" + expected.text + L"\" with its terminator");
}

// The shortcut's target and what else it carries; an empty target when it cannot be read.
struct ShortcutParts {
    std::wstring target;
    std::wstring extras;
};

ShortcutParts readShortcut(const std::wstring& path)
{
    ShortcutParts parts;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return parts;
    }
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            wchar_t text[MAX_PATH * 2] = {};
            link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH);
            parts.target = text;
            const auto add = [&](const wchar_t* what, HRESULT got) {
                if (SUCCEEDED(got) && text[0] != L'\0') {
                    parts.extras += std::wstring(L" ") + what + L" \"" + text + L"\"";
                }
                text[0] = L'\0';
            };
            text[0] = L'\0';
            add(L"arguments", link->GetArguments(text, MAX_PATH * 2));
            add(L"description", link->GetDescription(text, MAX_PATH * 2));
            add(L"working folder", link->GetWorkingDirectory(text, MAX_PATH * 2));
            int icon = 0;
            add(L"icon", link->GetIconLocation(text, MAX_PATH * 2, &icon));
        }
        file->Release();
    }
    link->Release();
    return parts;
}

}  // namespace

std::wstring folderListing(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(name);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return joinedSorted(names);
}

std::vector<std::wstring> expectedDetails(const std::wstring& destination, const std::wstring& menu)
{
    std::vector<std::wstring> lines;
    for (const std::wstring& name : ApplicationNames) {
        lines.push_back(destination + name + L".exe");
        lines.push_back(menu + name + L".lnk");
    }
    lines.push_back(destination + L"uninstall.exe");
    return lines;
}

void expectInstalledFiles(CheckRun& run, const std::wstring& destination)
{
    const std::wstring names = folderListing(destination);
    run.expect(names == packNames(L".exe", true),
               destination + L" holds \"" + names + L"\", not the eight applications and uninstall.exe");
    std::vector<std::wstring> files = ApplicationNames;
    for (std::wstring& name : files) {
        name += L".exe";
    }
    files.push_back(L"uninstall.exe");
    for (const std::wstring& name : files) {
        const std::wstring installed = destination + name;
        const std::string bytes = fileBytes(installed);
        run.expect(!bytes.empty() && bytes == fileBytes(run.folder.pack + name),
                   installed + L" is not the pack's " + name + L" byte for byte");
        if (name != L"uninstall.exe") {
            run.expect(lastWriteTime(installed) == packageTime(),
                       installed + L" does not carry the package's time stamp");
        }
    }
    run.log(L"the files are the pack's, byte for byte, with the package's time");
}

void expectShortcuts(CheckRun& run, const std::wstring& menu, const std::wstring& destination)
{
    const std::wstring names = folderListing(menu);
    run.expect(names == packNames(L".lnk", false),
               menu + L" holds \"" + names + L"\", not the eight shortcuts");
    for (const std::wstring& name : ApplicationNames) {
        const std::wstring link = menu + name + L".lnk";
        const ShortcutParts parts = readShortcut(link);
        run.expect(parts.target == destination + name + L".exe",
                   link + L" leads to \"" + parts.target + L"\", not to " + destination + name +
                       L".exe");
        run.expect(parts.extras.empty(), link + L" carries more than its target:" + parts.extras);
    }
    run.log(L"the shortcuts lead to the programs and carry nothing else");
}

void expectRegistryValues(CheckRun& run, const std::wstring& destination)
{
    ULONGLONG required = fileSize(run.folder.pack + L"uninstall.exe");
    for (const std::wstring& name : ApplicationNames) {
        required += fileSize(run.folder.pack + name + L".exe");
    }
    for (const ExpectedValue& value : expectedValues(destination, static_cast<DWORD>(required >> 10))) {
        expectValue(run, value);
    }
    run.log(L"the file types, verbs, AppPath and the uninstall registration are right");
}
