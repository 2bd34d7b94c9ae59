#pragma once
// A truecolour picture of any size, as the picture decoders deliver it for import.

#include <cstdint>
#include <vector>

namespace imagefiles {

// Width x Height pixels, top row first, four bytes each: red, green, blue, alpha (straight, not
// premultiplied; 255 is opaque). 8 bits per sample in the sRGB encoding the files use.
struct RgbaPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels;
};

// The most pixels a decoder delivers (16 Mi, 64 MiB of samples). A larger picture is refused
// from its header, before any pixel memory is allocated.
constexpr int64_t kMaxImportPixels = int64_t{16} * 1024 * 1024;

}  // namespace imagefiles
