// The package's building blocks: checksum, file table and unpack buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "package/file_table.h"
#include "package/package_checksum.h"
#include "package_fixture.h"

namespace {

uint32_t checksumOf(const std::vector<uint8_t>& bytes) {
    return packageChecksum(bytes.data(), bytes.size());
}

TEST(PackageChecksum, KnownValues) {
    const uint8_t abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(packageChecksum(abc, 3), 0x556u);
    EXPECT_EQ(packageChecksum(nullptr, 0), 0u);
    EXPECT_EQ(checksumOf({0xFF}), 0x1FEu);
}

TEST(PackageChecksum, RotatesTheTopBitIntoBitZero) {
    // 0x80 moves to bit 8, then one bit per zero byte: after 24 more it wraps to bit 0.
    std::vector<uint8_t> bytes(25, 0);
    bytes[0] = 0x80;
    EXPECT_EQ(checksumOf(bytes), 1u);
    bytes.push_back(0);
    EXPECT_EQ(checksumOf(bytes), 2u);
}

TEST(PackageChecksum, OrderOfBytesMatters) {
    EXPECT_NE(checksumOf({1, 2}), checksumOf({2, 1}));
}

// The definition, one byte at a time, written out independently of the package code.
uint32_t plainChecksum(const std::vector<uint8_t>& bytes) {
    uint32_t sum = 0;
    for (uint8_t byte : bytes) {
        sum += byte;
        sum = (sum << 1) | (sum >> 31);
    }
    return sum;
}

std::vector<uint8_t> randomBytes(std::mt19937& random, size_t count) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(byte(random));
    return bytes;
}

TEST(PackageChecksum, MatchesThePlainLoopForEveryShortLength) {
    std::mt19937 random(9);
    for (size_t length = 0; length <= 300; ++length)
        for (int round = 0; round < 20; ++round) {
            const std::vector<uint8_t> bytes = randomBytes(random, length);
            ASSERT_EQ(checksumOf(bytes), plainChecksum(bytes)) << "length " << length;
        }
}

TEST(PackageChecksum, MatchesThePlainLoopOnLargeInputs) {
    std::mt19937 random(10);
    for (size_t length : {4095u, 4096u, 8192u, 32767u, 32768u, 32769u, 65536u, 98304u + 31,
                          100000u, (1u << 20) + 13, (4u << 20) - 1}) {
        const std::vector<uint8_t> bytes = randomBytes(random, length);
        EXPECT_EQ(checksumOf(bytes), plainChecksum(bytes)) << "length " << length;
        const std::vector<uint8_t> ones(length, 0xFF);
        EXPECT_EQ(checksumOf(ones), plainChecksum(ones)) << "length " << length;
        const std::vector<uint8_t> zeros(length, 0);
        EXPECT_EQ(checksumOf(zeros), 0u) << "length " << length;
    }
    const std::vector<uint8_t> image = layoutImage(sampleFiles());
    EXPECT_EQ(checksumOf(image), plainChecksum(image));
}

