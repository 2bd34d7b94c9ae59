// The six drawing functions: exact pixels, clipping at every edge, and no write or read outside
// the surface or a buffer whatever the 32-bit arguments are.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "display/TileDrawing.h"

using namespace TileDrawing;

namespace {

constexpr uint8_t kUntouched = 0xEE;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
using Rows = std::vector<std::string>;

// An 8 x 6 surface, every pixel kUntouched.
struct Surface {
    static constexpr int32_t Width = 8;
    static constexpr int32_t Height = 6;
    std::vector<uint8_t> Bits = std::vector<uint8_t>(Width * Height, kUntouched);

    // The surface as rows of characters: '.' untouched, a digit for indices 0 to 9, '#' else.
    Rows Picture() const {
        Rows rows(Height, std::string(Width, '.'));
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                const uint8_t value = Bits[static_cast<std::size_t>(y * Width + x)];
                if (value != kUntouched) rows[y][x] = value < 10 ? static_cast<char>('0' + value) : '#';
            }
        }
        return rows;
    }
};

// Count bytes 1, 2, 3, ... in heap memory of exactly that size, so that an over-read shows
// under AddressSanitizer.
std::unique_ptr<uint8_t[]> Counting(int Count) {
    auto bytes = std::make_unique<uint8_t[]>(static_cast<std::size_t>(Count));
    for (int i = 0; i < Count; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i + 1);
    return bytes;
}

}  // namespace

TEST(WriteTile, PlacesTheTileAndClipsAtEveryEdge) {
    const auto tile = Counting(9);  // 3 x 3: 123 / 456 / 789
    const struct {
        int32_t x, y;
        Rows expected;
    } cases[] = {
        {2, 1, {"........", "..123...", "..456...", "..789...", "........", "........"}},
        {-1, -2, {"89......", "........", "........", "........", "........", "........"}},
        {6, 0, {"......12", "......45", "......78", "........", "........", "........"}},
        {7, 5, {"........", "........", "........", "........", "........", ".......1"}},
        {-2, 4, {"........", "........", "........", "........", "3.......", "6......."}},
    };
    for (const auto& c : cases) {
        Surface s;
        WriteTile(c.x, c.y, 3, 3, s.Width, s.Height, s.Bits, {tile.get(), 9});
        EXPECT_EQ(s.Picture(), c.expected) << "at " << c.x << "," << c.y;
    }

    // A negative height describes the same top-down rows.
    Surface s;
    WriteTile(0, 0, 3, 3, s.Width, -s.Height, s.Bits, {tile.get(), 9});
    EXPECT_EQ(s.Picture()[0], "123.....");
}

TEST(WriteTile, DrawsNothingOffTheSurfaceForEmptySizesOrWithoutFittingMemory) {
    const auto tile = Counting(9);
    const struct {
        int32_t x, y, w, h;
    } cases[] = {{8, 0, 3, 3},       {0, 6, 3, 3},       {-3, 0, 3, 3}, {0, -3, 3, 3}, {kMax, kMax, 3, 3},
                 {kMin, kMin, 3, 3}, {kMax, 0, kMax, 3}, {2, 2, 0, 3},  {2, 2, 3, -3}, {kMin, kMin, kMax, kMax}};
    for (const auto& c : cases) {
        Surface s;
        WriteTile(c.x, c.y, c.w, c.h, s.Width, s.Height, s.Bits, {tile.get(), 9});
        EXPECT_EQ(s.Bits, Surface{}.Bits) << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }
    WriteTile(0, 0, 3, 3, 8, 6, {}, {tile.get(), 9});  // no pixel memory: must not crash
    std::vector<uint8_t> fiveRows(8 * 5, kUntouched);  // claims six rows, holds five
    WriteTile(0, 0, 3, 3, 8, 6, fiveRows, {tile.get(), 9});
    EXPECT_EQ(fiveRows, std::vector<uint8_t>(8 * 5, kUntouched));
}

TEST(WriteTile, NeverReadsPastTheEndOfTheTile) {
    const auto shortTile = Counting(5);  // five bytes for a 3 x 3 tile
    Surface s;
    WriteTile(1, 1, 3, 3, s.Width, s.Height, s.Bits, {shortTile.get(), 5});
    EXPECT_EQ(s.Picture(), (Rows{"........", ".123....", ".45.....", "........", "........", "........"}));

    Surface clipped;  // the tile's end falls in the hidden part of a row
    WriteTile(-2, 0, 3, 3, clipped.Width, clipped.Height, clipped.Bits, {shortTile.get(), 5});
    EXPECT_EQ(clipped.Picture()[0], "3.......");
    EXPECT_EQ(clipped.Picture()[1], "........");
}

