// Keeps faults in place for an installation or a removal running beside it, until it is
// killed:
//   fault_holder [file PATH | file-shared-read PATH | file-shared-delete PATH |
//                 folder PATH | current-folder PATH | volatile-key KEY]...
// "file" opens an existing file for reading with share mode 0, so no other program can
// open it at all. "file-shared-read" shares it with readers only, as a scanner that does
// not share deletion, or the system with a running program's image: others may read it, it
// cannot be deleted. "file-shared-delete" shares it with everyone, as a scanner or the
// indexer that does: it can be deleted, but without POSIX semantics its name stays until
// the holder closes it. "folder" opens a folder as a process's current folder is held,
// without sharing its deletion, so it cannot be removed. "current-folder" makes the folder
// this program's current folder, which is what a command prompt open there does: Windows
// refuses to remove it for as long. "volatile-key" creates a key below
// HKEY_CURRENT_USER that lives only in memory, below which the registry refuses every
// lasting key. Prints "holding" once every fault is in place; exits with 1 when one cannot
// be made.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

bool hold(const wchar_t* path, DWORD share, DWORD flags) {
    HANDLE file = CreateFileW(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fwprintf(stderr, L"fault_holder: cannot open %ls (error %lu)\n", path,
                      GetLastError());
        return false;
    }
    return true;
}

bool createVolatileKey(const wchar_t* path) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_VOLATILE,
                                        KEY_WRITE, nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS || disposition != REG_CREATED_NEW_KEY) {
        // An existing key keeps its own kind; the test must remove it first.
        std::fwprintf(stderr, L"fault_holder: cannot create the volatile key %ls (%ld)\n", path,
                      result);
        return false;
    }
    return true;
}

}  // namespace

int wmain(int count, wchar_t** arguments) {
    if (count < 3 || count % 2 == 0) {
        std::fprintf(stderr, "usage: fault_holder [file PATH | file-shared-read PATH | "
                             "file-shared-delete PATH | folder PATH | current-folder PATH | "
                             "volatile-key KEY]...\n");
        return 2;
    }
    for (int i = 1; i + 1 < count; i += 2) {
        const wchar_t* kind = arguments[i];
        const wchar_t* target = arguments[i + 1];
        bool made = false;
        if (std::wcscmp(kind, L"file") == 0) {
            made = hold(target, 0, FILE_ATTRIBUTE_NORMAL);
        } else if (std::wcscmp(kind, L"file-shared-read") == 0) {
            made = hold(target, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL);
        } else if (std::wcscmp(kind, L"file-shared-delete") == 0) {
            made = hold(target, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        FILE_ATTRIBUTE_NORMAL);
        } else if (std::wcscmp(kind, L"folder") == 0) {
            made = hold(target, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_FLAG_BACKUP_SEMANTICS);
        } else if (std::wcscmp(kind, L"current-folder") == 0) {
            made = SetCurrentDirectoryW(target) != 0;
            if (!made) {
                std::fwprintf(stderr, L"fault_holder: cannot enter %ls (error %lu)\n", target,
                              GetLastError());
            }
        } else if (std::wcscmp(kind, L"volatile-key") == 0) {
            made = createVolatileKey(target);
        } else {
            std::fwprintf(stderr, L"fault_holder: unknown fault %ls\n", kind);
        }
        if (!made) {
            return 1;
        }
    }
    std::printf("holding\n");
    std::fflush(stdout);
    Sleep(INFINITE);
    return 0;
}
