// libFuzzer target: any byte sequence given to the GAF reader yields frames consistent with their
// sizes or a refusal with a reason; never a crash, an out-of-bounds access, a hang or an
// oversized allocation (run with -malloc_limit_mb). The limits are lower than the reader's
// defaults so that the inputs that spend the whole budget stay quick; the checks are the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "gaf/GafReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const gaf::GafLimits limits{.MaxFramePixels = 4 * 1024 * 1024, .MaxWork = 32 * 1024 * 1024, .MaxLayerDepth = 8};
    imagefiles::FileFailure why;
    const auto decoded = gaf::DecodeGaf(std::span<const uint8_t>(data, size), &why, limits);
    if (!decoded) {
        if (why.Detail.empty()) std::abort();
        return 0;
    }
    uint64_t pixels = 0;
    for (const auto& entry : decoded->Entries) {
        for (const auto& frame : entry.Frames) {
            const uint64_t count = uint64_t{frame.Width} * frame.Height;
            if (count == 0 || count > limits.MaxFramePixels || frame.Pixels.size() != count) std::abort();
            pixels += count;
        }
    }
    if (pixels > limits.MaxWork) std::abort();
    return 0;
}
