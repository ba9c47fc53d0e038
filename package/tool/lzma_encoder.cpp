#include "package/tool/lzma_encoder.h"

#include <lzma.h>

#include <string>

#include "package/tool/lzma_messages.h"
#include "package/tool/messages.h"

namespace {

constexpr size_t PropertiesSize = 5;

// Frees the encoder's memory on every way out.
class EncoderStream {
public:
    EncoderStream() = default;
    EncoderStream(const EncoderStream&) = delete;
    EncoderStream& operator=(const EncoderStream&) = delete;
    ~EncoderStream() { lzma_end(&stream); }

    lzma_stream stream = LZMA_STREAM_INIT;
};

[[noreturn]] void fail(lzma_ret result) {
    throw ToolError("cannot compress the image: " + std::string(lzmaMessage(result)));
}

}  // namespace

uint8_t propertiesByte(const EncoderSettings& settings) {
    return static_cast<uint8_t>((settings.pb * 5 + settings.lp) * 9 + settings.lc);
}

std::vector<uint8_t> encodePackage(std::span<const uint8_t> image, const EncoderSettings& settings) {
    lzma_options_lzma options{};
    if (lzma_lzma_preset(&options, 9 | LZMA_PRESET_EXTREME)) {
        fail(LZMA_OPTIONS_ERROR);
    }
    options.lc = settings.lc;
    options.lp = settings.lp;
    options.pb = settings.pb;
    options.dict_size = settings.dictionarySize;
    options.nice_len = settings.niceLength;
    options.depth = settings.depth;
    options.mf = LZMA_MF_BT4;
    options.mode = LZMA_MODE_NORMAL;
    // The plain LZMA1 filter always ends the stream with the end-of-stream marker.
    const lzma_filter filters[] = {
        {LZMA_FILTER_LZMA1, &options},
        {LZMA_VLI_UNKNOWN, nullptr},
    };

    EncoderStream encoder;
    const lzma_ret started = lzma_raw_encoder(&encoder.stream, filters);
    if (started != LZMA_OK) {
        fail(started);
    }

    std::vector<uint8_t> resource(PropertiesSize + image.size() / 2 + 4096);
    resource[0] = propertiesByte(settings);
    for (size_t i = 0; i < 4; ++i) {
        resource[1 + i] = static_cast<uint8_t>(settings.dictionarySize >> (8 * i));
    }
    encoder.stream.next_in = image.data();
    encoder.stream.avail_in = image.size();
    size_t written = PropertiesSize;
    for (;;) {
        encoder.stream.next_out = resource.data() + written;
        encoder.stream.avail_out = resource.size() - written;
        const lzma_ret result = lzma_code(&encoder.stream, LZMA_FINISH);
        written = resource.size() - encoder.stream.avail_out;
        if (result == LZMA_STREAM_END) {
            break;
        }
        if (result != LZMA_OK) {
            fail(result);
        }
        if (encoder.stream.avail_out == 0) {
            resource.resize(resource.size() * 2);
        }
    }
    resource.resize(written);
    return resource;
}
