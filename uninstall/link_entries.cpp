#include "uninstall/link_entries.h"

#include "uninstall/command_paths.h"

namespace {

// The path of what the handle is open on, with links resolved (\\?\C:\...), without a
// trailing separator; empty when the system cannot tell.
std::wstring finalPathOf(HANDLE handle)
{
    std::wstring path(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(handle, path.data(),
                                                   static_cast<DWORD>(path.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    path.resize(length < path.size() ? length : 0);
    if (!path.empty() && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

std::wstring finalPathOf(const std::wstring& folder)
{
    const HANDLE handle = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::wstring path = finalPathOf(handle);
    CloseHandle(handle);
    return path;
}

bool isNameSurrogate(HANDLE file)
{
    FILE_ATTRIBUTE_TAG_INFO tag{};
    return GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof(tag)) &&
           (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           IsReparseTagNameSurrogate(tag.ReparseTag);
}

}  // namespace

Entry entryOf(HANDLE file, const std::wstring& path)
{
    if (isNameSurrogate(file)) {
        return Entry::Link;
    }
    // The file itself lies in the folder of its path, under its name: both final paths are
    // resolved alike (mapped and substituted drives, links further up), and compared as
    // the file system compares names.
    const std::wstring_view folder = folderOf(path);
    const std::wstring actual = finalPathOf(file);
    std::wstring expected = finalPathOf(std::wstring(folder));
    if (actual.empty() || expected.empty()) {
        return Entry::Itself;
    }
    expected += L'\\';
    expected += std::wstring_view(path).substr(folder.size());
    const int order = CompareStringOrdinal(actual.c_str(), static_cast<int>(actual.size()),
                                           expected.c_str(), static_cast<int>(expected.size()),
                                           TRUE);
    return order == CSTR_EQUAL ? Entry::Itself : Entry::Elsewhere;
}
