// Writes the image a package resource unpacks to, for the reference encoders to compress.
//   package_image PACKAGE IMAGE
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "package/lzma_raw_decoder.h"
#include "package/package_types.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: package_image PACKAGE IMAGE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> resource{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
    std::vector<uint8_t> image(UnpackBlockSize);
    const uint32_t length = decodeRawLzma(resource.data(), static_cast<uint32_t>(resource.size()),
                                          image.data(), static_cast<uint32_t>(image.size()));
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()), length);
    if (!in || length == 0 || !out) {
        std::fprintf(stderr, "package_image: cannot unpack %s into %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
