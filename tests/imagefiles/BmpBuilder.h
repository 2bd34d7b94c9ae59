#pragma once
// Builds BMP files byte by byte for the reader's tests, including deliberately broken ones.

#include <cstdint>
#include <optional>
#include <vector>

#include "imagefiles/PaletteEntry.h"
#include "support/TestFiles.h"

namespace bmptest {

struct BmpSpec {
    uint32_t HeaderSize = 40;  // 12 (OS/2 core), 40, 52, 56, 108 or 124
    int32_t Width = 0;
    int32_t Height = 0;        // negative: rows stored top-down
    uint16_t Planes = 1;
    uint16_t BitCount = 8;
    uint32_t Compression = 0;
    uint32_t ColoursUsed = 0;
    std::vector<PaletteEntry> Colours;     // the colour table as written (3 bytes each for a core header)
    std::vector<uint8_t> PixelData;        // everything after the colour table
    std::optional<uint32_t> PixelOffset;   // bfOffBits; by default right after the colour table
};

inline std::vector<uint8_t> BuildBmp(const BmpSpec& spec) {
    using testsupport::PutI32;
    using testsupport::PutU16;
    using testsupport::PutU32;
    const bool core = spec.HeaderSize == 12;
    const uint32_t entrySize = core ? 3 : 4;
    const uint32_t tableEnd = 14 + spec.HeaderSize + static_cast<uint32_t>(spec.Colours.size()) * entrySize;
    const uint32_t offset = spec.PixelOffset.value_or(tableEnd);

    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutU32(out, tableEnd + static_cast<uint32_t>(spec.PixelData.size()));
    PutU16(out, 0);
    PutU16(out, 0);
    PutU32(out, offset);
    PutU32(out, spec.HeaderSize);
    if (core) {
        PutU16(out, static_cast<unsigned>(spec.Width));
        PutU16(out, static_cast<unsigned>(spec.Height));
        PutU16(out, spec.Planes);
        PutU16(out, spec.BitCount);
    } else {
        PutI32(out, spec.Width);
        PutI32(out, spec.Height);
        PutU16(out, spec.Planes);
        PutU16(out, spec.BitCount);
        PutU32(out, spec.Compression);
        PutU32(out, static_cast<uint32_t>(spec.PixelData.size()));  // biSizeImage
        PutU32(out, 2835);                                          // 72 dpi
        PutU32(out, 2835);
        PutU32(out, spec.ColoursUsed);
        PutU32(out, 0);
        // Later header versions: masks, colour space, gamma, intent...; zero is fine here,
        // apart from a recognisable colour-space tag.
        while (out.size() < 14 + spec.HeaderSize) out.push_back(out.size() == 14 + 56 ? 'B' : 0);
    }
    for (const PaletteEntry& c : spec.Colours) {
        out.push_back(c.Blue);
        out.push_back(c.Green);
        out.push_back(c.Red);
        if (!core) out.push_back(c.Reserved);
    }
    out.insert(out.end(), spec.PixelData.begin(), spec.PixelData.end());
    return out;
}

// Packs top-down pixel indices into uncompressed BMP rows of bitCount bits per pixel, the
// leftmost pixel in the high bits, each row padded with zeros to a multiple of 4 bytes; the
// rows come bottom-up unless topDown.
inline std::vector<uint8_t> PackRows(const std::vector<uint8_t>& pixels, int width, int height, int bitCount,
                                     bool topDown) {
    const int stride = (width * bitCount + 31) / 32 * 4;
    std::vector<uint8_t> out(static_cast<std::size_t>(stride * height), 0);
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const int y = topDown ? fileRow : height - 1 - fileRow;
        for (int x = 0; x < width; ++x) {
            const unsigned value = pixels[static_cast<std::size_t>(y * width + x)];
            const int bit = x * bitCount;
            const int shift = 8 - bitCount - bit % 8;
            out[static_cast<std::size_t>(fileRow * stride + bit / 8)] |= static_cast<uint8_t>(value << shift);
        }
    }
    return out;
}

// A colour table of count entries whose colours are easy to tell apart.
inline std::vector<PaletteEntry> DistinctColours(int count) {
    std::vector<PaletteEntry> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back(PaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                       static_cast<uint8_t>(i * 7), 0});
    return colours;
}

// Top-down pixels with a pattern that differs between rows and columns, values below limit.
inline std::vector<uint8_t> PatternPixels(int width, int height, int limit) {
    std::vector<uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y * width + x)] = static_cast<uint8_t>((x * 7 + y * 13 + x * y) % limit);
    return pixels;
}

}  // namespace bmptest
