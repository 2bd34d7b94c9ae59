#pragma once
// Run-length compressed BMP pixel data (RLE8 and RLE4).

#include <cstdint>
#include <span>

namespace imagefiles {

// Decodes RLE8 (bitsPerPixel 8) or RLE4 (bitsPerPixel 4) data into Pixels, which holds
// width x height indices, top row first, and must be zero on entry. The compressed rows run
// bottom-up, as they always do in a BMP file; pixels the data never writes stay index 0.
// False when the data ends before its end-of-bitmap mark while rows remain to be filled.
bool DecodeRunLength(std::span<const uint8_t> data, int bitsPerPixel, int32_t width, int32_t height,
                     std::span<uint8_t> Pixels);

}  // namespace imagefiles
