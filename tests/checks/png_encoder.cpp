#include "tests/checks/png_encoder.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace {

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            entries[n] = c;
        }
        return entries;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void putChunk(std::vector<uint8_t>& out, std::string_view type, const std::vector<uint8_t>& data)
{
    putBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian(out, crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored deflate blocks (at most 65535 bytes each) and its Adler-32.
std::vector<uint8_t> storedZlib(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> out{0x78, 0x01};
    size_t at = 0;
    do {
        const size_t size = raw.size() - at < 65535 ? raw.size() - at : 65535;
        out.push_back(at + size == raw.size() ? 1 : 0);
        out.push_back(static_cast<uint8_t>(size));
        out.push_back(static_cast<uint8_t>(size >> 8));
        out.push_back(static_cast<uint8_t>(~size));
        out.push_back(static_cast<uint8_t>(~size >> 8));
        out.insert(out.end(), raw.begin() + static_cast<ptrdiff_t>(at),
                   raw.begin() + static_cast<ptrdiff_t>(at + size));
        at += size;
    } while (at < raw.size());
    uint32_t a = 1;
    uint32_t b = 0;
    for (const uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(out, (b << 16) | a);
    return out;
}

}  // namespace

std::vector<uint8_t> encodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb)
{
    const size_t row = static_cast<size_t>(width) * 3;
    if (width == 0 || height == 0 || rgb.size() != row * height) {
        return {};
    }
    // Each row starts with its filter type, 0: none.
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * height);
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb.begin() + static_cast<ptrdiff_t>(y * row),
                   rgb.begin() + static_cast<ptrdiff_t>((y + 1) * row));
    }
    std::vector<uint8_t> header;
    putBigEndian(header, width);
    putBigEndian(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", storedZlib(raw));
    putChunk(png, "IEND", {});
    return png;
}
