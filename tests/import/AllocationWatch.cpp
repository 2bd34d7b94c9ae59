// Replaces the global operator new of the import test program, to tell how large the largest
// single allocation of a refused decode was.
#include <atomic>
#include <cstdlib>
#include <new>

#include "ImportTestSupport.h"

namespace {
std::atomic<bool> watching{false};
std::atomic<std::size_t> largest{0};

void* WatchedAllocation(std::size_t size) noexcept {
    if (watching.load(std::memory_order_relaxed)) {
        std::size_t seen = largest.load(std::memory_order_relaxed);
        while (size > seen && !largest.compare_exchange_weak(seen, size)) {
        }
    }
    return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

// Every plain form is replaced, so that whatever form allocates, the matching delete frees it
// with free (a sanitizer runtime otherwise pairs its own nothrow or array new with our delete).
void* operator new(std::size_t size) {
    if (void* p = WatchedAllocation(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = WatchedAllocation(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return WatchedAllocation(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return WatchedAllocation(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace importtest {
AllocationWatch::AllocationWatch() {
    largest = 0;
    watching = true;
}
AllocationWatch::~AllocationWatch() { watching = false; }
std::size_t AllocationWatch::Largest() const { return largest.load(); }
}  // namespace importtest
