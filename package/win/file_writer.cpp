// Writes one byte range of the unpacked package block to a new file, with its stored time.
#include <windows.h>

#include "package/package_types.h"

namespace {

// Writes n bytes from data to the open file and applies the last-write time when given.
uint32_t writeRange(HANDLE file, const uint8_t* data, uint32_t n, const FileTime* lastWriteTime) {
    DWORD written = 0;
    if (!WriteFile(file, data, n, &written, nullptr) || written != n) {
        return WriteFailed;
    }
    if (lastWriteTime != nullptr) {
        FILETIME time;
        time.dwLowDateTime = lastWriteTime->lowDateTime;
        time.dwHighDateTime = lastWriteTime->highDateTime;
        SetFileTime(file, nullptr, nullptr, &time);
    }
    return Ok;
}

}  // namespace

uint32_t UnpackBuffer::writeToFile(const wchar_t* path, uint32_t offset, uint32_t count,
                                   const FileTime* lastWriteTime) {
    if (path == nullptr || data == nullptr || offset > length) {
        return CannotCreate;
    }
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return CannotCreate;
    }
    const uint32_t remaining = length - offset;
    const uint32_t n = count < remaining ? count : remaining;
    const uint32_t result = writeRange(file, data + offset, n, lastWriteTime);
    CloseHandle(file);
    return result;
}
