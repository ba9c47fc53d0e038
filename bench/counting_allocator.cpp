#include "bench/counting_allocator.h"

#include <cstdlib>
#include <cstring>

namespace {

// Each block carries its size in front of it, so that release() can take it off the total.
constexpr size_t HeaderSize = alignof(std::max_align_t);

}  // namespace

CountingAllocator::CountingAllocator()
    : hook_{&CountingAllocator::allocate, &CountingAllocator::release, this} {}

void* CountingAllocator::allocate(void* self, size_t count, size_t size) {
    auto& counter = *static_cast<CountingAllocator*>(self);
    const size_t bytes = count * size;
    auto* block = static_cast<unsigned char*>(std::malloc(HeaderSize + bytes));
    if (block == nullptr) {
        return nullptr;
    }
    std::memcpy(block, &bytes, sizeof bytes);
    counter.current_ += bytes;
    counter.allocations_ += 1;
    if (counter.current_ > counter.peak_) {
        counter.peak_ = counter.current_;
    }
    return block + HeaderSize;
}

void CountingAllocator::release(void* self, void* pointer) {
    if (pointer == nullptr) {
        return;
    }
    auto& counter = *static_cast<CountingAllocator*>(self);
    unsigned char* block = static_cast<unsigned char*>(pointer) - HeaderSize;
    size_t bytes = 0;
    std::memcpy(&bytes, block, sizeof bytes);
    counter.current_ -= bytes;
    std::free(block);
}
