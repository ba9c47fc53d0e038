#include "setup/path_helpers.h"

#include <cwchar>

#include "setup/wide_text.h"

wchar_t* buildKeyPath(SetupContext& setup, const wchar_t* c1, const wchar_t* c2,
                      const wchar_t* c3, const wchar_t* c4, const wchar_t* c5,
                      const wchar_t* c6) {
    wchar_t* path = setup.scratch.wide;
    constexpr size_t capacity = sizeof setup.scratch.wide / sizeof(wchar_t);
    copyWide(path, capacity, L"Software");
    for (const wchar_t* component : {c1, c2, c3, c4, c5, c6}) {
        if (component == nullptr) {
            break;
        }
        if (!appendWide(path, capacity, L"\\") || !appendWide(path, capacity, component)) {
            path[0] = L'\0';
            return nullptr;
        }
    }
    return path;
}

void ensureTrailingBackslash(wchar_t* path, size_t capacity) {
    const size_t length = std::wcslen(path);
    if (length > 0 && (path[length - 1] == L'\\' || path[length - 1] == L'/')) {
        path[length - 1] = L'\\';
        return;
    }
    if (length + 2 > capacity) {
        return;
    }
    path[length] = L'\\';
    path[length + 1] = L'\0';
}
