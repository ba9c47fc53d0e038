// Synthetic packages for the host tests: a 503-byte licence like the shipped one, so that
// entry 1 starts at offset 635, and ten executables of assorted sizes made of real x86-64
// machine code (slices of the running test program), so that compression behaves as on
// the shipped pack.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "package/package_types.h"
#include "package/tool/image_layout.h"
#include "package/tool/lzma_encoder.h"

using PackageFiles = std::array<PackageFile, PackageEntryCount>;

// CR LF separated 7-bit ASCII lines, no break after the last one, exactly `length` bytes.
std::string licenceText(size_t length);

// `size` bytes of machine code, different for different seeds.
std::vector<uint8_t> executableBytes(size_t size, uint32_t seed);

// The eleven entries; entries 1 to 8 carry distinct times, 0, 9 and 10 none. `scale`
// multiplies the executables' sizes (1: about 200 KB in all).
PackageFiles sampleFiles(uint32_t scale = 1);

// The image of the sample files with header row `row` changed in its size field.
std::vector<uint8_t> withRowSize(std::vector<uint8_t> image, uint32_t row, uint32_t size);

struct SamplePackage {
    std::vector<uint8_t> image;
    std::vector<uint8_t> resource;
    PackageConstants constants;
};

// Fast settings (liblzma, lc 3, lp 0, pb 2, bt4, depth chosen by liblzma) with a
// dictionary that holds the whole image.
EncoderSettings quickSettings(size_t imageLength);

// Compresses the image and derives the three constants from it.
SamplePackage packageOf(const std::vector<uint8_t>& image);
