#pragma once
// What one GAF file may make the program do, from reading it through listing it to extracting
// it, charged before the work is done: a small file cannot cost minutes or gigabytes.
// - parts visited: every entry and every frame or layer decoded, counted again for every offset
//   that names it again (a frame shared by many entries is visited once for each);
// - steps of decoding: one per pixel or data byte, 128 per header (which bounds the memory the
//   decoded file holds);
// - files written and bytes written by an extraction.
// The listing writes a few lines per part visited, so the parts bound it too.

#include <cstdint>
#include <string>

#include "imagefiles/FileFailure.h"

namespace gaf {

struct GafLimits {
    uint64_t MaxFramePixels = uint64_t{16} * 1024 * 1024;  // one frame or layer
    uint64_t MaxWork = uint64_t{256} * 1024 * 1024;        // decoding steps
    int MaxLayerDepth = 8;
    uint64_t MaxParts = uint64_t{256} * 1024;                     // entries and frames visited
    uint64_t MaxFilesWritten = uint64_t{256} * 1024;              // by an extraction
    uint64_t MaxBytesWritten = uint64_t{4} * 1024 * 1024 * 1024;  // by an extraction
};

class WorkBudget {
public:
    explicit WorkBudget(const GafLimits& limits = {}) : limits_(limits) {}

    const GafLimits& Limits() const { return limits_; }

    // Each takes the amount from the budget, or gives false, with the reason in Why (TooManyPixels,
    // which may be null), and takes nothing when the amount would pass the limit.
    bool ChargeSteps(uint64_t steps, imagefiles::FileFailure* Why);
    bool ChargeParts(uint64_t parts, imagefiles::FileFailure* Why);
    bool ChargeFile(uint64_t bytes, imagefiles::FileFailure* Why);

private:
    GafLimits limits_;
    uint64_t steps_ = 0;
    uint64_t parts_ = 0;
    uint64_t files_ = 0;
    uint64_t bytes_ = 0;
};

// "16 Mi" for whole mebi-counts, else the plain number.
std::string CountText(uint64_t count);

}  // namespace gaf
