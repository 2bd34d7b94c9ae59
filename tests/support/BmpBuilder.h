#pragma once
// Builds BMP files byte by byte, broken ones included, for the reader tests, the mutation runs
// and the fuzzers' seeds. Plain C++ without a test framework.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>
#include "imagefiles/PaletteEntry.h"

namespace bmpbuild {
struct BmpLayout {
    uint32_t HeaderSize = 40;       // 12 (OS/2 core: 16-bit sizes, 3-byte colours), 40, 52, 56, 108 or 124
    int32_t Width = 0, Height = 0;  // a negative height: rows stored top-down
    uint16_t Planes = 1, BitCount = 8;
    uint32_t Compression = 0, ColoursUsed = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields, 6 with alpha
    std::vector<uint32_t> Masks{};              // from offset 54: inside a larger header, else behind it
    std::vector<PaletteEntry> Colours{};
    std::vector<uint8_t> PixelData{};       // everything after the colour table
    std::optional<uint32_t> PixelOffset{};  // by default right after the colour table
};

inline std::vector<uint8_t> Build(const BmpLayout& s) {
    const bool core = s.HeaderSize == 12;
    const auto tableEnd =
        static_cast<uint32_t>(14 + std::max<std::size_t>(s.HeaderSize, s.Masks.empty() ? 0 : 40 + 4 * s.Masks.size()) +
                              s.Colours.size() * (core ? 3 : 4));
    std::vector<uint8_t> out{'B', 'M'};
    const auto put = [&out](uint32_t value, int bytes) {
        for (int k = 0; k < bytes; ++k) out.push_back(uint8_t(value >> (8 * k)));
    };
    put(tableEnd + static_cast<uint32_t>(s.PixelData.size()), 4), put(0, 4), put(s.PixelOffset.value_or(tableEnd), 4);
    put(s.HeaderSize, 4), put(uint32_t(s.Width), core ? 2 : 4), put(uint32_t(s.Height), core ? 2 : 4);
    put(s.Planes, 2), put(s.BitCount, 2);
    if (!core) {
        for (uint32_t v : {s.Compression, static_cast<uint32_t>(s.PixelData.size()), 2835u, 2835u, s.ColoursUsed, 0u})
            put(v, 4);
        for (uint32_t mask : s.Masks) put(mask, 4);
        out.resize(std::max<std::size_t>(out.size(), 14 + s.HeaderSize), 0);  // the rest: zeros
    }
    for (const PaletteEntry& c : s.Colours) {
        out.insert(out.end(), {c.Blue, c.Green, c.Red});
        if (!core) out.push_back(c.Reserved);
    }
    out.insert(out.end(), s.PixelData.begin(), s.PixelData.end());
    return out;
}
// Uncompressed rows from top-down indices: leftmost pixel in the high bits, rows padded to 4
// bytes, bottom row first unless topDown.
inline std::vector<uint8_t> PackRows(const std::vector<uint8_t>& px, int w, int h, int bits, bool topDown = false) {
    const int stride = (w * bits + 31) / 32 * 4;
    std::vector<uint8_t> out(static_cast<std::size_t>(stride * h), 0);
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x)
            out[static_cast<std::size_t>(row * stride + x * bits / 8)] |= static_cast<uint8_t>(
                px[static_cast<std::size_t>((topDown ? row : h - 1 - row) * w + x)] << (8 - bits - x * bits % 8));
    return out;
}
// Truecolour rows from top-down pixel values of bits / 8 little-endian bytes each: rows padded
// to 4 bytes, bottom row first unless topDown.
inline std::vector<uint8_t> PackValues(const std::vector<uint32_t>& values, int w, int h, int bits, bool topDown) {
    std::vector<uint8_t> out;
    for (int row = 0; row < h; ++row) {
        for (int x = 0; x < w; ++x)
            for (int b = 0; b < bits / 8; ++b)
                out.push_back(
                    uint8_t(values[static_cast<std::size_t>((topDown ? row : h - 1 - row) * w + x)] >> (8 * b)));
        out.resize((out.size() + 3) / 4 * 4, 0);
    }
    return out;
}
// RLE8 or RLE4 packets, bottom row first: runs of equal pixels, an end of line per row, the end
// of bitmap. (Literal and delta packets are packed by hand in the reader's tests.)
inline std::vector<uint8_t> EncodeRunLength(const std::vector<uint8_t>& px, int w, int h, int bits) {
    std::vector<uint8_t> out;
    for (int y = h - 1; y >= 0; --y) {
        const uint8_t* row = px.data() + static_cast<std::size_t>(y * w);
        for (int x = 0, n = 0; x < w; x += n) {
            for (n = 1; x + n < w && n < 255 && row[x + n] == row[x];) ++n;
            out.insert(out.end(), {static_cast<uint8_t>(n), static_cast<uint8_t>(bits == 4 ? row[x] * 0x11 : row[x])});
        }
        out.insert(out.end(), {0, 0});
    }
    out.insert(out.end(), {0, 1});
    return out;
}
// Top-down pixels below limit with runs, pairs and stretches in which every pixel differs.
inline std::vector<uint8_t> PatternPixels(int w, int h, int limit) {
    std::vector<uint8_t> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px.push_back(uint8_t((y % 3 == 0 ? x / 7 + y : y % 3 == 1 ? x * 5 + y : x / 2 * 3 + 250) % limit));
    return px;
}
// A valid file of PatternPixels in a colour table whose entries all differ: compression 0, 1
// (8 bits) or 2 (4 bits).
inline BmpLayout PictureLayout(int w, int h, int bits, uint32_t compression = 0, uint32_t headerSize = 40,
                               bool topDown = false) {
    BmpLayout s{.HeaderSize = headerSize, .Width = w, .Height = topDown ? -h : h, .BitCount = uint16_t(bits)};
    for (int i = 0; i < 1 << bits; ++i) s.Colours.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0});
    const auto px = PatternPixels(w, h, 1 << bits);
    s.Compression = compression;
    s.PixelData = compression == 0 ? PackRows(px, w, h, bits, topDown) : EncodeRunLength(px, w, h, bits);
    return s;
}
}  // namespace bmpbuild
