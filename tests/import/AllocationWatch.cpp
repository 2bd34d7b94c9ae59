// Replaces the global operator new of the import test program, to tell how large the largest
// single allocation of a refused decode was.
#include <atomic>
#include <cstdlib>
#include <new>

#include "ImportTestSupport.h"

namespace {
std::atomic<bool> watching{false};
std::atomic<std::size_t> largest{0};
}  // namespace

void* operator new(std::size_t size) {
    if (watching.load(std::memory_order_relaxed)) {
        std::size_t seen = largest.load(std::memory_order_relaxed);
        while (size > seen && !largest.compare_exchange_weak(seen, size)) {
        }
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace importtest {
AllocationWatch::AllocationWatch() {
    largest = 0;
    watching = true;
}
AllocationWatch::~AllocationWatch() { watching = false; }
std::size_t AllocationWatch::Largest() const { return largest.load(); }
}  // namespace importtest
