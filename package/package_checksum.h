#pragma once

#include <cstddef>
#include <cstdint>

// Add each byte, then rotate left by one bit; 0 for no bytes.
uint32_t packageChecksum(const uint8_t* bytes, size_t count);
