// A liblzma allocator that counts the bytes it hands out: the current total, the peak and
// the number of blocks. Single-threaded, as the loader is.
#pragma once

#include <lzma.h>

#include <cstddef>

class CountingAllocator {
public:
    CountingAllocator();
    CountingAllocator(const CountingAllocator&) = delete;
    CountingAllocator& operator=(const CountingAllocator&) = delete;

    const lzma_allocator* hook() const { return &hook_; }
    size_t current() const { return current_; }
    size_t peak() const { return peak_; }
    size_t allocations() const { return allocations_; }

private:
    static void* allocate(void* self, size_t count, size_t size);
    static void release(void* self, void* block);

    lzma_allocator hook_;
    size_t current_ = 0;
    size_t peak_ = 0;
    size_t allocations_ = 0;
};
