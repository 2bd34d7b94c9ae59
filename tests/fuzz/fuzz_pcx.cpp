// libFuzzer target: any byte sequence given to the PCX reader yields a picture consistent with
// its size or a refusal; never a crash, an out-of-bounds access or an oversized allocation
// (run with -malloc_limit_mb).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "imagefiles/modPCX.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto decoded = modPCX::DecodePcx(std::span<const uint8_t>(data, size));
    if (decoded) {
        const int64_t count = (int64_t{decoded->LastX} + 1) * (int64_t{decoded->LastY} + 1);
        if (decoded->LastX < 0 || decoded->LastY < 0 || static_cast<int64_t>(decoded->Pixels.size()) != count)
            std::abort();
    }
    return 0;
}
