// The loader sequence on whole resources: every way a package can be damaged, and the
// decoder's stopping rules underneath it.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "package/lzma_raw_decoder.h"
#include "package/package_checksum.h"
#include "package/package_loader.h"
#include "package/tool/package_check.h"
#include "package_fixture.h"

namespace {

constexpr uint32_t PropertiesSize = 5;

// Runs the loader on its own buffer and table and frees the block afterwards.
struct Load {
    UnpackBuffer unpacked{};
    PackageEntry entries[PackageEntryCount]{};
    PackageStatus status;  // last: the loader fills the members above

    Load(const std::vector<uint8_t>& resource, const PackageConstants& expected)
        : Load(resource.data(), static_cast<uint32_t>(resource.size()), expected) {}
    Load(const uint8_t* resource, uint32_t size, const PackageConstants& expected)
        : status(unpackPackage(resource, size, expected, unpacked, entries)) {}
    ~Load() { unpacked.release(); }
};

class PackageLoader : public testing::Test {
protected:
    static void SetUpTestSuite() { sample_ = packageOf(layoutImage(sampleFiles())); }
    static void TearDownTestSuite() { sample_.reset(); }

    static const SamplePackage& sample() { return *sample_; }

    // The sample image with one byte changed, compressed anew; the expected constants are
    // the sample's apart from the resource size, so that the load gets past the size check.
    static PackageStatus loadWithChangedByte(size_t at) {
        std::vector<uint8_t> image = sample().image;
        image[at] ^= 0x01;
        const SamplePackage changed = packageOf(image);
        PackageConstants expected = sample().constants;
        expected.resourceSize = changed.constants.resourceSize;
        return Load(changed.resource, expected).status;
    }

private:
    static inline std::optional<SamplePackage> sample_;
};

TEST_F(PackageLoader, LoadsAnIntactPackage) {
    Load load(sample().resource, sample().constants);
    ASSERT_EQ(load.status, Ok);
    const std::vector<uint8_t>& image = sample().image;
    EXPECT_TRUE(std::equal(image.begin(), image.end(), load.unpacked.data));
    EXPECT_EQ(load.unpacked.length, UnpackBlockSize);
    EXPECT_TRUE(std::all_of(load.unpacked.data + image.size(), load.unpacked.data + UnpackBlockSize,
                            [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(load.entries[0].offset, 132u);
    EXPECT_EQ(load.entries[1].offset, 635u);
    EXPECT_EQ(load.entries[10].offset + load.entries[10].size, image.size());
    EXPECT_EQ(load.entries[1].lastWriteTime.highDateTime,
              sampleFiles()[1].lastWriteTime.highDateTime);
}

TEST_F(PackageLoader, ResourceOfAnotherSizeIsInvalidAndAllocatesNothing) {
    std::vector<uint8_t> longer = sample().resource;
    longer.push_back(0);
    std::vector<uint8_t> shorter(sample().resource.begin(), sample().resource.end() - 1);
    for (const std::vector<uint8_t>* resource : {&longer, &shorter}) {
        Load load(*resource, sample().constants);
        EXPECT_EQ(load.status, ResourceInvalid);
        EXPECT_EQ(load.unpacked.data, nullptr);
        EXPECT_EQ(load.unpacked.owned, 0u);
    }
}

TEST_F(PackageLoader, MissingOrEmptyResourceIsInvalid) {
    Load missing(nullptr, sample().constants.resourceSize, sample().constants);
    EXPECT_EQ(missing.status, ResourceInvalid);
    EXPECT_EQ(missing.unpacked.data, nullptr);

    PackageConstants expectingEmpty = sample().constants;
    expectingEmpty.resourceSize = 0;
    Load empty(sample().resource.data(), 0, expectingEmpty);
    EXPECT_EQ(empty.status, ResourceInvalid);
    EXPECT_EQ(empty.unpacked.data, nullptr);
}

TEST_F(PackageLoader, InvalidPropertiesDecodeNothing) {
    for (const uint8_t properties : {225, 255}) {
        std::vector<uint8_t> resource = sample().resource;
        resource[0] = properties;
        std::vector<uint8_t> out(1024, 0xAA);
        EXPECT_EQ(decodeRawLzma(resource.data(), static_cast<uint32_t>(resource.size()),
                                out.data(), static_cast<uint32_t>(out.size())),
                  0u);
        EXPECT_EQ(Load(resource, sample().constants).status, PackageCorrupt);
    }
}

TEST_F(PackageLoader, FewerThanFiveStreamBytesDecodeNothing) {
    std::vector<uint8_t> out(1024);
    EXPECT_EQ(decodeRawLzma(sample().resource.data(), PropertiesSize + 4, out.data(), 1024), 0u);
    EXPECT_EQ(decodeRawLzma(sample().resource.data(), 3, out.data(), 1024), 0u);
    EXPECT_EQ(decodeRawLzma(nullptr, 100, out.data(), 1024), 0u);
    // Five bytes are enough to start: the first literal comes out.
    EXPECT_GT(decodeRawLzma(sample().resource.data(), PropertiesSize + 5, out.data(), 1024), 0u);
}

TEST_F(PackageLoader, TruncatedStreamIsCorrupt) {
    const std::vector<uint8_t>& full = sample().resource;
    const std::vector<uint8_t> truncated(full.begin(), full.begin() + full.size() / 2);
    PackageConstants expected = sample().constants;
    expected.resourceSize = static_cast<uint32_t>(truncated.size());
    EXPECT_EQ(Load(truncated, expected).status, PackageCorrupt);
}

TEST_F(PackageLoader, ImageOneByteShortIsCorrupt) {
    const std::vector<uint8_t> image(sample().image.begin(), sample().image.end() - 1);
    const SamplePackage shorter = packageOf(image);
    PackageConstants expected = sample().constants;
    expected.resourceSize = shorter.constants.resourceSize;
    std::vector<uint8_t> out(UnpackBlockSize);
    EXPECT_EQ(decodeRawLzma(shorter.resource.data(), expected.resourceSize, out.data(),
                            UnpackBlockSize),
              expected.imageLength - 1);
    EXPECT_EQ(Load(shorter.resource, expected).status, PackageCorrupt);
}

TEST_F(PackageLoader, OneChangedByteAnywhereIsCorrupt) {
    const Load intact(sample().resource, sample().constants);
    const PackageEntry* entries = intact.entries;
    // A header byte, then the first, middle and last byte of every entry, entry 9 included.
    EXPECT_EQ(loadWithChangedByte(5), PackageCorrupt);
    for (uint32_t i = 0; i < PackageEntryCount; ++i) {
        const PackageEntry& entry = entries[i];
        for (const size_t at : {entry.offset, entry.offset + entry.size / 2,
                                entry.offset + entry.size - 1}) {
            EXPECT_EQ(loadWithChangedByte(at), PackageCorrupt) << "entry " << i << " byte " << at;
        }
    }
}

TEST_F(PackageLoader, DamagedStreamIsCorrupt) {
    std::vector<uint8_t> resource = sample().resource;
    resource[resource.size() / 2] ^= 0x10;
    EXPECT_EQ(Load(resource, sample().constants).status, PackageCorrupt);
}

TEST_F(PackageLoader, HeaderSizesNotAddingUpAreCorruptWithTheTableFilled) {
    // Right length, right checksum, but entry 3 claims one byte more than it has.
    const uint32_t size3 = sampleFiles()[3].bytes.size();
    const SamplePackage skewed = packageOf(withRowSize(sample().image, 3, size3 + 1));
    Load load(skewed.resource, skewed.constants);
    EXPECT_EQ(load.status, PackageCorrupt);
    EXPECT_EQ(load.entries[0].offset, 132u);
    EXPECT_EQ(load.entries[3].size, size3 + 1);
    EXPECT_EQ(load.entries[4].offset, load.entries[3].offset + size3 + 1);
    EXPECT_EQ(load.entries[10].offset + load.entries[10].size, skewed.image.size() + 1);
}

TEST_F(PackageLoader, StreamDecodingPast4MiBStopsAtTheBlockEnd) {
    // An image of 4 MiB and 4 KiB: the decoder fills the block exactly and stops there.
    // Made of one repeated 64 KiB slice, which compresses quickly.
    const std::vector<uint8_t> slice = executableBytes(65536, 3);
    std::vector<uint8_t> image;
    while (image.size() < UnpackBlockSize + 4096) {
        image.insert(image.end(), slice.begin(), slice.end());
    }
    image.resize(UnpackBlockSize + 4096);
    const std::vector<uint8_t> resource = encodePackage(image, quickSettings(image.size()));
    std::vector<uint8_t> out(UnpackBlockSize + 64, 0xAA);
    EXPECT_EQ(decodeRawLzma(resource.data(), static_cast<uint32_t>(resource.size()), out.data(),
                            UnpackBlockSize),
              UnpackBlockSize);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + UnpackBlockSize, image.begin()));
    EXPECT_TRUE(std::all_of(out.begin() + UnpackBlockSize, out.end(), [](uint8_t b) { return b == 0xAA; }));

    const PackageConstants expected{static_cast<uint32_t>(resource.size()),
                                    static_cast<uint32_t>(image.size()),
                                    packageChecksum(image.data(), image.size())};
    EXPECT_EQ(Load(resource, expected).status, PackageCorrupt);
}

TEST_F(PackageLoader, DecoderStopsWhenTheOutputIsFull) {
    std::vector<uint8_t> out(1100, 0xAA);
    EXPECT_EQ(decodeRawLzma(sample().resource.data(), sample().constants.resourceSize, out.data(), 1000),
              1000u);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 1000, sample().image.begin()));
    EXPECT_TRUE(std::all_of(out.begin() + 1000, out.end(), [](uint8_t b) { return b == 0xAA; }));
}

