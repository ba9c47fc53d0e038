// The package's building blocks: checksum, file table and unpack buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
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
