// Building registry key paths in scratch, and making folder paths end in one backslash.
#pragma once

#include <cstddef>

#include "setup/setup_context.h"

// Writes "Software" and, for each component up to the first null, a backslash and the
// component into setup.scratch. Returns scratch, or null when the path would not fit (the
// caller then writes nothing rather than to a shorter key).
wchar_t* buildKeyPath(SetupContext& setup, const wchar_t* c1 = nullptr,
                      const wchar_t* c2 = nullptr, const wchar_t* c3 = nullptr,
                      const wchar_t* c4 = nullptr, const wchar_t* c5 = nullptr,
                      const wchar_t* c6 = nullptr);

// Replaces a final slash or backslash by a backslash, else appends one. A path that has no
// room for the extra backslash and terminator in its capacity units is left unchanged.
void ensureTrailingBackslash(wchar_t* path, size_t capacity);

template <size_t N>
void ensureTrailingBackslash(wchar_t (&path)[N]) {
    ensureTrailingBackslash(path, N);
}
