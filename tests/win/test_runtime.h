// The runtime a Windows test runs under, for the checks where Windows and Wine must
// differ: the test's registration names the Wine runtime (VELKARIS_RUNTIME); on Windows
// nothing names one.
#pragma once

#include <cstdlib>
#include <cstring>

inline bool underWine() { return std::getenv("VELKARIS_RUNTIME") != nullptr; }

inline bool runtimeIs(const char* runtime)
{
    const char* named = std::getenv("VELKARIS_RUNTIME");
    return named != nullptr && std::strcmp(named, runtime) == 0;
}
