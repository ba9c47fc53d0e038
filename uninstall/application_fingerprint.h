// What identifies an application file as the one the pack installed: its size and the
// SHA-256 of its bytes. The build writes the fingerprints of the files it packs into
// "packed_applications.h"; the uninstaller deletes an application only when it matches.
// Portable: no Windows headers.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

using Sha256 = std::array<uint8_t, 32>;

struct ApplicationFingerprint {
    std::wstring_view name;  // the file is <name>.exe in the installation folder
    uint64_t size;
    Sha256 sha256;
};
