// Replaces the global allocation functions of this test program, so that every allocation a
// reader makes, directly or through a container, is seen.

#include "robustness/AllocationRecorder.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> recording{false};
std::atomic<std::size_t> largest{0};

// Notes a request and allocates it, or gives nullptr when it is refused or fails.
void* Allocate(std::size_t size, std::size_t alignment = 0) {
    if (recording.load(std::memory_order_relaxed)) {
        std::size_t seen = largest.load(std::memory_order_relaxed);
        while (size > seen && !largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
        }
        if (size > allocationrecorder::RefusedAbove) return nullptr;
    }
    if (alignment <= alignof(std::max_align_t)) return std::malloc(size == 0 ? 1 : size);
    void* block = nullptr;
    return posix_memalign(&block, alignment, size == 0 ? 1 : size) == 0 ? block : nullptr;
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment = 0) {
    if (void* block = Allocate(size, alignment)) return block;
    throw std::bad_alloc();
}

}  // namespace

namespace allocationrecorder {

void Start() {
    largest.store(0, std::memory_order_relaxed);
    recording.store(true, std::memory_order_relaxed);
}

std::size_t Stop() {
    recording.store(false, std::memory_order_relaxed);
    return largest.load(std::memory_order_relaxed);
}

}  // namespace allocationrecorder

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t a) { return AllocateOrThrow(size, static_cast<std::size_t>(a)); }
void* operator new[](std::size_t size, std::align_val_t a) { return AllocateOrThrow(size, static_cast<std::size_t>(a)); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept { return Allocate(size, static_cast<std::size_t>(a)); }
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept { return Allocate(size, static_cast<std::size_t>(a)); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { std::free(block); }
