// The two encoders behind encodePackage. Each appends the raw LZMA1 stream of the whole
// image, ended by the end-of-stream marker, to `out`, and throws ToolError when it fails.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "package/tool/lzma_encoder.h"

void appendLiblzmaStream(std::span<const uint8_t> image, const EncoderSettings& settings,
                         std::vector<uint8_t>& out);
void appendSevenZipStream(std::span<const uint8_t> image, const EncoderSettings& settings,
                          std::vector<uint8_t>& out);
