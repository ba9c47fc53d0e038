#include "tests/checks/folder_removal.h"

#include <windows.h>

bool removeFolderTree(const std::wstring& folder)
{
    // The \\?\ form reaches paths longer than MAX_PATH.
    std::wstring path = folder.rfind(L"\\\\?\\", 0) == 0 ? folder : L"\\\\?\\" + folder;
    if (path.back() == L'\\') {
        path.pop_back();
    }
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring entry = path + L"\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
                removeFolderTree(entry);
            } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveDirectoryW(entry.c_str());
            } else {
                SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(entry.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(path.c_str()) ||
           GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}
