// Applications as the uninstaller's tests install them: the one-byte program "x" under the
// names of six of the pack's applications.
#pragma once

#include <array>

#include "uninstall/application_fingerprint.h"

inline constexpr Sha256 DigestOfX = {
    0x2d, 0x71, 0x16, 0x42, 0xb7, 0x26, 0xb0, 0x44, 0x01, 0x62, 0x7c, 0xa9, 0xfb, 0xac, 0x32, 0xf5,
    0xc8, 0x53, 0x0f, 0xb1, 0x90, 0x3c, 0xc4, 0xdb, 0x02, 0x25, 0x87, 0x17, 0x92, 0x1a, 0x48, 0x81};
inline constexpr std::array<ApplicationFingerprint, 6> InstalledAsX = {{
    {L"Brinet", 1, DigestOfX},
    {L"PaneVista", 1, DigestOfX},
    {L"Tunewell", 1, DigestOfX},
    {L"Notarel", 1, DigestOfX},
    {L"LockBin", 1, DigestOfX},
    {L"Packrill", 1, DigestOfX},
}};
