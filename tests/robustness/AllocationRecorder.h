#pragma once
// Records the largest single allocation made while recording is on. This test program replaces
// the global operator new and delete (AllocationRecorder.cpp) so that every allocation a reader
// makes, directly or through a container, is seen.

#include <cstddef>

namespace allocationrecorder {

// While recording, a request above this size is refused with std::bad_alloc (after it has been
// recorded) so that a reader that trusts a hostile size cannot exhaust the machine's memory.
inline constexpr std::size_t RefusedAbove = std::size_t{256} * 1024 * 1024;

// Starts recording from zero.
void Start();
// Stops recording and returns the largest single request seen since Start.
std::size_t Stop();

}  // namespace allocationrecorder
