// Which system the checks run on. Windows and Wine must differ in a few checks (a mapped
// image, POSIX delete semantics, the shell's notices), which then say in their line which
// one they ran on.
#pragma once

#include <string>

struct SystemKind {
    bool wine = false;
    // Wine's major version ("8.0" gives 8), 0 on Windows.
    unsigned wineMajor = 0;
    // Windows' build number (26100 for Windows 11 24H2 and Server 2025), as Wine imitates it.
    unsigned build = 0;
    // "Windows 10.0.26100" or "Wine 8.0".
    std::string description;
};

// Wine is told by ntdll's wine_get_version, looked up at run time, which only Wine's ntdll
// exports; the Windows version comes from RtlGetVersion, which no compatibility layer
// changes.
const SystemKind& thisSystem();