TEST_F(PackageLoader, DecoderErrorAfterTheFullImageStillLoads) {
    // Cutting the end-of-stream marker short makes liblzma fail at the very end, after
    // the whole image came out; the loader goes by length and checksum only.
    const std::vector<uint8_t>& full = sample().resource;
    std::vector<uint8_t> out(UnpackBlockSize);
    std::optional<std::vector<uint8_t>> cut;
    for (size_t missing = 1; missing < 12 && !cut; ++missing) {
        const std::vector<uint8_t> candidate(full.begin(), full.end() - static_cast<ptrdiff_t>(missing));
        if (decodeRawLzma(candidate.data(), static_cast<uint32_t>(candidate.size()), out.data(),
                          UnpackBlockSize) == sample().image.size()) {
            cut = candidate;
        }
    }
    ASSERT_TRUE(cut) << "no cut of the end marker leaves the image whole";
    const PackageCheck byLiblzma = checkPackage(*cut, std::nullopt);
    EXPECT_EQ(byLiblzma.problem, "Unexpected end of input");
    PackageConstants expected = sample().constants;
    expected.resourceSize = static_cast<uint32_t>(cut->size());
    EXPECT_EQ(Load(*cut, expected).status, Ok);
}

void setDictionaryField(std::vector<uint8_t>& resource, uint32_t dictionary) {
    for (uint32_t i = 0; i < 4; ++i) {
        resource[1 + i] = static_cast<uint8_t>(dictionary >> (8 * i));
    }
}

TEST_F(PackageLoader, DictionaryFieldBelowTheMinimumIsRaisedTo4096) {
    // 8 KiB compressed with a 4096-byte dictionary: decoding needs every one of those bytes.
    const std::vector<uint8_t> image = executableBytes(8192, 5);
    const std::vector<uint8_t> encoded = encodePackage(image, quickSettings(4096));
    for (const uint32_t dictionary : {0u, 1u, 4095u}) {
        std::vector<uint8_t> resource = encoded;
        setDictionaryField(resource, dictionary);
        std::vector<uint8_t> out(UnpackBlockSize);
        ASSERT_EQ(decodeRawLzma(resource.data(), static_cast<uint32_t>(resource.size()), out.data(),
                                UnpackBlockSize),
                  image.size())
            << "dictionary " << dictionary;
        EXPECT_TRUE(std::equal(image.begin(), image.end(), out.begin()));
    }
}

TEST_F(PackageLoader, HugeDictionaryFieldStillLoads) {
    std::vector<uint8_t> resource = sample().resource;
    setDictionaryField(resource, 0xFFFFFFFFu);
    EXPECT_EQ(Load(resource, sample().constants).status, Ok);
}

}  // namespace
