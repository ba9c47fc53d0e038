#include <lzma.h>

#include <algorithm>
#include <string>

#include "package/tool/lzma_messages.h"
#include "package/tool/messages.h"
#include "package/tool/stream_encoders.h"

namespace {

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

lzma_match_finder liblzmaMatchFinder(MatchFinder matchFinder) {
    switch (matchFinder) {
    case MatchFinder::Bt2:
        return LZMA_MF_BT2;
    case MatchFinder::Bt3:
        return LZMA_MF_BT3;
    case MatchFinder::Hc4:
        return LZMA_MF_HC4;
    case MatchFinder::Bt4:
        break;
    }
    return LZMA_MF_BT4;
}

}  // namespace

void appendLiblzmaStream(std::span<const uint8_t> image, const EncoderSettings& settings,
                         std::vector<uint8_t>& out) {
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
    options.mf = liblzmaMatchFinder(settings.matchFinder);
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

    encoder.stream.next_in = image.data();
    encoder.stream.avail_in = image.size();
    size_t written = out.size();
    out.resize(std::max(out.capacity(), written + 4096));
    for (;;) {
        encoder.stream.next_out = out.data() + written;
        encoder.stream.avail_out = out.size() - written;
        const lzma_ret result = lzma_code(&encoder.stream, LZMA_FINISH);
        written = out.size() - encoder.stream.avail_out;
        if (result == LZMA_STREAM_END) {
            break;
        }
        if (result != LZMA_OK) {
            fail(result);
        }
        if (encoder.stream.avail_out == 0) {
            out.resize(out.size() * 2);
        }
    }
    out.resize(written);
}
