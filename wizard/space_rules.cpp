#include "wizard/space_rules.h"

#include <cstring>
#include <cwchar>

#include "setup/path_limits.h"

namespace {

constexpr char RequiredLabel[] = "Space required:  ";
constexpr char AvailableWord[] = "available: ";
constexpr uint32_t AvailableWordAt = 6;
constexpr uint32_t Megabyte = 1048576;
constexpr uint32_t ApplicationEntries = 8;

static_assert(sizeof RequiredLabel - 1 == SpaceLabelChars);
static_assert(AvailableWordAt + sizeof AvailableWord - 1 == SpaceLabelChars);
static_assert(SpaceLinesExtent >= SpaceLinesZeroed);

// Free space in the smallest unit whose value still fits in 32 bits, rounded down.
void formatFreeSpace(char* destination, uint64_t freeBytes) {
    const uint64_t high = freeBytes >> 32;
    if (high >= 0x40000000) {
        formatNumber(destination, "%u TB", static_cast<uint32_t>(freeBytes >> 40));
    } else if (high >= 0x100000) {
        formatNumber(destination, "%u GB", static_cast<uint32_t>(freeBytes >> 30));
    } else {
        formatNumber(destination, "%u MB", static_cast<uint32_t>(freeBytes >> 20));
    }
}

}  // namespace

uint32_t requiredBytesFor(const PackageEntry (&entries)[PackageEntryCount], uint32_t checkedMask) {
    uint32_t required = 0;
    for (uint32_t i = 0; i < ApplicationEntries; ++i) {
        if (checkedMask & (1u << i)) {
            required += entries[i + 1].size;
        }
    }
    if (required != 0) {
        required += entries[UninstallerEntry].size;
    }
    return required;
}

void writeRequiredLine(char* lines, uint32_t requiredBytes) {
    std::memset(lines, 0, SpaceLinesZeroed);
    std::memcpy(lines, RequiredLabel, SpaceLabelChars);
    formatNumber(lines + SpaceLabelChars, "%u MB", (requiredBytes + (Megabyte - 1)) >> 20);
}

void writeAvailableLine(char* lines, uint64_t freeBytes) {
    std::memcpy(lines + AvailableWordAt, AvailableWord, SpaceLabelChars - AvailableWordAt);
    char* figure = lines + SpaceLabelChars;
    if (freeBytes == MissingFreeSpace) {
        figure[0] = '?';
        figure[1] = '\0';
    } else {
        formatFreeSpace(figure, freeBytes);
    }
}

uint32_t clampFreeSpace(uint64_t freeBytes) {
    return freeBytes < 0x100000000u ? static_cast<uint32_t>(freeBytes) : 0xFFFFFFFFu;
}

bool installAllowed(uint32_t requiredBytes, uint32_t freeSpace32, size_t installDirChars) {
    return requiredBytes != 0 && requiredBytes < freeSpace32 &&
           installDirChars <= MaxDestinationChars;
}

size_t destinationChars(const wchar_t* folder) {
    const size_t length = std::wcslen(folder);
    const bool endsInSeparator = length != 0 && (folder[length - 1] == L'\\' ||
                                                 folder[length - 1] == L'/');
    return endsInSeparator ? length : length + 1;
}

bool destinationFits(const wchar_t* folder) {
    return destinationChars(folder) <= MaxDestinationChars;
}
