#pragma once
// Valid BMP and PCX files of the kinds the readers accept, with the pictures they hold: the
// starting points of the mutation runs and the fuzzers' seeds. Plain C++.
#include <string>
#include "support/BmpBuilder.h"
#include "support/PcxBuilder.h"
namespace samplefiles {
enum class Format { Bmp, Pcx };
struct Sample {
    std::string Name;  // with its extension
    Format Kind;
    std::vector<uint8_t> Bytes, Pixels;  // the file; the picture it holds, top row first
};

inline Sample Bmp(std::string name, int w, int h, int bits, uint32_t compression = 0, uint32_t header = 40,
                  bool topDown = false) {
    return {std::move(name), Format::Bmp,
            bmpbuild::Build(bmpbuild::PictureLayout(w, h, bits, compression, header, topDown)),
            bmpbuild::PatternPixels(w, h, 1 << bits)};
}
inline Sample Pcx(std::string name, int w, int h, bool runsEndAtRows) {
    auto px = bmpbuild::PatternPixels(w, h, 256);
    return {std::move(name), Format::Pcx,
            pcxbuild::BuildWithPackets(0, 0, w - 1, h - 1, pcxbuild::Encode(px, runsEndAtRows ? w : 0)), px};
}

// Pictures of the program's 96 x 96 size and other kinds.
inline std::vector<Sample> LargeSamples() {
    return {Bmp("plain8.bmp", 96, 96, 8), Bmp("rle8.bmp", 96, 96, 8, 1), Bmp("rle4-v5.bmp", 41, 20, 4, 2, 124),
            Bmp("topdown1-v4.bmp", 37, 30, 1, 0, 108, true), Pcx("crossing.pcx", 96, 96, false)};
}
// Samples cheap enough to truncate at every length.
inline std::vector<Sample> SmallSamples() {
    return {Bmp("tiny4.bmp", 5, 3, 4),
            Bmp("tiny-core8.bmp", 6, 3, 8, 0, 12),
            Bmp("tiny-rle8.bmp", 6, 4, 8, 1),
            Bmp("tiny-rle4.bmp", 7, 3, 4, 2),
            Bmp("tiny-topdown.bmp", 4, 4, 8, 0, 124, true),
            Pcx("tiny.pcx", 6, 4, true)};
}
}  // namespace samplefiles
