// Bounded copies into the fixed UTF-16 buffers of the setup record. They never write past
// capacity units; a text that does not fit whole leaves the buffer unchanged and gives false.
#pragma once

#include <cstddef>

bool copyWide(wchar_t* destination, size_t capacity, const wchar_t* source);
bool appendWide(wchar_t* destination, size_t capacity, const wchar_t* source);

template <size_t N>
bool copyWide(wchar_t (&destination)[N], const wchar_t* source) {
    return copyWide(destination, N, source);
}

template <size_t N>
bool appendWide(wchar_t (&destination)[N], const wchar_t* source) {
    return appendWide(destination, N, source);
}
