// The SHA-256 of a file, computed by the system's cryptographic provider.
#pragma once

#include <windows.h>

#include <optional>

#include "uninstall/application_fingerprint.h"

// Reads the file through the handle from its start to its end and returns the SHA-256 of
// its bytes; nothing when it cannot be read or hashed, with the reason in error.
std::optional<Sha256> sha256Of(HANDLE file, DWORD& error);