// Builds input whose running checksum is steered to chosen values, to reach the rare cases:
// an addition that carries out of bit 31 (dropped by the 32-bit sum) and the value 0xFFFFFFFF.
class SteeredBytes {
public:
    void append(uint8_t byte) {
        if (static_cast<uint32_t>(sum_ + byte) < sum_) ++carries_;
        sum_ += byte;
        sum_ = (sum_ << 1) | (sum_ >> 31);
        bytes_.push_back(byte);
    }
    // 32 bytes of 0 or 1: byte k adds 2^((32 - k) mod 32) to the sum modulo 2^32 - 1 (32
    // rotations by one are none), so they move the sum by any amount modulo 2^32 - 1.
    void steerTo(uint32_t target) {
        constexpr uint64_t modulus = 0xFFFFFFFFu;
        const uint64_t distance = (target + modulus - sum_ % modulus) % modulus;
        for (unsigned k = 0; k < 32; ++k) append(static_cast<uint8_t>((distance >> ((32 - k) % 32)) & 1));
    }
    void appendRandom(std::mt19937& random, size_t count) {
        for (uint8_t byte : randomBytes(random, count)) append(byte);
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    uint32_t sum() const { return sum_; }
    int carries() const { return carries_; }

private:
    std::vector<uint8_t> bytes_;
    uint32_t sum_ = 0;
    int carries_ = 0;
};

TEST(PackageChecksum, MatchesThePlainLoopWhenTheSumCarriesOutOfBit31) {
    std::mt19937 random(11);
    SteeredBytes input;
    // Carries at random places and at or next to every 4 KiB boundary of the input.
    for (int block = 0; block < 96; ++block) {
        const size_t boundary = static_cast<size_t>(block + 1) * 4096;
        const size_t offset = std::uniform_int_distribution<size_t>(0, 2)(random);
        input.appendRandom(random, std::uniform_int_distribution<size_t>(0, 1500)(random));
        input.steerTo(0xFFFFFFF0u);
        ASSERT_EQ(input.sum(), 0xFFFFFFF0u);
        input.append(0xFF);
        input.appendRandom(random, boundary - 32 - offset - input.bytes().size());
        input.steerTo(0xFFFFFF80u);
        ASSERT_EQ(input.sum(), 0xFFFFFF80u);
        for (size_t i = 0; i <= offset; ++i) input.append(0xC0);
    }
    EXPECT_GE(input.carries(), 192);
    EXPECT_EQ(checksumOf(input.bytes()), input.sum());
    EXPECT_EQ(checksumOf(input.bytes()), plainChecksum(input.bytes()));
}

TEST(PackageChecksum, MatchesThePlainLoopThroughTheValueWithEveryBitSet) {
    // 0xFFFFFFFF stays itself under zero bytes and is the same as 0 modulo 2^32 - 1.
    std::mt19937 random(12);
    SteeredBytes input;
    for (int block = 0; block < 64; ++block) {
        input.appendRandom(random, std::uniform_int_distribution<size_t>(0, 3000)(random));
        input.steerTo(0xFFFFFF00u);
        input.append(0xFF);
        ASSERT_EQ(input.sum(), 0xFFFFFFFFu);
        for (size_t zeros = std::uniform_int_distribution<size_t>(1, 9000)(random); zeros > 0; --zeros)
            input.append(0);
    }
    EXPECT_EQ(checksumOf(input.bytes()), input.sum());
    EXPECT_EQ(checksumOf(input.bytes()), plainChecksum(input.bytes()));
}

std::vector<uint8_t> sampleImage() { return layoutImage(sampleFiles()); }

TEST(FileTable, OffsetsFollowTheSizes) {
    const PackageFiles files = sampleFiles();
    const std::vector<uint8_t> image = layoutImage(files);
    PackageEntry entries[PackageEntryCount]{};
    ASSERT_EQ(buildFileTable(image.data(), static_cast<uint32_t>(image.size()), entries), Ok);
    EXPECT_EQ(entries[0].offset, 132u);
    EXPECT_EQ(entries[1].offset, 635u);
    for (uint32_t i = 0; i < PackageEntryCount; ++i) {
        EXPECT_EQ(entries[i].size, files[i].bytes.size()) << "entry " << i;
        EXPECT_EQ(entries[i].lastWriteTime.lowDateTime, files[i].lastWriteTime.lowDateTime);
        EXPECT_EQ(entries[i].lastWriteTime.highDateTime, files[i].lastWriteTime.highDateTime);
        EXPECT_TRUE(std::equal(files[i].bytes.begin(), files[i].bytes.end(),
                               image.begin() + entries[i].offset))
            << "entry " << i;
    }
    EXPECT_EQ(entries[10].offset + entries[10].size, image.size());
}

TEST(FileTable, ReadsTheUnalignedTimeLowPartFirst) {
    std::vector<uint8_t> image(PackageHeaderSize, 0);
    const uint8_t row3[] = {0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    std::memcpy(&image[3 * PackageHeaderRowSize], row3, sizeof row3);
    PackageEntry entries[PackageEntryCount]{};
    ASSERT_EQ(buildFileTable(image.data(), PackageHeaderSize, entries), Ok);
    EXPECT_EQ(entries[3].lastWriteTime.lowDateTime, 0x44332211u);
    EXPECT_EQ(entries[3].lastWriteTime.highDateTime, 0x88776655u);
}

TEST(FileTable, SizesThatDoNotAddUpAreCorruptButFillTheTable) {
    const std::vector<uint8_t> image = sampleImage();
    const uint32_t length = static_cast<uint32_t>(image.size());
    PackageEntry intact[PackageEntryCount]{};
    ASSERT_EQ(buildFileTable(image.data(), length, intact), Ok);

    for (const int64_t change : {-1, 1}) {
        const uint32_t size = static_cast<uint32_t>(intact[4].size + change);
        const std::vector<uint8_t> changed = withRowSize(image, 4, size);
        PackageEntry entries[PackageEntryCount]{};
        EXPECT_EQ(buildFileTable(changed.data(), length, entries), PackageCorrupt);
        EXPECT_EQ(entries[4].size, size);
        EXPECT_EQ(entries[5].offset, intact[5].offset + change);
        EXPECT_EQ(entries[10].size, intact[10].size);
    }
}

TEST(FileTable, SizesWrappingAround32BitsAreCorrupt) {
    // Entries 1 and 2 grow by 2^31 each: in 32 bits the sizes still add up to the image
    // length, but the entries would reach gigabytes past the end of the image.
    const std::vector<uint8_t> image = sampleImage();
    const uint32_t length = static_cast<uint32_t>(image.size());
    PackageEntry intact[PackageEntryCount]{};
    ASSERT_EQ(buildFileTable(image.data(), length, intact), Ok);
    std::vector<uint8_t> wrapped = withRowSize(image, 1, intact[1].size + 0x80000000u);
    wrapped = withRowSize(wrapped, 2, intact[2].size + 0x80000000u);
    PackageEntry entries[PackageEntryCount]{};
    EXPECT_EQ(buildFileTable(wrapped.data(), length, entries), PackageCorrupt);
    EXPECT_EQ(entries[2].offset, intact[2].offset + 0x80000000u);
    EXPECT_EQ(entries[3].offset, intact[3].offset);  // offsets wrap in 32 bits
    EXPECT_EQ(entries[10].offset + entries[10].size, length);
}

TEST(UnpackBuffer, StartsReleasedAndAllocatesAZeroedOwnedBlock) {
    UnpackBuffer buffer{};
    ASSERT_NE(buffer.allocate(), nullptr);
    EXPECT_EQ(buffer.owned, 1u);
    EXPECT_EQ(buffer.capacity, 4194304u);
    EXPECT_EQ(buffer.length, 4194304u);
    EXPECT_TRUE(std::all_of(buffer.data, buffer.data + buffer.length, [](uint8_t b) { return b == 0; }));

    // A second allocation frees the first block (ASan reports a leak otherwise) and
    // hands out a zeroed one again.
    std::memset(buffer.data, 0x5A, buffer.length);
    ASSERT_NE(buffer.allocate(), nullptr);
    EXPECT_TRUE(std::all_of(buffer.data, buffer.data + buffer.length, [](uint8_t b) { return b == 0; }));

    buffer.release();
    EXPECT_EQ(buffer.data, nullptr);
    EXPECT_EQ(buffer.owned, 0u);
    EXPECT_EQ(buffer.capacity, 0u);
    EXPECT_EQ(buffer.length, 0u);
    buffer.release();
    EXPECT_EQ(buffer.data, nullptr);
}

TEST(UnpackBuffer, NeverFreesABlockItDoesNotOwn) {
    // Freeing this stack array would abort under ASan.
    uint8_t borrowed[16] = {};
    UnpackBuffer buffer{borrowed, 0, sizeof borrowed, sizeof borrowed};
    buffer.release();
    EXPECT_EQ(buffer.data, borrowed);
    EXPECT_EQ(buffer.length, sizeof borrowed);

    ASSERT_NE(buffer.allocate(), nullptr);
    EXPECT_NE(buffer.data, borrowed);
    EXPECT_EQ(buffer.owned, 1u);
    buffer.release();
}

}  // namespace
