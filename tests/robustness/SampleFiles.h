#pragma once
// Valid BMP and PCX files of every kind the readers accept, with the pictures they hold: the
// starting points for mutation runs and the fuzzers' seed corpus. Plain C++.

#include <cstdint>
#include <string>
#include <vector>

#include "support/BmpBuilder.h"
#include "support/PcxBuilder.h"

namespace samplefiles {

enum class Format { Bmp, Pcx };

struct Sample {
    std::string Name;  // a file name with its extension
    Format Kind;
    std::vector<uint8_t> Bytes;
    int32_t Width;
    int32_t Height;
    std::vector<uint8_t> Pixels;  // the picture the file holds, top row first
};

// compression: 0 none, 1 RLE8, 2 RLE4.
inline Sample Bmp(std::string name, int width, int height, int bits, uint32_t compression = 0,
                  uint32_t headerSize = 40, bool topDown = false) {
    return Sample{std::move(name), Format::Bmp,
                  bmpbuild::Build(bmpbuild::PictureLayout(width, height, bits, compression, headerSize, topDown)),
                  width, height, bmpbuild::PatternPixels(width, height, 1 << bits)};
}

inline Sample Pcx(std::string name, int width, int height, bool runsCrossRows) {
    auto pixels = bmpbuild::PatternPixels(width, height, 256);
    auto bytes = pcxbuild::BuildPicture(pixels, width, height, runsCrossRows);
    return Sample{std::move(name), Format::Pcx, std::move(bytes), width, height, std::move(pixels)};
}

// The 96 x 96 pictures the program works with, and other sizes and kinds.
inline std::vector<Sample> LargeSamples() {
    return {Bmp("plain8.bmp", 96, 96, 8),           Bmp("topdown8.bmp", 96, 96, 8, 0, 40, true),
            Bmp("odd-width8.bmp", 13, 7, 8),         Bmp("plain4.bmp", 96, 96, 4),
            Bmp("odd-width4.bmp", 9, 5, 4),          Bmp("plain1.bmp", 96, 96, 1),
            Bmp("odd-width1.bmp", 17, 3, 1, 0, 40, true), Bmp("rle8.bmp", 96, 96, 8, 1),
            Bmp("rle4.bmp", 96, 96, 4, 2),           Bmp("odd-width-rle4.bmp", 11, 6, 4, 2),
            Bmp("v4header8.bmp", 96, 96, 8, 0, 108), Bmp("v5header-rle8.bmp", 40, 20, 8, 1, 124),
            Bmp("core8.bmp", 20, 9, 8, 0, 12),       Pcx("crossing.pcx", 96, 96, true),
            Pcx("by-row.pcx", 96, 96, false),        Pcx("odd-width.pcx", 13, 9, true)};
}

// Small samples, cheap enough to truncate at every length.
inline std::vector<Sample> SmallSamples() {
    return {Bmp("tiny8.bmp", 5, 3, 8),       Bmp("tiny4.bmp", 5, 3, 4),
            Bmp("tiny1.bmp", 9, 2, 1),       Bmp("tiny-rle8.bmp", 6, 4, 8, 1),
            Bmp("tiny-rle4.bmp", 7, 3, 4, 2), Bmp("tiny-topdown.bmp", 4, 4, 8, 0, 124, true),
            Pcx("tiny.pcx", 6, 4, true),     Pcx("tiny-by-row.pcx", 5, 3, false)};
}

}  // namespace samplefiles
