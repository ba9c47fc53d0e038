#include <cstdlib>

#include "package/package_types.h"

uint8_t* UnpackBuffer::allocate() {
    release();
    // calloc hands back the block already zero-filled, as every reader expects.
    data = static_cast<uint8_t*>(std::calloc(UnpackBlockSize, 1));
    if (data == nullptr) {
        return nullptr;
    }
    owned = 1;
    capacity = UnpackBlockSize;
    length = UnpackBlockSize;
    return data;
}

void UnpackBuffer::release() {
    if (owned == 0) {
        return;
    }
    if (data != nullptr) {
        std::free(data);
        data = nullptr;
        capacity = 0;
        length = 0;
    }
    owned = 0;
}
