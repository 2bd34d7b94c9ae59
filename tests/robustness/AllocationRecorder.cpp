#include "robustness/AllocationRecorder.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> recording{false};
std::atomic<std::size_t> largest{0};

// Notes a request; false when it must be refused.
bool Note(std::size_t size) {
    if (!recording.load(std::memory_order_relaxed)) return true;
    std::size_t seen = largest.load(std::memory_order_relaxed);
    while (size > seen && !largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
    return size <= allocationrecorder::RefusedAbove;
}

void* Allocate(std::size_t size) {
    if (!Note(size)) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    if (!Note(size)) return nullptr;
    std::size_t align = static_cast<std::size_t>(alignment);
    if (align < sizeof(void*)) align = sizeof(void*);
    void* block = nullptr;
    if (posix_memalign(&block, align, size == 0 ? 1 : size) != 0) return nullptr;
    return block;
}

void* AllocateOrThrow(std::size_t size) {
    if (void* block = Allocate(size)) return block;
    throw std::bad_alloc();
}

void* AllocateAlignedOrThrow(std::size_t size, std::align_val_t alignment) {
    if (void* block = AllocateAligned(size, alignment)) return block;
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

// ---- The replaced global allocation functions ------------------------------------------

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t alignment) { return AllocateAlignedOrThrow(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return AllocateAlignedOrThrow(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, alignment);
}

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
