#include <LzmaEnc.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "package/tool/messages.h"
#include "package/tool/stream_encoders.h"

namespace {

// The encoder's memory comes from the C heap; it reports a failed allocation itself.
void* allocate(ISzAllocPtr, size_t size) { return std::malloc(size); }
void release(ISzAllocPtr, void* address) { std::free(address); }
const ISzAlloc HeapAllocator = {allocate, release};

// Hands the image to the encoder piece by piece. The encoder passes the interface back
// as a pointer to const, so the position is mutable.
struct ImageReader {
    ISeqInStream stream;
    mutable std::span<const uint8_t> rest;
};

SRes readImage(ISeqInStreamPtr stream, void* buffer, size_t* size) {
    const ImageReader* reader = reinterpret_cast<const ImageReader*>(stream);
    const size_t count = std::min(*size, reader->rest.size());
    std::memcpy(buffer, reader->rest.data(), count);
    reader->rest = reader->rest.subspan(count);
    *size = count;
    return SZ_OK;
}

// Appends the encoder's output; a short count stops it with SZ_ERROR_WRITE.
struct ResourceWriter {
    ISeqOutStream stream;
    std::vector<uint8_t>* out;
};

size_t writeResource(ISeqOutStreamPtr stream, const void* data, size_t size) {
    const ResourceWriter* writer = reinterpret_cast<const ResourceWriter*>(stream);
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    try {
        writer->out->insert(writer->out->end(), bytes, bytes + size);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return size;
}

// Frees the encoder on every way out.
class EncoderHandle {
public:
    EncoderHandle() : handle(LzmaEnc_Create(&HeapAllocator)) {
        if (handle == nullptr) {
            throw std::bad_alloc();
        }
    }
    EncoderHandle(const EncoderHandle&) = delete;
    EncoderHandle& operator=(const EncoderHandle&) = delete;
    ~EncoderHandle() { LzmaEnc_Destroy(handle, &HeapAllocator, &HeapAllocator); }

    const CLzmaEncHandle handle;
};

[[noreturn]] void fail(SRes result) {
    if (result == SZ_ERROR_MEM || result == SZ_ERROR_WRITE) {
        throw std::bad_alloc();
    }
    const std::string reason = result == SZ_ERROR_PARAM
                                   ? "Unsupported LZMA1 options"
                                   : "7-Zip's encoder failed with code " + std::to_string(result);
    throw ToolError("cannot compress the image: " + reason);
}

CLzmaEncProps sevenZipProperties(const EncoderSettings& settings) {
    CLzmaEncProps props;
    LzmaEncProps_Init(&props);
    props.level = 9;
    props.dictSize = settings.dictionarySize;
    props.lc = static_cast<int>(settings.lc);
    props.lp = static_cast<int>(settings.lp);
    props.pb = static_cast<int>(settings.pb);
    props.algo = 1;  // the optimum parser
    props.fb = static_cast<int>(settings.niceLength);
    props.btMode = settings.matchFinder == MatchFinder::Hc4 ? 0 : 1;
    props.numHashBytes = settings.matchFinder == MatchFinder::Bt2   ? 2
                         : settings.matchFinder == MatchFinder::Bt3 ? 3
                                                                    : 4;
    props.mc = settings.depth;  // 0: 16 + fb / 2
    props.writeEndMark = 1;
    // The search runs its candidates in parallel already.
    props.numThreads = 1;
    return props;
}

}  // namespace

void appendSevenZipStream(std::span<const uint8_t> image, const EncoderSettings& settings,
                          std::vector<uint8_t>& out) {
    if (settings.niceLength < SevenZipShortestNiceLength) {
        fail(SZ_ERROR_PARAM);
    }
    EncoderHandle encoder;
    const CLzmaEncProps props = sevenZipProperties(settings);
    const SRes configured = LzmaEnc_SetProps(encoder.handle, &props);
    if (configured != SZ_OK) {
        fail(configured);
    }
    // As 7-Zip does when it knows the size: the match finder's hash table fits the image.
    LzmaEnc_SetDataSize(encoder.handle, image.size());
    ImageReader reader{{readImage}, image};
    ResourceWriter writer{{writeResource}, &out};
    const SRes result = LzmaEnc_Encode(encoder.handle, &writer.stream, &reader.stream, nullptr,
                                       &HeapAllocator, &HeapAllocator);
    if (result != SZ_OK) {
        fail(result);
    }
}
