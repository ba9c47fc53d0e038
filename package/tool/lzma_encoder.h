// Compresses an image into a package resource: the 5 LZMA properties bytes, then the raw
// LZMA1 stream with its end-of-stream marker and no size field.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct EncoderSettings {
    uint32_t lc;
    uint32_t lp;
    uint32_t pb;
    uint32_t dictionarySize;
    uint32_t niceLength;
    uint32_t depth;  // 0: liblzma chooses from niceLength
};

// (pb * 5 + lp) * 9 + lc, the first byte of the resource.
uint8_t propertiesByte(const EncoderSettings& settings);

// Throws ToolError with liblzma's reason when the encoder refuses the settings or fails.
std::vector<uint8_t> encodePackage(std::span<const uint8_t> image, const EncoderSettings& settings);
