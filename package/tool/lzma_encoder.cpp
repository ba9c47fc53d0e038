#include "package/tool/lzma_encoder.h"

#include "package/tool/stream_encoders.h"

namespace {

constexpr size_t PropertiesSize = 5;

}  // namespace

std::string_view nameOf(Encoder encoder) {
    switch (encoder) {
    case Encoder::Liblzma:
        return "liblzma";
    case Encoder::SevenZip:
        return "7zip";
    }
    return "?";
}

std::string_view nameOf(MatchFinder matchFinder) {
    switch (matchFinder) {
    case MatchFinder::Bt2:
        return "bt2";
    case MatchFinder::Bt3:
        return "bt3";
    case MatchFinder::Bt4:
        return "bt4";
    case MatchFinder::Hc4:
        return "hc4";
    }
    return "?";
}

std::string describeSettings(const EncoderSettings& settings) {
    return std::string(nameOf(settings.encoder)) + " lc " + std::to_string(settings.lc) + " lp " +
           std::to_string(settings.lp) + " pb " + std::to_string(settings.pb) + " " +
           std::string(nameOf(settings.matchFinder)) + " nice " +
           std::to_string(settings.niceLength) + " depth " + std::to_string(settings.depth);
}

uint8_t propertiesByte(const EncoderSettings& settings) {
    return static_cast<uint8_t>((settings.pb * 5 + settings.lp) * 9 + settings.lc);
}

std::vector<uint8_t> encodePackage(std::span<const uint8_t> image, const EncoderSettings& settings) {
    std::vector<uint8_t> resource;
    // Executables shrink to a third or less; more room is made when needed.
    resource.reserve(PropertiesSize + image.size() / 2 + 4096);
    resource.push_back(propertiesByte(settings));
    for (size_t i = 0; i < 4; ++i) {
        resource.push_back(static_cast<uint8_t>(settings.dictionarySize >> (8 * i)));
    }
    if (settings.encoder == Encoder::SevenZip) {
        appendSevenZipStream(image, settings, resource);
    } else {
        appendLiblzmaStream(image, settings, resource);
    }
    return resource;
}