TEST(DrawLine, BresenhamPixelsClippedToTheSurface) {
    const struct {
        int32_t x1, y1, x2, y2;
        Rows expected;
    } cases[] = {
        {0, 0, 7, 2, {"11......", "..1111..", "......11", "........", "........", "........"}},
        {1, 5, 3, 0, {"...1....", "...1....", "..1.....", "..1.....", ".1......", ".1......"}},
        // Exactly halfway: the pixel farther from the start.
        {0, 0, 2, 1, {"1.......", ".11.....", "........", "........", "........", "........"}},
        {4, 3, 4, 3, {"........", "........", "........", "....1...", "........", "........"}},
        {-100, -100, 100, 100, {"1.......", ".1......", "..1.....", "...1....", "....1...", ".....1.."}},
        // Ends at the far ends of the 32-bit range cost no more than a line across the surface.
        {kMin, 3, kMax, 3, {"........", "........", "........", "11111111", "........", "........"}},
        {kMax, kMax, kMin, kMin, {"1.......", ".1......", "..1.....", "...1....", "....1...", ".....1.."}},
        {2, kMin, 2, kMax, {"..1.....", "..1.....", "..1.....", "..1.....", "..1.....", "..1....."}},
        {-10, 0, 0, -10, {"........", "........", "........", "........", "........", "........"}},
    };
    for (const auto& c : cases) {
        Surface s;
        DrawLine(c.x1, c.y1, c.x2, c.y2, 1, s.Width, s.Height, s.Bits);
        EXPECT_EQ(s.Picture(), c.expected) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
    }
    DrawLine(0, 0, 7, 5, 1, 8, 6, {});  // no pixel memory: must not crash
}

TEST(WritePixel, WritesOnlyInsideTheMemory) {
    std::vector<uint8_t> bits(3, kUntouched);
    constexpr int64_t kFar = std::numeric_limits<int64_t>::max();
    for (const int64_t offset : std::initializer_list<int64_t>{0, 2, 3, -1, kFar, -kFar - 1}) {
        WritePixel(bits, offset, 1);
    }
    EXPECT_EQ(bits, (std::vector<uint8_t>{1, kUntouched, 1}));
    WritePixel({}, 0, 7);  // no pixel memory: must not crash
}

TEST(MaskedTiles, MaskColourIsClearedSkippedOrReplaced) {
    const std::vector<uint8_t> tile{1, 0, 2, 0, 3, 0};  // 3 x 2, mask colour 0
    Surface cleared;
    ClearTile(1, 1, 3, 2, cleared.Width, cleared.Height, cleared.Bits, tile, 0, 9, 1);
    EXPECT_EQ(cleared.Picture()[1], ".192....");
    EXPECT_EQ(cleared.Picture()[2], ".939....");

    Surface clipped;  // any non-zero ClearFlag clears; clipped like WriteTile
    ClearTile(6, -1, 3, 2, clipped.Width, clipped.Height, clipped.Bits, tile, 0, 9, -5);
    EXPECT_EQ(clipped.Picture()[0], "......93");

    Surface replaced;
    MaskTile(-1, 4, 3, 2, replaced.Width, replaced.Height, replaced.Bits, tile, 0, 7);
    EXPECT_EQ(replaced.Picture()[4], "72......");
    EXPECT_EQ(replaced.Picture()[5], "37......");
}

TEST(GetRegion, CopiesWhatLiesOnTheSurfaceAndLeavesTheRestOfTheBuffer) {
    Surface s;
    for (std::size_t i = 0; i < s.Bits.size(); ++i) s.Bits[i] = static_cast<uint8_t>(i);
    const struct {
        int32_t x, y, w, h;
        std::vector<uint8_t> expected;
    } cases[] = {
        {2, 3, 3, 2, {26, 27, 28, 34, 35, 36}},
        {-1, -1, 2, 2, {0xAA, 0xAA, 0xAA, 0}},
        {kMax, kMax, kMax, kMax, {0xAA}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> buffer(c.expected.size(), 0xAA);
        GetRegion(c.x, c.y, c.w, c.h, s.Width, s.Height, s.Bits, buffer);
        EXPECT_EQ(buffer, c.expected) << c.x << "," << c.y;
    }

    // A buffer shorter than the region is filled as far as it goes and never overrun.
    auto shortBuffer = std::make_unique<uint8_t[]>(3);
    GetRegion(0, 0, 2, 2, s.Width, s.Height, s.Bits, {shortBuffer.get(), 3});
    EXPECT_EQ((std::vector<uint8_t>(shortBuffer.get(), shortBuffer.get() + 3)), (std::vector<uint8_t>{0, 1, 8}));
    std::vector<uint8_t> none(4, 0xAA);
    GetRegion(0, 0, 2, 2, s.Width, s.Height, {}, none);
    EXPECT_EQ(none, std::vector<uint8_t>(4, 0xAA));
}
