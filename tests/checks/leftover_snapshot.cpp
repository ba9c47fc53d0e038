#include "tests/checks/leftover_snapshot.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

#include "tests/checks/user_places.h"

namespace {

constexpr wchar_t Classes[] = L"Software\\Classes\\";
constexpr wchar_t CurrentVersion[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

bool startsWithVelkaris(const wchar_t* name)
{
    return CompareStringOrdinal(name, 8, L"Velkaris", 8, TRUE) == CSTR_EQUAL;
}

bool samePath(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// FOLDER's entries (all of them, or those named Velkaris... when ONLY_OURS), with everything
// below them.
void listFiles(const std::wstring& folder, bool onlyOurs, const std::wstring& skipped,
               std::vector<std::wstring>& lines)
{
    // The \\?\ form reaches paths longer than MAX_PATH, as test programs make them.
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((L"\\\\?\\" + folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        const std::wstring path = folder + L"\\" + name;
        if (name == L"." || name == L".." || (onlyOurs && !startsWithVelkaris(found.cFileName)) ||
            samePath(path + L"\\", skipped)) {
            continue;
        }
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            lines.push_back(L"folder " + path);
            listFiles(path, false, skipped, lines);
        } else {
            const ULONGLONG size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) |
                                   found.nFileSizeLow;
            lines.push_back(L"file " + path + L" " + std::to_wstring(size));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::wstring valueText(DWORD type, const BYTE* data, DWORD size)
{
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        return std::wstring(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t)).c_str();
    }
    if (type == REG_DWORD && size == 4) {
        DWORD number = 0;
        memcpy(&number, data, 4);
        return std::to_wstring(number);
    }
    std::wstring hex;
    for (DWORD i = 0; i < size; ++i) {
        wchar_t pair[4];
        swprintf(pair, 4, L"%02x", data[i]);
        hex += pair;
    }
    return hex;
}

// The key's values, "value ROOT\PATH NAME = (TYPE) DATA"; with DEPTH > 0 also its subkeys'
// names ("key ...") and, to that depth, their values and subkeys.
void listKey(HKEY root, const std::wstring& rootName, const std::wstring& path, int depth,
             bool values, std::vector<std::wstring>& lines)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    const std::wstring shown = rootName + L"\\" + path;
    for (DWORD i = 0; values; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        BYTE data[4096];
        DWORD size = sizeof data;
        DWORD type = 0;
        const LONG read = RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size);
        if (read == ERROR_NO_MORE_ITEMS) {
            break;
        }
        lines.push_back(L"value " + shown + L" " + std::wstring(name) + L" = (" +
                        std::to_wstring(type) + L") " +
                        (read == ERROR_SUCCESS ? valueText(type, data, size) : L"(too long)"));
    }
    for (DWORD i = 0; depth > 0; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        lines.push_back(L"key " + shown + L"\\" + name);
        if (depth > 1) {
            listKey(root, rootName, path + L"\\" + name, depth - 1, true, lines);
        }
    }
    RegCloseKey(key);
}

// Every value and subkey below the key, however deep, and the key itself.
void listTree(HKEY root, const std::wstring& rootName, const std::wstring& path,
              std::vector<std::wstring>& lines)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    RegCloseKey(key);
    lines.push_back(L"key " + rootName + L"\\" + path);
    listKey(root, rootName, path, 64, true, lines);
}

// The keys of the pack's file types and verbs, below a Classes key.
const wchar_t* const PackClasses[] = {
    L".ntxt", L".lbx", L".pkr", L"Notarel.Document", L"LockBin.File", L"Packrill.File",
    L"Directory\\shell\\Tunewell", L"SystemFileAssociations\\audio\\shell\\Tunewell"};

}  // namespace

std::vector<std::wstring> leftoverSnapshot(const std::wstring& checksFolder)
{
    const UserPlaces& places = userPlaces();
    std::vector<std::wstring> lines;
    for (const std::wstring& folder :
         {places.systemDrive, places.appData, places.programs, places.temporary,
          places.localAppData, places.programFiles, places.programFilesX86,
          places.commonPrograms}) {
        listFiles(folder, true, checksFolder, lines);
    }
    const std::wstring user = L"HKCU";
    listKey(HKEY_CURRENT_USER, user, L"Software", 1, false, lines);
    listKey(HKEY_CURRENT_USER, user, L"Software\\Classes", 1, false, lines);
    listKey(HKEY_CURRENT_USER, user, std::wstring(CurrentVersion) + L"Uninstall", 1, false, lines);
    for (const wchar_t* values : {L"RunOnce", L"Run", L"Explorer\\User Shell Folders"}) {
        listKey(HKEY_CURRENT_USER, user, std::wstring(CurrentVersion) + values, 0, true, lines);
    }
    listTree(HKEY_CURRENT_USER, user, L"Software\\Velkaris", lines);
    listTree(HKEY_CURRENT_USER, user, std::wstring(CurrentVersion) + L"Uninstall\\Velkaris", lines);
    // The machine-wide places a per-user installation must never write: with UAC off, as on
    // hosted CI runners, a program could write there and still seem to work.
    const std::wstring machine = L"HKLM";
    listTree(HKEY_LOCAL_MACHINE, machine, L"Software\\Velkaris", lines);
    listTree(HKEY_LOCAL_MACHINE, machine, std::wstring(CurrentVersion) + L"Uninstall\\Velkaris",
             lines);
    listTree(HKEY_LOCAL_MACHINE, machine,
             L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris",
             lines);
    for (const wchar_t* key : PackClasses) {
        listTree(HKEY_CURRENT_USER, user, std::wstring(Classes) + key, lines);
        listTree(HKEY_LOCAL_MACHINE, machine, std::wstring(Classes) + key, lines);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool isMachineWide(const std::wstring& line)
{
    const UserPlaces& places = userPlaces();
    if (line.find(L" HKLM\\") != std::wstring::npos) {
        return true;
    }
    for (const std::wstring& folder :
         {places.programFiles, places.programFilesX86, places.commonPrograms}) {
        for (const std::wstring kind : {L"file ", L"folder "}) {
            const std::wstring start = kind + folder + L"\\";
            if (!folder.empty() && CompareStringOrdinal(line.c_str(), static_cast<int>(
                                       std::min(line.size(), start.size())), start.c_str(),
                                       static_cast<int>(start.size()), TRUE) == CSTR_EQUAL) {
                return true;
            }
        }
    }
    return false;
}

std::wstring snapshotDifferences(const std::vector<std::wstring>& before,
                                 const std::vector<std::wstring>& after)
{
    std::vector<std::wstring> added;
    std::vector<std::wstring> removed;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(added));
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::back_inserter(removed));
    // The first few say what differs; the count says how much.
    constexpr size_t Shown = 8;
    std::wstring text;
    size_t count = 0;
    for (const auto& [mark, lines] : {std::pair{L"+ ", &added}, std::pair{L"- ", &removed}}) {
        for (const std::wstring& line : *lines) {
            if (count++ < Shown) {
                text += (text.empty() ? L"" : L"; ") + std::wstring(mark) + line;
            }
        }
    }
    if (count > Shown) {
        text += L"; and " + std::to_wstring(count - Shown) + L" lines more";
    }
    return text;
}
