#include <gtest/gtest.h>

#include <cstdint>
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

// An 8 x 6 surface, every pixel kUntouched.
struct Surface {
    int32_t Width = 8;
    int32_t Height = 6;
    std::vector<uint8_t> Bits = std::vector<uint8_t>(8 * 6, kUntouched);

    uint8_t At(int x, int y) const { return Bits[static_cast<std::size_t>(y * Width + x)]; }

    // The surface as rows of characters: '.' untouched, a digit 0-9 for that index, '#' for
    // anything else; easy to compare with a drawing.
    std::vector<std::string> Picture() const {
        std::vector<std::string> rows;
        for (int y = 0; y < Height; ++y) {
            std::string row;
            for (int x = 0; x < Width; ++x) {
                const uint8_t value = At(x, y);
                row += value == kUntouched ? '.' : value < 10 ? static_cast<char>('0' + value) : '#';
            }
            rows.push_back(row);
        }
        return rows;
    }
};

// A 3 x 3 tile holding 1 .. 9 row by row, in heap memory of exactly its size so that an
// over-read shows under AddressSanitizer.
std::unique_ptr<uint8_t[]> Tile3x3() {
    auto tile = std::make_unique<uint8_t[]>(9);
    for (int i = 0; i < 9; ++i) {
        tile[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i + 1);
    }
    return tile;
}

using Rows = std::vector<std::string>;

}  // namespace

TEST(WriteTile, CopiesTheBlockWithItsTopLeftAtThePosition) {
    Surface s;
    const auto tile = Tile3x3();
    WriteTile(2, 1, 3, 3, s.Width, s.Height, s.Bits, {tile.get(), 9});
    EXPECT_EQ(s.Picture(), (Rows{"........", "..123...", "..456...", "..789...", "........", "........"}));
}

TEST(WriteTile, ClipsAtEveryEdge) {
    const auto tile = Tile3x3();
    const std::span<const uint8_t> t{tile.get(), 9};
    {
        Surface s;  // top left corner, negative position
        WriteTile(-1, -2, 3, 3, s.Width, s.Height, s.Bits, t);
        EXPECT_EQ(s.Picture(), (Rows{"89......", "........", "........", "........", "........", "........"}));
    }
    {
        Surface s;  // right edge
        WriteTile(6, 0, 3, 3, s.Width, s.Height, s.Bits, t);
        EXPECT_EQ(s.Picture(), (Rows{"......12", "......45", "......78", "........", "........", "........"}));
    }
    {
        Surface s;  // bottom right corner
        WriteTile(7, 5, 3, 3, s.Width, s.Height, s.Bits, t);
        EXPECT_EQ(s.Picture(), (Rows{"........", "........", "........", "........", "........", ".......1"}));
    }
    {
        Surface s;  // left edge, bottom edge
        WriteTile(-2, 4, 3, 3, s.Width, s.Height, s.Bits, t);
        EXPECT_EQ(s.Picture(), (Rows{"........", "........", "........", "........", "3.......", "6......."}));
    }
    {
        Surface s;  // a tile larger than the surface in every direction
        std::vector<uint8_t> big(20 * 20);
        for (std::size_t i = 0; i < big.size(); ++i) {
            big[i] = static_cast<uint8_t>(i % 10);
        }
        WriteTile(-5, -7, 20, 20, s.Width, s.Height, s.Bits, big);
        for (int y = 0; y < s.Height; ++y) {
            for (int x = 0; x < s.Width; ++x) {
                EXPECT_EQ(s.At(x, y), big[static_cast<std::size_t>((y + 7) * 20 + x + 5)]) << x << "," << y;
            }
        }
    }
}

TEST(WriteTile, DrawsNothingOutsideTheSurfaceOrForEmptySizes) {
    const auto tile = Tile3x3();
    const std::span<const uint8_t> t{tile.get(), 9};
    const Surface untouched;
    const struct {
        int32_t x, y, w, h;
    } cases[] = {{8, 0, 3, 3},   {0, 6, 3, 3},      {-3, 0, 3, 3},     {0, -3, 3, 3},   {kMax, kMax, 3, 3},
                 {kMin, kMin, 3, 3}, {kMax, 0, kMax, 3}, {2, 2, 0, 3},  {2, 2, 3, 0},    {2, 2, -3, 3},
                 {2, 2, 3, -3},  {kMin, kMin, kMax, kMax}};
    for (const auto& c : cases) {
        Surface s;
        WriteTile(c.x, c.y, c.w, c.h, s.Width, s.Height, s.Bits, t);
        EXPECT_EQ(s.Bits, untouched.Bits) << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }
}

