// Conversions between the package's FILETIME stamps, the host's clock and the texts the
// tool reads and prints.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "package/package_types.h"

// The FILETIME unit: 100 ns.
using FileTimeTicks = std::chrono::duration<int64_t, std::ratio<1, 10'000'000>>;

uint64_t fileTimeValue(FileTime time);
FileTime fileTimeFromValue(uint64_t value);

// The stamp of a moment; none for moments before 1601, which a FILETIME cannot hold.
std::optional<FileTime> fileTimeFromSys(std::chrono::sys_time<FileTimeTicks> moment);

// The moment a stamp stands for.
std::chrono::sys_time<FileTimeTicks> sysTimeFromFileTime(FileTime time);

// ISO 8601 in UTC, e.g. "2023-08-01T12:34:56Z"; fractions of a second are shown when the
// stamp has them ("2023-08-01T12:34:56.1234567Z").
std::string formatIso8601(FileTime time);

// The value of SOURCE_DATE_EPOCH: a whole number of seconds since 1970-01-01 UTC. None when
// the text is not such a number.
std::optional<FileTime> parseSourceDateEpoch(std::string_view text);
