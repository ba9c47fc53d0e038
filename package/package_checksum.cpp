#include "package/package_checksum.h"

// The checksum adds each byte and rotates left by one: a serial chain of two operations a
// byte. To go faster, four chains run interleaved over four consecutive chunks of a group.
// The value where chunks 1 to 3 start is predicted from arithmetic modulo 2^32 - 1, in which
// a rotation by one is a doubling: over a chunk whose length is a multiple of 32 the doublings
// cancel, and the value at its end is the value at its start plus a weighted byte sum of the
// chunk. The prediction misses only where an addition carried out of bit 31 (each carry takes
// one away in that arithmetic) or where the value is 0xFFFFFFFF (the same residue as 0). Each
// chain's end is compared with the next chain's start, so a chunk is kept only when it started
// from the exact value, and a missed prediction is recomputed from the exact value one by one:
// the result is the plain loop's for every input.

namespace {

constexpr uint32_t Modulus = 0xFFFFFFFFu;  // 2^32 - 1
constexpr size_t CycleBytes = 32;          // 2^32 = 1 modulo 2^32 - 1
// 256 cycles of 32 bytes: a byte column sums to at most 256 * 255, which fits 16 bits.
constexpr size_t ChunkBytes = 256 * CycleBytes;
constexpr size_t ChainCount = 4;
constexpr size_t GroupBytes = ChainCount * ChunkBytes;

uint32_t rotateLeftOne(uint32_t value) { return (value << 1) | (value >> 31); }

uint32_t continueChecksum(uint32_t sum, const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) sum = rotateLeftOne(sum + bytes[i]);
    return sum;
}

// Residue modulo 2^32 - 1 of any 64-bit value, in 0 .. 2^32 - 2.
uint32_t reduce(uint64_t value) {
    value = (value & Modulus) + (value >> 32);
    value = (value & Modulus) + (value >> 32);
    return value == Modulus ? 0 : static_cast<uint32_t>(value);
}

// What a chunk adds to the running value modulo 2^32 - 1 when no addition carries: a byte
// at offset i is doubled once for each byte from it to the chunk's end, ChunkBytes - i times,
// so byte column j of the 32-byte cycles weighs 2^((32 - j) mod 32).
uint32_t chunkIncrement(const uint8_t* chunk) {
    uint16_t columns[CycleBytes] = {};
    for (size_t cycle = 0; cycle < ChunkBytes; cycle += CycleBytes)
        for (size_t j = 0; j < CycleBytes; ++j) columns[j] = static_cast<uint16_t>(columns[j] + chunk[cycle + j]);
    uint64_t total = columns[0];
    for (size_t j = 1; j < CycleBytes; ++j) total += static_cast<uint64_t>(columns[j]) << (CycleBytes - j);
    return reduce(total);
}

uint32_t addModulo(uint32_t a, uint32_t b) { return reduce(static_cast<uint64_t>(a) + b); }

// One group of four chunks, starting from the exact value `sum`.
uint32_t groupChecksum(uint32_t sum, const uint8_t* group) {
    uint32_t starts[ChainCount];
    starts[0] = sum;
    for (size_t k = 1; k < ChainCount; ++k)
        starts[k] = addModulo(starts[k - 1], chunkIncrement(group + (k - 1) * ChunkBytes));

    uint32_t h0 = starts[0], h1 = starts[1], h2 = starts[2], h3 = starts[3];
    const uint8_t* p0 = group;
    const uint8_t* p1 = group + ChunkBytes;
    const uint8_t* p2 = group + 2 * ChunkBytes;
    const uint8_t* p3 = group + 3 * ChunkBytes;
    for (size_t i = 0; i < ChunkBytes; ++i) {
        h0 = rotateLeftOne(h0 + p0[i]);
        h1 = rotateLeftOne(h1 + p1[i]);
        h2 = rotateLeftOne(h2 + p2[i]);
        h3 = rotateLeftOne(h3 + p3[i]);
    }

    const uint32_t ends[ChainCount] = {h0, h1, h2, h3};
    uint32_t exact = ends[0];
    for (size_t k = 1; k < ChainCount; ++k)
        exact = exact == starts[k] ? ends[k] : continueChecksum(exact, group + k * ChunkBytes, ChunkBytes);
    return exact;
}

}  // namespace

uint32_t packageChecksum(const uint8_t* bytes, size_t count) {
    uint32_t sum = 0;
    size_t done = 0;
    for (; count - done >= GroupBytes; done += GroupBytes) sum = groupChecksum(sum, bytes + done);
    return continueChecksum(sum, bytes + done, count - done);
}
