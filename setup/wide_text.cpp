#include "setup/wide_text.h"

#include <cwchar>

bool copyWide(wchar_t* destination, size_t capacity, const wchar_t* source) {
    const size_t length = std::wcslen(source);
    if (length >= capacity) {
        return false;
    }
    std::wmemcpy(destination, source, length + 1);
    return true;
}

bool appendWide(wchar_t* destination, size_t capacity, const wchar_t* source) {
    const size_t used = std::wcslen(destination);
    if (used >= capacity) {
        return false;
    }
    return copyWide(destination + used, capacity - used, source);
}
