// The counting allocator hook: malloc, calloc and realloc defined in the
// executable take every call in the process (the GL driver's included) and
// pass it to glibc's own allocator, whose free() releases the blocks; the
// replaced operator new counts the C++ side (our code, the C++ library)
// apart. Linked into trof_capture on glibc only, and not into sanitizer
// builds, which bring allocators of their own.
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#include "allocation_counter.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
}

namespace {
std::atomic<int64_t> calls{0};
std::atomic<int64_t> new_calls{0};

void* counted_new(size_t size) {
    new_calls.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
}  // namespace

extern "C" {
void* malloc(size_t size) {
    calls.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
    calls.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}

void* realloc(void* block, size_t size) {
    calls.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(block, size);
}
}

void* operator new(size_t size) { return counted_new(size); }
void* operator new[](size_t size) { return counted_new(size); }

allocation_counts allocations_so_far() {
    return {calls.load(std::memory_order_relaxed), new_calls.load(std::memory_order_relaxed)};
}