TEST(WriteTile, NeverReadsPastTheEndOfTheTile) {
    Surface s;
    // Five bytes for a 3 x 3 tile: the first row and two pixels of the second are drawn.
    auto shortTile = std::make_unique<uint8_t[]>(5);
    for (int i = 0; i < 5; ++i) {
        shortTile[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i + 1);
    }
    WriteTile(1, 1, 3, 3, s.Width, s.Height, s.Bits, {shortTile.get(), 5});
    EXPECT_EQ(s.Picture(), (Rows{"........", ".123....", ".45.....", "........", "........", "........"}));

    // Clipped on the left, so the short tile's end falls within a row's hidden part.
    Surface clipped;
    WriteTile(-2, 0, 3, 3, clipped.Width, clipped.Height, clipped.Bits, {shortTile.get(), 5});
    EXPECT_EQ(clipped.Picture(), (Rows{"3.......", "........", "........", "........", "........", "........"}));

    Surface none;
    WriteTile(0, 0, 3, 3, none.Width, none.Height, none.Bits, {});
    EXPECT_EQ(none.Bits, Surface{}.Bits);
}

TEST(WriteTile, DrawsNothingWithoutPixelMemoryOrWhenTheSizeDoesNotFitIt) {
    const auto tile = Tile3x3();
    WriteTile(0, 0, 3, 3, 8, 6, {}, {tile.get(), 9});  // no memory: must not crash

    // A surface claiming more rows than its memory holds is not drawn on at all.
    std::vector<uint8_t> bits(8 * 5, kUntouched);
    WriteTile(0, 0, 3, 3, 8, 6, bits, {tile.get(), 9});
    EXPECT_EQ(bits, std::vector<uint8_t>(8 * 5, kUntouched));

    // A negative height describes the same top-down rows.
    Surface s;
    WriteTile(0, 0, 3, 3, s.Width, -s.Height, s.Bits, {tile.get(), 9});
    EXPECT_EQ(s.Picture(), (Rows{"123.....", "456.....", "789.....", "........", "........", "........"}));
}

TEST(DrawLine, IncludesBothEndsAndFollowsBresenham) {
    Surface s;
    DrawLine(0, 0, 7, 2, 1, s.Width, s.Height, s.Bits);
    EXPECT_EQ(s.Picture(), (Rows{"11......", "..1111..", "......11", "........", "........", "........"}));

    Surface reversed;  // the same pixels drawn from the other end
    DrawLine(7, 2, 0, 0, 1, reversed.Width, reversed.Height, reversed.Bits);
    EXPECT_EQ(reversed.Picture(), s.Picture());

    Surface steep;
    DrawLine(1, 5, 3, 0, 2, steep.Width, steep.Height, steep.Bits);
    EXPECT_EQ(steep.Picture(), (Rows{"...2....", "...2....", "..2.....", "..2.....", ".2......", ".2......"}));

    Surface tie;  // exactly halfway: the pixel farther from the start
    DrawLine(0, 0, 2, 1, 3, tie.Width, tie.Height, tie.Bits);
    EXPECT_EQ(tie.Picture(), (Rows{"3.......", ".33.....", "........", "........", "........", "........"}));

    Surface point;
    DrawLine(4, 3, 4, 3, 4, point.Width, point.Height, point.Bits);
    EXPECT_EQ(point.Picture(), (Rows{"........", "........", "........", "....4...", "........", "........"}));
}

TEST(DrawLine, ClipsEachPixelToTheSurface) {
    Surface s;
    DrawLine(-100, -100, 100, 100, 5, s.Width, s.Height, s.Bits);
    EXPECT_EQ(s.Picture(), (Rows{"5.......", ".5......", "..5.....", "...5....", "....5...", ".....5.."}));

    Surface wide;  // ends at the far ends of the 32-bit range
    DrawLine(kMin, 3, kMax, 3, 6, wide.Width, wide.Height, wide.Bits);
    DrawLine(kMax, kMax, kMin, kMin, 7, wide.Width, wide.Height, wide.Bits);
    EXPECT_EQ(wide.Picture(), (Rows{"7.......", ".7......", "..7.....", "66676666", "....7...", ".....7.."}));

    Surface vertical;
    DrawLine(2, kMin, 2, kMax, 8, vertical.Width, vertical.Height, vertical.Bits);
    EXPECT_EQ(vertical.Picture(), (Rows{"..8.....", "..8.....", "..8.....", "..8.....", "..8.....", "..8....."}));

    Surface outside;  // passes beside the surface
    DrawLine(-10, 0, 0, -10, 9, outside.Width, outside.Height, outside.Bits);
    DrawLine(8, 0, 8, 5, 9, outside.Width, outside.Height, outside.Bits);
    EXPECT_EQ(outside.Bits, Surface{}.Bits);

    DrawLine(0, 0, 7, 5, 1, 8, 6, {});  // no memory: must not crash
}

