// The package's in-memory records and result codes, shared by the installer and the
// package tool. Portable: no Windows headers, so host tests and fuzzers can use it.
#pragma once

#include <cstdint>

// Result of the package operations; 0 means success, every other value is a failure.
enum PackageStatus : uint32_t {
    Ok = 0,
    ResourceInvalid = 4,
    OutOfMemory = 7,
    CannotCreate = 16,
    WriteFailed = 17,
    PackageCorrupt = 21,
};

// Same layout as the Windows FILETIME: 100 ns intervals since 1601-01-01 UTC, low part first.
struct FileTime {
    uint32_t lowDateTime;
    uint32_t highDateTime;
};

// Where an installer carries its package: the integer resource 102 of type RCDATA (10) in
// language 1033 (U.S. English), as resources/setup.rc declares it.
constexpr uint32_t PackageResourceType = 10;
constexpr uint32_t PackageResourceId = 102;
constexpr uint32_t PackageResourceLanguage = 1033;

constexpr uint32_t PackageEntryCount = 11;
constexpr uint32_t PackageHeaderRowSize = 12;
constexpr uint32_t PackageHeaderSize = PackageEntryCount * PackageHeaderRowSize;  // 132
constexpr uint32_t UnpackBlockSize = 4194304;  // 4 MiB: the largest image a package may hold

// Row roles of the package header.
constexpr uint32_t LicenceEntry = 0;
constexpr uint32_t OtherUninstallerEntry = 9;
constexpr uint32_t UninstallerEntry = 10;

// One row of the file table, derived from the header of the unpacked image.
struct PackageEntry {
    uint32_t offset;
    uint32_t size;
    FileTime lastWriteTime;
};

// The owned block that holds the unpacked package. Zero-filled means released.
struct UnpackBuffer {
    uint8_t* data;
    uint32_t owned;
    uint32_t capacity;
    uint32_t length;

    // Releases any owned block, then allocates a zeroed 4 MiB one; null when the heap refuses.
    uint8_t* allocate();
    // Frees an owned block and resets the fields; a block not owned is left alone.
    void release();
#ifdef _WIN32
    // Writes bytes [offset, offset + count) of the block, clamped to length, to a new file.
    uint32_t writeToFile(const wchar_t* path, uint32_t offset, uint32_t count,
                         const FileTime* lastWriteTime);
#endif
};

// The three values that describe the one package a build carries.
struct PackageConstants {
    uint32_t resourceSize;
    uint32_t imageLength;
    uint32_t checksum;
};
