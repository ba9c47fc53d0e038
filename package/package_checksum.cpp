#include "package/package_checksum.h"

uint32_t packageChecksum(const uint8_t* bytes, size_t count) {
    uint32_t sum = 0;
    for (size_t i = 0; i < count; ++i) {
        sum += bytes[i];
        sum = (sum << 1) | (sum >> 31);
    }
    return sum;
}
