#include "package/lzma_raw_decoder.h"

#include <lzma.h>

namespace {

const lzma_allocator* decoderAllocator = nullptr;

constexpr uint32_t PropertiesSize = 5;
constexpr uint32_t MinimumStreamSize = 5;
constexpr uint8_t FirstInvalidProperties = 225;  // (4 * 5 + 4) * 9 + 8 + 1

uint32_t readLe32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

// The stated dictionary size, raised to the coder's minimum. A dictionary larger than the
// output can never be reached, since matches only refer back to bytes already written; it
// is capped there so that a damaged size field cannot ask for gigabytes of memory.
uint32_t dictionarySize(uint32_t stated, uint32_t capacity) {
    const uint32_t largest = capacity > LZMA_DICT_SIZE_MIN ? capacity : LZMA_DICT_SIZE_MIN;
    if (stated < LZMA_DICT_SIZE_MIN) {
        return LZMA_DICT_SIZE_MIN;
    }
    return stated > largest ? largest : stated;
}

}  // namespace

uint32_t decodeRawLzma(const uint8_t* resource, uint32_t resourceSize, uint8_t* out,
                       uint32_t capacity) {
    if (resource == nullptr || resourceSize < PropertiesSize + MinimumStreamSize ||
        resource[0] >= FirstInvalidProperties) {
        return 0;
    }
    lzma_options_lzma options{};
    options.lc = resource[0] % 9;
    options.lp = resource[0] / 9 % 5;
    options.pb = resource[0] / 45;
    options.dict_size = dictionarySize(readLe32(resource + 1), capacity);
    const lzma_filter filters[] = {
        {LZMA_FILTER_LZMA1, &options},
        {LZMA_VLI_UNKNOWN, nullptr},
    };

    lzma_stream stream = LZMA_STREAM_INIT;
    stream.allocator = decoderAllocator;
    if (lzma_raw_decoder(&stream, filters) != LZMA_OK) {
        lzma_end(&stream);
        return 0;
    }
    stream.next_in = resource + PropertiesSize;
    stream.avail_in = resourceSize - PropertiesSize;
    stream.next_out = out;
    stream.avail_out = capacity;
    // liblzma answers LZMA_OK while it makes progress; anything else (end marker, data
    // error, input used up) ends the decoding. A full output block ends it as well.
    while (stream.avail_out > 0 && lzma_code(&stream, LZMA_FINISH) == LZMA_OK) {
    }
    const uint32_t written = capacity - static_cast<uint32_t>(stream.avail_out);
    lzma_end(&stream);
    return written;
}

void setLzmaDecoderAllocator(const lzma_allocator* allocator) {
    decoderAllocator = allocator;
}
