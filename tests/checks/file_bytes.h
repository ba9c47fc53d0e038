// Whole files read and written by their wide paths (the C++ library of MinGW opens streams
// by narrow paths only).
#pragma once

#include <string>

// The file's bytes; empty when it cannot be read.
std::string fileBytes(const std::wstring& path);

// Writes BYTES as the whole file; false when it cannot.
bool writeFileBytes(const std::wstring& path, const std::string& bytes);
