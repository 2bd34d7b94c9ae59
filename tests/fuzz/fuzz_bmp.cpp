// libFuzzer target: any byte sequence given to the BMP reader yields a picture consistent with
// its size or a refusal; never a crash, an out-of-bounds access or an oversized allocation
// (run with -malloc_limit_mb).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "imagefiles/modBmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto decoded = modBmp::DecodeBmp(std::span<const uint8_t>(data, size));
    if (decoded) {
        const auto& header = decoded->Header;
        const int64_t count = int64_t{header.Width} * header.Height;
        if (header.Width <= 0 || header.Height <= 0 || header.Size != count ||
            static_cast<int64_t>(decoded->Pixels.size()) != count)
            std::abort();
    }
    return 0;
}
