#pragma once

#include <cstdint>

// Writes format with its one %u or %x directive replaced by value; returns the count of
// characters written, not counting the terminator.
uint32_t formatNumber(char* destination, const char* format, uint32_t value);
