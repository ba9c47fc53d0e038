#pragma once

#include <lzma.h>

#include <cstdint>

// Decodes a 5-byte LZMA properties header and the raw LZMA1 stream after it into out, in
// one pass from the start of out. Stops at the end marker, at the end of the input, when
// out is full, or at a data error, and returns the number of bytes written; the decoder's
// own result is not consulted. Bad properties or fewer than 5 stream bytes decode nothing.
uint32_t decodeRawLzma(const uint8_t* resource, uint32_t resourceSize, uint8_t* out,
                       uint32_t capacity);

// The allocator the decoder takes its working memory from; null, the default, is the C heap.
// Lets a measurement count the decoder's memory without changing how the loader calls it.
void setLzmaDecoderAllocator(const lzma_allocator* allocator);
