// Compresses an image into a package resource: the 5 LZMA properties bytes, then the raw
// LZMA1 stream with its end-of-stream marker and no size field. Two encoders write that
// same format: liblzma's and 7-Zip's.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class Encoder { Liblzma, SevenZip };
enum class MatchFinder { Bt2, Bt3, Bt4, Hc4 };

inline constexpr Encoder Encoders[] = {Encoder::Liblzma, Encoder::SevenZip};
inline constexpr MatchFinder MatchFinders[] = {MatchFinder::Bt2, MatchFinder::Bt3, MatchFinder::Bt4,
                                               MatchFinder::Hc4};

// The names the command line and the build summary use: "liblzma", "7zip"; "bt4", ...
std::string_view nameOf(Encoder encoder);
std::string_view nameOf(MatchFinder matchFinder);

struct EncoderSettings {
    Encoder encoder;
    uint32_t lc;
    uint32_t lp;
    uint32_t pb;
    uint32_t dictionarySize;
    MatchFinder matchFinder;
    uint32_t niceLength;  // 7-Zip's fast bytes
    uint32_t depth;       // 7-Zip's match cycles; 0: the encoder chooses from niceLength

    bool operator==(const EncoderSettings&) const = default;
};

// 7-Zip's encoder takes no nice length below this.
constexpr uint32_t SevenZipShortestNiceLength = 5;

// The deepest search: 7-Zip's mc=1000000000, which its encoder takes as its match cycles
// unchanged. A binary tree's walk ends long before that many steps, at the nice length or
// at the end of the window: on executables it gives the streams of depth 1000.
constexpr uint32_t DeepestSearchDepth = 1000000000;

// "7zip lc 3 lp 0 pb 1 bt3 nice 273 depth 1000": everything but the dictionary size.
std::string describeSettings(const EncoderSettings& settings);

// (pb * 5 + lp) * 9 + lc, the first byte of the resource.
uint8_t propertiesByte(const EncoderSettings& settings);

// Throws ToolError with the encoder's reason when it refuses the settings or fails.
std::vector<uint8_t> encodePackage(std::span<const uint8_t> image, const EncoderSettings& settings);