TEST(WritePixel, WritesOnlyInsideTheMemory) {
    std::vector<uint8_t> bits(10, kUntouched);
    WritePixel(bits, 0, 1);
    WritePixel(bits, 9, 2);
    WritePixel(bits, 10, 3);
    WritePixel(bits, -1, 4);
    WritePixel(bits, std::numeric_limits<int64_t>::max(), 5);
    WritePixel(bits, std::numeric_limits<int64_t>::min(), 6);
    EXPECT_EQ(bits, (std::vector<uint8_t>{1, kUntouched, kUntouched, kUntouched, kUntouched, kUntouched, kUntouched,
                                          kUntouched, kUntouched, 2}));
    WritePixel({}, 0, 7);  // no memory: must not crash
}

TEST(ClearTile, MaskColourBecomesBackColourOrLetsTheSurfaceShowThrough) {
    const std::vector<uint8_t> tile{1, 0, 2, 0, 3, 0};  // 3 x 2, mask colour 0
    Surface cleared;
    ClearTile(1, 1, 3, 2, cleared.Width, cleared.Height, cleared.Bits, tile, 0, 9, 1);
    EXPECT_EQ(cleared.Picture(), (Rows{"........", ".192....", ".939....", "........", "........", "........"}));

    Surface transparent;
    ClearTile(1, 1, 3, 2, transparent.Width, transparent.Height, transparent.Bits, tile, 0, 9, 0);
    EXPECT_EQ(transparent.Picture(), (Rows{"........", ".1.2....", "..3.....", "........", "........", "........"}));

    Surface clipped;  // the same clipping as WriteTile
    ClearTile(6, -1, 3, 2, clipped.Width, clipped.Height, clipped.Bits, tile, 0, 9, -5);
    EXPECT_EQ(clipped.Picture(), (Rows{"......93", "........", "........", "........", "........", "........"}));
}

TEST(MaskTile, MaskColourIsReplaced) {
    const std::vector<uint8_t> tile{1, 5, 2, 5, 3, 5};  // 3 x 2, mask colour 5
    Surface s;
    MaskTile(0, 4, 3, 2, s.Width, s.Height, s.Bits, tile, 5, 7);
    EXPECT_EQ(s.Picture(), (Rows{"........", "........", "........", "........", "172.....", "737....."}));

    Surface clipped;
    MaskTile(-1, 5, 3, 2, clipped.Width, clipped.Height, clipped.Bits, tile, 5, 7);
    EXPECT_EQ(clipped.Picture()[5], "72......");
}

TEST(GetRegion, CopiesTheSurfaceRegionAndLeavesTheRestOfTheBuffer) {
    Surface s;
    for (std::size_t i = 0; i < s.Bits.size(); ++i) {
        s.Bits[i] = static_cast<uint8_t>(i);
    }
    std::vector<uint8_t> inside(6, 0xAA);
    GetRegion(2, 3, 3, 2, s.Width, s.Height, s.Bits, inside);
    EXPECT_EQ(inside, (std::vector<uint8_t>{26, 27, 28, 34, 35, 36}));

    // Hanging over the top left corner: only the pixel on the surface is taken.
    std::vector<uint8_t> corner(4, 0xAA);
    GetRegion(-1, -1, 2, 2, s.Width, s.Height, s.Bits, corner);
    EXPECT_EQ(corner, (std::vector<uint8_t>{0xAA, 0xAA, 0xAA, 0}));

    // Over the bottom right corner.
    std::vector<uint8_t> far(4, 0xAA);
    GetRegion(7, 5, 2, 2, s.Width, s.Height, s.Bits, far);
    EXPECT_EQ(far, (std::vector<uint8_t>{47, 0xAA, 0xAA, 0xAA}));

    // A buffer shorter than the region is filled as far as it goes and never overrun.
    auto shortBuffer = std::make_unique<uint8_t[]>(3);
    GetRegion(0, 0, 2, 2, s.Width, s.Height, s.Bits, {shortBuffer.get(), 3});
    EXPECT_EQ(shortBuffer[0], 0);
    EXPECT_EQ(shortBuffer[1], 1);
    EXPECT_EQ(shortBuffer[2], 8);

    std::vector<uint8_t> none(4, 0xAA);
    GetRegion(0, 0, 2, 2, s.Width, s.Height, {}, none);
    GetRegion(kMax, kMax, kMax, kMax, s.Width, s.Height, s.Bits, none);
    EXPECT_EQ(none, std::vector<uint8_t>(4, 0xAA));
}
