#include "package/tool/file_time.h"

#include <charconv>
#include <cstdio>

namespace {

// From 1601-01-01 to 1970-01-01.
constexpr FileTimeTicks UnixEpochOffset = std::chrono::seconds{11'644'473'600};

}  // namespace

uint64_t fileTimeValue(FileTime time) {
    return uint64_t{time.highDateTime} << 32 | time.lowDateTime;
}

FileTime fileTimeFromValue(uint64_t value) {
    return {static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32)};
}

std::optional<FileTime> fileTimeFromSys(std::chrono::sys_time<FileTimeTicks> moment) {
    const FileTimeTicks sinceFileTimeEpoch = moment.time_since_epoch() + UnixEpochOffset;
    if (sinceFileTimeEpoch.count() < 0) {
        return std::nullopt;
    }
    return fileTimeFromValue(static_cast<uint64_t>(sinceFileTimeEpoch.count()));
}

std::chrono::sys_time<FileTimeTicks> sysTimeFromFileTime(FileTime time) {
    // Values above the signed range (far beyond year 30000) are not valid FILETIMEs;
    // they are clamped rather than wrapped into the past.
    const uint64_t value = fileTimeValue(time);
    const uint64_t limit = static_cast<uint64_t>(INT64_MAX);
    const FileTimeTicks ticks{static_cast<int64_t>(value > limit ? limit : value)};
    return std::chrono::sys_time<FileTimeTicks>{ticks - UnixEpochOffset};
}

std::string formatIso8601(FileTime time) {
    using namespace std::chrono;
    const sys_time<FileTimeTicks> moment = sysTimeFromFileTime(time);
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss clock{moment - day};
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", int{date.year()},
                  unsigned{date.month()}, unsigned{date.day()},
                  static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    std::string result = text;
    const int64_t fraction = clock.subseconds().count();
    if (fraction != 0) {
        std::snprintf(text, sizeof text, ".%07lld", static_cast<long long>(fraction));
        result += text;
    }
    return result + "Z";
}

std::optional<FileTime> parseSourceDateEpoch(std::string_view text) {
    int64_t seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
        seconds < 0 || seconds > INT64_MAX / 10'000'000 - UnixEpochOffset.count() / 10'000'000) {
        return std::nullopt;
    }
    return fileTimeFromSys(std::chrono::sys_time<FileTimeTicks>{std::chrono::seconds{seconds}});
}
