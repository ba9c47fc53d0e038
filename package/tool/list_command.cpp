#include <cstdio>

#include "package/tool/commands.h"
#include "package/tool/file_time.h"
#include "package/tool/package_input.h"
#include "package/tool/package_roles.h"

void runList(const CommandLine& line, std::ostream& out) {
    const PackageCheck check = readIntactPackage(line.input, out);
    for (uint32_t i = 0; i < PackageEntryCount; ++i) {
        const PackageEntry& entry = check.entries[i];
        const std::string time = fileTimeValue(entry.lastWriteTime) == 0
                                     ? std::string("-")
                                     : formatIso8601(entry.lastWriteTime);
        char text[160];
        std::snprintf(text, sizeof text, "%2u  %-17.*s %8u %8u  %s\n", i,
                      static_cast<int>(entryRoles[i].name.size()), entryRoles[i].name.data(),
                      entry.offset, entry.size, time.c_str());
        out << text;
    }
}
