#pragma once
// Builds BMP files byte by byte for the reader's tests, the mutation runs and the fuzzers' seeds,
// including deliberately broken ones. Plain C++ without a test framework.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "imagefiles/PaletteEntry.h"

namespace bmpbuild {

struct BmpLayout {
    uint32_t HeaderSize = 40;  // 12 (OS/2 core), 40, 52, 56, 108 or 124
    int32_t Width = 0;
    int32_t Height = 0;        // negative: rows stored top-down
    uint16_t Planes = 1;
    uint16_t BitCount = 8;
    uint32_t Compression = 0;  // 0 none, 1 RLE8, 2 RLE4
    uint32_t ColoursUsed = 0;
    std::vector<PaletteEntry> Colours;    // the colour table as written (3 bytes each for a core header)
    std::vector<uint8_t> PixelData;       // everything after the colour table
    std::optional<uint32_t> PixelOffset;  // bfOffBits; by default right after the colour table
};

inline void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
}

inline std::vector<uint8_t> Build(const BmpLayout& layout) {
    const bool core = layout.HeaderSize == 12;
    const uint32_t entrySize = core ? 3 : 4;
    const uint32_t tableEnd = 14 + layout.HeaderSize + static_cast<uint32_t>(layout.Colours.size()) * entrySize;
    std::vector<uint8_t> out{'B', 'M'};
    Put32(out, tableEnd + static_cast<uint32_t>(layout.PixelData.size()));
    Put32(out, 0);
    Put32(out, layout.PixelOffset.value_or(tableEnd));
    Put32(out, layout.HeaderSize);
    if (core) {
        Put16(out, static_cast<uint32_t>(layout.Width));
        Put16(out, static_cast<uint32_t>(layout.Height));
        Put16(out, layout.Planes);
        Put16(out, layout.BitCount);
    } else {
        Put32(out, static_cast<uint32_t>(layout.Width));
        Put32(out, static_cast<uint32_t>(layout.Height));
        Put16(out, layout.Planes);
        Put16(out, layout.BitCount);
        Put32(out, layout.Compression);
        Put32(out, static_cast<uint32_t>(layout.PixelData.size()));  // biSizeImage
        Put32(out, 2835);                                          // 72 dpi
        Put32(out, 2835);
        Put32(out, layout.ColoursUsed);
        Put32(out, 0);
        out.resize(14 + layout.HeaderSize, 0);  // later header versions: masks, colour space, all zero
    }
    for (const PaletteEntry& c : layout.Colours) {
        out.insert(out.end(), {c.Blue, c.Green, c.Red});
        if (!core) out.push_back(c.Reserved);
    }
    out.insert(out.end(), layout.PixelData.begin(), layout.PixelData.end());
    return out;
}

// Uncompressed rows of bitCount bits per pixel from top-down indices: the leftmost pixel in the
// high bits, each row padded with zeros to 4 bytes, bottom row first unless topDown.
inline std::vector<uint8_t> PackRows(const std::vector<uint8_t>& pixels, int width, int height, int bitCount,
                                     bool topDown = false) {
    const int stride = (width * bitCount + 31) / 32 * 4;
    std::vector<uint8_t> out(static_cast<std::size_t>(stride * height), 0);
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const int y = topDown ? fileRow : height - 1 - fileRow;
        for (int x = 0; x < width; ++x) {
            const int bit = x * bitCount;
            out[static_cast<std::size_t>(fileRow * stride + bit / 8)] |=
                static_cast<uint8_t>(pixels[static_cast<std::size_t>(y * width + x)] << (8 - bitCount - bit % 8));
        }
    }
    return out;
}

// RLE8 or RLE4 packets from top-down indices, bottom row first: stretches of three or more
// differing values in absolute mode (padded to 16 bits), runs otherwise, an end-of-line escape
// after every row and the end-of-bitmap escape.
inline std::vector<uint8_t> EncodeRunLength(const std::vector<uint8_t>& pixels, int width, int height, int bitCount) {
    const bool four = bitCount == 4;
    std::vector<uint8_t> out;
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t* row = pixels.data() + static_cast<std::size_t>(y * width);
        for (int x = 0; x < width;) {
            int literal = 1;
            while (x + literal < width && literal < 255 && row[x + literal] != row[x + literal - 1]) ++literal;
            if (literal >= 3) {
                out.insert(out.end(), {0, static_cast<uint8_t>(literal)});
                const std::size_t start = out.size();
                for (int k = 0; k < literal; k += four ? 2 : 1)
                    out.push_back(four ? static_cast<uint8_t>((row[x + k] << 4) | (k + 1 < literal ? row[x + k + 1] : 0))
                                       : row[x + k]);
                if ((out.size() - start) % 2) out.push_back(0);
                x += literal;
            } else {
                int run = 1;
                while (x + run < width && run < 255 && row[x + run] == row[x]) ++run;
                out.insert(out.end(), {static_cast<uint8_t>(run), four ? static_cast<uint8_t>(row[x] * 0x11) : row[x]});
                x += run;
            }
        }
        out.insert(out.end(), {0, 0});
    }
    out.insert(out.end(), {0, 1});
    return out;
}

// A colour table of count entries that are easy to tell apart.
inline std::vector<PaletteEntry> DistinctColours(int count) {
    std::vector<PaletteEntry> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back(PaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7), 0});
    return colours;
}

// Top-down pixels below limit with runs, pairs and stretches in which every pixel differs.
inline std::vector<uint8_t> PatternPixels(int width, int height, int limit) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int value = y % 3 == 0 ? x / 7 + y : (y % 3 == 1 ? x * 5 + y : (x / 2) * 3 + 250);
            pixels.push_back(static_cast<uint8_t>(value % limit));
        }
    return pixels;
}

// A valid file of PatternPixels in DistinctColours: compression 0, 1 (8 bits) or 2 (4 bits).
inline BmpLayout PictureLayout(int width, int height, int bitCount, uint32_t compression = 0, uint32_t headerSize = 40,
                           bool topDown = false) {
    BmpLayout layout;
    layout.HeaderSize = headerSize;
    layout.Width = width;
    layout.Height = topDown ? -height : height;
    layout.BitCount = static_cast<uint16_t>(bitCount);
    layout.Compression = compression;
    layout.Colours = DistinctColours(1 << bitCount);
    const auto pixels = PatternPixels(width, height, 1 << bitCount);
    layout.PixelData = compression == 0 ? PackRows(pixels, width, height, bitCount, topDown)
                                      : EncodeRunLength(pixels, width, height, bitCount);
    return layout;
}

}  // namespace bmpbuild
