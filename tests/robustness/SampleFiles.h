#pragma once
// Valid BMP and PCX files of every kind the readers accept, with the pictures they hold: the
// starting points for mutation runs and the fuzzers' seed corpus.

#include <cstdint>
#include <string>
#include <vector>

#include "imagefiles/PcxBuilder.h"
#include "robustness/BmpBuilder.h"

namespace samplefiles {

enum class Format { Bmp, Pcx };

struct Sample {
    std::string Name;             // a file name with its extension
    Format Kind;
    std::vector<uint8_t> Bytes;
    int32_t Width;
    int32_t Height;
    std::vector<uint8_t> Pixels;  // the picture the file holds, top row first
};

// A picture with runs, single pixels and stretches of differing values, all below 1 << bits.
inline std::vector<uint8_t> SamplePicture(int32_t width, int32_t height, int bits) {
    const int limit = 1 << bits;
    std::vector<uint8_t> pixels;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            int value;
            if (y % 3 == 0) value = x / 7 + y;          // runs of 7
            else if (y % 3 == 1) value = x * 5 + y;     // every pixel differs from its neighbour
            else value = (x / 2) * 3 + 250;             // pairs
            pixels.push_back(static_cast<uint8_t>(value % limit));
        }
    }
    return pixels;
}

inline std::vector<uint8_t> SampleColourTable(int bits) {
    std::vector<uint8_t> bgr;
    for (int i = 0; i < (1 << bits); ++i) {
        bgr.push_back(static_cast<uint8_t>(i * 3));
        bgr.push_back(static_cast<uint8_t>(255 - i));
        bgr.push_back(static_cast<uint8_t>(i * 11));
    }
    return bgr;
}

inline Sample MakeBmp(std::string name, int32_t width, int32_t height, int bits, bmpbuild::Compression kind,
                      uint32_t infoSize = 40, bool topDown = false) {
    bmpbuild::BmpPicture bmp;
    bmp.Width = width;
    bmp.Height = height;
    bmp.BitsPerPixel = bits;
    bmp.Kind = kind;
    bmp.InfoHeaderSize = infoSize;
    bmp.TopDown = topDown;
    bmp.Pixels = SamplePicture(width, height, bits);
    bmp.ColourTableBgr = SampleColourTable(bits);
    return Sample{std::move(name), Format::Bmp, bmpbuild::Build(bmp), width, height, bmp.Pixels};
}

inline Sample MakePcx(std::string name, int32_t width, int32_t height, bool runsCrossRows) {
    auto pixels = SamplePicture(width, height, 8);
    auto bytes = pcxbuild::BuildPicture(pixels, width, height, runsCrossRows);
    return Sample{std::move(name), Format::Pcx, std::move(bytes), width, height, std::move(pixels)};
}

// The larger samples: the 96 x 96 pictures the program works with, and other sizes.
inline std::vector<Sample> AllSamples() {
    using bmpbuild::Compression;
    return {
        MakeBmp("plain8.bmp", 96, 96, 8, Compression::None),
        MakeBmp("topdown8.bmp", 96, 96, 8, Compression::None, 40, true),
        MakeBmp("odd-width8.bmp", 13, 7, 8, Compression::None),
        MakeBmp("plain4.bmp", 96, 96, 4, Compression::None),
        MakeBmp("odd-width4.bmp", 9, 5, 4, Compression::None),
        MakeBmp("plain1.bmp", 96, 96, 1, Compression::None),
        MakeBmp("odd-width1.bmp", 17, 3, 1, Compression::None, 40, true),
        MakeBmp("rle8.bmp", 96, 96, 8, Compression::Rle8),
        MakeBmp("rle4.bmp", 96, 96, 4, Compression::Rle4),
        MakeBmp("odd-width-rle4.bmp", 11, 6, 4, Compression::Rle4),
        MakeBmp("v4header8.bmp", 96, 96, 8, Compression::None, 108),
        MakeBmp("v5header-rle8.bmp", 40, 20, 8, Compression::Rle8, 124),
        MakePcx("crossing.pcx", 96, 96, true),
        MakePcx("by-row.pcx", 96, 96, false),
        MakePcx("odd-width.pcx", 13, 9, true),
    };
}

// Small samples, cheap enough to truncate at every length.
inline std::vector<Sample> SmallSamples() {
    using bmpbuild::Compression;
    return {
        MakeBmp("tiny8.bmp", 5, 3, 8, Compression::None),
        MakeBmp("tiny4.bmp", 5, 3, 4, Compression::None),
        MakeBmp("tiny1.bmp", 9, 2, 1, Compression::None),
        MakeBmp("tiny-rle8.bmp", 6, 4, 8, Compression::Rle8),
        MakeBmp("tiny-rle4.bmp", 7, 3, 4, Compression::Rle4),
        MakeBmp("tiny-topdown.bmp", 4, 4, 8, Compression::None, 124, true),
        MakePcx("tiny.pcx", 6, 4, true),
        MakePcx("tiny-by-row.pcx", 5, 3, false),
    };
}

}  // namespace samplefiles
