// PNG files of screenshots, written without a compression library: 8-bit RGB rows in
// stored (uncompressed) deflate blocks, which every PNG reader accepts. Portable.
#pragma once

#include <cstdint>
#include <vector>

// The PNG file of an image WIDTH x HEIGHT whose RGB bytes are given row by row, top first
// (3 x WIDTH bytes a row); empty when the bytes do not fit the size.
std::vector<uint8_t> encodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);
