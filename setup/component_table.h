#pragma once

#include "setup/setup_context.h"

// Application i is package entry i + 1 and check box 1006 + i; the last name is the
// uninstaller's, package entry 10.
inline constexpr ComponentTable componentTable = {
    L"Brinet", L"PaneVista", L"QuietVault", L"Padwick", L"Tunewell",
    L"Notarel", L"LockBin", L"Packrill", L"Uninstall",
};
