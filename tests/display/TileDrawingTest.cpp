// Tile and line drawing: exact pixels, clipping at every edge, no access outside a buffer.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <numeric>
#include <span>
#include <string>
#include <vector>

#include "display/TileDrawing.h"

namespace {

constexpr int32_t kMax = INT32_MAX, kMin = INT32_MIN;
constexpr const char* kBlank = "........|........|........|........";

// An 8 x 4 surface as rows joined by '|': '.' where still 0xEE, else the digit written.
std::string Picture(const std::vector<uint8_t>& Bits) {
    std::string rows;
    for (std::size_t i = 0; i < Bits.size(); ++i) {
        if (i > 0 && i % 8 == 0) rows += '|';
        rows += Bits[i] == 0xEE ? '.' : static_cast<char>('0' + Bits[i]);
    }
    return rows;
}

}  // namespace

TEST(WriteTile, ClipsAtEveryEdgeAndNeverReadsPastAShortTile) {
    // 3 x 3 tiles, whole and of only five bytes, in exact-size heap memory so that ASan sees an over-read.
    auto full = std::make_unique<uint8_t[]>(9), part = std::make_unique<uint8_t[]>(5);
    std::iota(full.get(), full.get() + 9, uint8_t{1});
    std::iota(part.get(), part.get() + 5, uint8_t{1});
    const std::span<const uint8_t> tile{full.get(), 9}, shortTile{part.get(), 5};
    const struct {
        int32_t x, y, w, h;
        std::span<const uint8_t> tile;
        std::string expected;
    } cases[] = {
        {2, 1, 3, 3, tile, "........|..123...|..456...|..789..."},
        {-1, -2, 3, 3, tile, "89......|........|........|........"},
        {6, 2, 3, 3, tile, "........|........|......12|......45"},
        {8, 0, 3, 3, tile, kBlank},
        {kMax, 0, kMax, 3, tile, kBlank},
        {2, 2, 0, 3, tile, kBlank},
        {2, 2, 3, -3, tile, kBlank},
        {kMin, kMin, kMax, kMax, tile, kBlank},
        {1, 1, 3, 3, shortTile, "........|.123....|.45.....|........"},
        {-2, 0, 3, 3, shortTile, "3.......|........|........|........"},  // the end lies in a hidden part
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bits(32, 0xEE);
        TileDrawing::WriteTile(c.x, c.y, c.w, c.h, 8, 4, bits, c.tile);
        EXPECT_EQ(Picture(bits), c.expected) << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }
}

TEST(DrawLine, BresenhamPixelsClippedToTheSurfaceWhateverTheEnds) {
    const struct {
        int32_t x1, y1, x2, y2;
        std::string expected;
    } cases[] = {
        {0, 0, 7, 2, "11......|..1111..|......11|........"},
        {0, 0, 2, 1, "1.......|.11.....|........|........"},  // halfway: the pixel farther from the start
        {kMin, 3, kMax, 3, "........|........|........|11111111"},
        {kMax, kMax, kMin, kMin, "1.......|.1......|..1.....|...1...."},
        {-10, 0, 0, -10, kBlank},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bits(32, 0xEE);
        TileDrawing::DrawLine(c.x1, c.y1, c.x2, c.y2, 1, 8, 4, bits);
        EXPECT_EQ(Picture(bits), c.expected) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
    }
}
