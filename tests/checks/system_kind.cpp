#include "tests/checks/system_kind.h"

#include <windows.h>

#include <cstdlib>

namespace {

SystemKind detect()
{
    SystemKind system;
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    const auto getVersion = reinterpret_cast<RtlGetVersionCall>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (getVersion != nullptr) {
        getVersion(&version);
    }
    system.build = version.dwBuildNumber;
    using WineVersionCall = const char*(__cdecl*)();
    const auto wineVersion = reinterpret_cast<WineVersionCall>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "wine_get_version")));
    if (wineVersion != nullptr) {
        system.wine = true;
        system.description = std::string("Wine ") + wineVersion();
        system.wineMajor = static_cast<unsigned>(std::atoi(wineVersion()));
    } else {
        system.description = "Windows " + std::to_string(version.dwMajorVersion) + "." +
                             std::to_string(version.dwMinorVersion) + "." +
                             std::to_string(version.dwBuildNumber);
    }
    return system;
}

}  // namespace

const SystemKind& thisSystem()
{
    static const SystemKind system = detect();
    return system;
}
