// The display surface: its memory layout, bitmap description and logical palette, and how it
// draws into and captures from a picture box.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "display/MemoryPictureBox.h"
#include "display/classFastWin.h"
#include "imagefiles/modPalettes.h"

namespace {

constexpr uint32_t kMarker = 0x123456;  // a colour the game palette does not hold

uint32_t Rgb(uint8_t index) {
    const PaletteEntry& e = modPalettes::GamePalette[index];
    return (static_cast<uint32_t>(e.Red) << 16) | (static_cast<uint32_t>(e.Green) << 8) | e.Blue;
}

std::vector<uint8_t> PixelsOf(const classFastWin& surface) {
    return {surface.Pixels().begin(), surface.Pixels().end()};
}

// Count pixels 16, 17, ...: distinct game colours, each the lowest index holding its colour.
std::vector<uint8_t> DistinctPicture(std::size_t Count) {
    std::vector<uint8_t> picture(Count);
    for (std::size_t i = 0; i < Count; ++i) picture[i] = static_cast<uint8_t>(16 + i);
    return picture;
}

}  // namespace

TEST(classFastWinInitialize, MakesATopDownSurfaceOfTheGivenSize) {
    MemoryPictureBox box(100, 100);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(96, 96, &box));
    EXPECT_EQ(surface.BmpWidth(), 96);
    EXPECT_EQ(surface.BmpHeight(), 96);
    EXPECT_EQ(surface.hWindow(), &box);
    EXPECT_NE(surface.hBitmap(), 0);
    ASSERT_EQ(surface.Pixels().size(), 9216u);

    // The first 96 bytes at addrBits are the top row.
    const std::vector<uint8_t> rows = DistinctPicture(2 * 96);
    ASSERT_TRUE(surface.TileDraw(0, 0, 96, 2, rows));
    EXPECT_EQ(std::memcmp(surface.addrBits(), rows.data(), rows.size()), 0);

    // A negative height gives the same top-down rows and is kept as given.
    ASSERT_TRUE(surface.Initialize(64, -32, &box));
    EXPECT_EQ(surface.BmpHeight(), -32);
    ASSERT_EQ(surface.Pixels().size(), 64u * 32u);
    ASSERT_TRUE(surface.TileDraw(0, 0, 64, 1, rows));
    ASSERT_TRUE(surface.TileDraw(63, 31, 1, 1, rows, 5));
    EXPECT_EQ(surface.Pixels()[0], rows[0]);
    EXPECT_EQ(surface.Pixels()[64 * 32 - 1], rows[5]);
}

TEST(classFastWinInitialize, BitmapDescriptionAndLogicalPaletteHoldTheGameColours) {
    MemoryPictureBox box(10, 10);
    classFastWin surface;
    for (const int32_t height : {96, -96}) {
        ASSERT_TRUE(surface.Initialize(96, height, &box));
        const auto bytes = surface.Description().Bytes();
        ASSERT_EQ(bytes.size(), 1064u);
        // Size 40, width 96, height -96 (top row first) either way, 1 plane, 8 bits, no
        // compression, image size and resolutions 0, 256 colours used and important.
        const std::array<uint8_t, 40> header{0x28, 0, 0, 0, 0x60, 0, 0, 0, 0xA0, 0xFF, 0xFF, 0xFF, 1, 0,
                                             8,    0, 0, 0, 0,    0, 0, 0, 0,    0,    0,    0,    0, 0,
                                             0,    0, 0, 0, 0,    1, 0, 0, 0,    1,    0,    0};
        EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin())) << "height " << height;
        // The colour table is the game palette byte for byte: blue, green, red, 0.
        EXPECT_EQ(std::memcmp(bytes.data() + 40, modPalettes::GamePalette.data(), 1024), 0);
    }

    const classFastWin::LogicalPalette& logical = surface.GamePaletteSelection();
    EXPECT_EQ(logical.Version, 0x300);
    EXPECT_EQ(logical.NumEntries, 256);
    for (std::size_t i = 0; i < 256; ++i) {
        const PaletteEntry& game = modPalettes::GamePalette[i];
        const auto& e = logical.Entries[i];
        EXPECT_TRUE(e.Red == game.Red && e.Green == game.Green && e.Blue == game.Blue && e.Flags == 4) << i;
    }
}

// Sizes the surface cannot have leave it without pixel memory, and then nothing may touch
// memory: not the drawing operations, not Show, not Blt; likewise before Initialize.
TEST(classFastWinInitialize, RejectedSizesLeaveASafeSurfaceWithoutMemory) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const struct {
        int32_t w, h;
    } sizes[] = {{0, 0}, {0, 96}, {96, 0}, {-4, 4}, {16385, 1}, {1, 16385}, {1, kMin}, {kMax, kMax}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(::testing::Message() << size.w << "x" << size.h);
        MemoryPictureBox box(8, 8, kMarker);
        classFastWin surface;
        EXPECT_FALSE(surface.Initialize(size.w, size.h, &box));
        EXPECT_EQ(surface.addrBits(), nullptr);
        EXPECT_EQ(surface.hBitmap(), 0);
        EXPECT_EQ(surface.BmpWidth(), size.w);
        EXPECT_EQ(surface.BmpHeight(), size.h);
        EXPECT_EQ(surface.hWindow(), &box);

        std::vector<uint8_t> buffer(16, 3);
        EXPECT_TRUE(surface.TileDraw(0, 0, 4, 4, buffer));
        surface.LineDraw(0, 0, 100, 100, 1);
        surface.PixelDraw(0, 0, 1);
        EXPECT_TRUE(surface.ClearTileDraw(0, 0, 4, 4, buffer, 3, 1, 1));
        EXPECT_TRUE(surface.MaskTileDraw(0, 0, 4, 4, buffer, 3, 1));
        EXPECT_TRUE(surface.GrabRegion(0, 0, 4, 4, buffer));
        EXPECT_EQ(buffer, std::vector<uint8_t>(16, 3));
        surface.Show(box, 0, 0, 4, 4, 0, 0);
        surface.Show(box, 0, 0, 4, 4, 0, 0, 8, 8, true);
        surface.Blt(box, 0, 0, 4, 4, 0, 0);
        EXPECT_EQ(box.Canvas(), std::vector<uint32_t>(64, kMarker));
    }
    MemoryPictureBox box(8, 8, kMarker);
    const classFastWin never;
    never.Show(box, 0, 0, 8, 8, 0, 0);
    never.Show(box, 0, 0, 8, 8, 0, 0, 8, 8, true);
    EXPECT_EQ(box.Canvas(), std::vector<uint32_t>(64, kMarker));
}

TEST(classFastWinShow, CopiesOneToOneOrStretchesRowsAndColumns) {
    MemoryPictureBox box(100, 100, kMarker);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(96, 96, &box));
    surface.TileDraw(0, 0, 96, 96, std::vector<uint8_t>(9216, 249));
    // SrcWidth and SrcHeight at their defaults of 1: the whole 96 x 96 block still arrives.
    surface.Show(box, 3, 4, 96, 96, 0, 0);
    EXPECT_EQ(std::count(box.Canvas().begin(), box.Canvas().end(), 0xFF0000u), 96 * 96);
    EXPECT_EQ(box.ColourAt(98, 99), 0xFF0000u);

    // A 4 x 4 surface of 16 distinct colours.
    const std::vector<uint8_t> tile = DistinctPicture(16);
    classFastWin small;
    ASSERT_TRUE(small.Initialize(4, 4, &box));
    small.TileDraw(0, 0, 4, 4, tile);

    MemoryPictureBox offset(8, 8, kMarker);  // 1:1 from (1, 2) to (5, 6)
    small.Show(offset, 5, 6, 2, 2, 1, 2);
    EXPECT_EQ(offset.ReadColours({4, 6, 4, 2}),
              (std::vector<uint32_t>{kMarker, Rgb(tile[9]), Rgb(tile[10]), kMarker, kMarker, Rgb(tile[13]),
                                     Rgb(tile[14]), kMarker}));

    // Stretched from the source rectangle (2, 1, 2, 3): columns repeated, rows dropped.
    MemoryPictureBox stretched(4, 2, kMarker);
    small.Show(stretched, 0, 0, 4, 2, 2, 1, 2, 3, true);
    EXPECT_EQ(stretched.Canvas(), (std::vector<uint32_t>{Rgb(tile[6]), Rgb(tile[6]), Rgb(tile[7]), Rgb(tile[7]),
                                                         Rgb(tile[10]), Rgb(tile[10]), Rgb(tile[11]), Rgb(tile[11])}));
}

TEST(classFastWinTileDraw, TilePositionSelectsTheTileAndMustExist) {
    MemoryPictureBox box(10, 10);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(96, 96, &box));
    const std::vector<uint8_t> picture(9216, 7);
    EXPECT_FALSE(surface.TileDraw(0, 0, 96, 96, picture, 9216));
    EXPECT_FALSE(surface.TileDraw(0, 0, 96, 96, picture, -1));
    EXPECT_FALSE(surface.TileDraw(0, 0, 1, 1, {}, 0));
    EXPECT_EQ(PixelsOf(surface), std::vector<uint8_t>(9216, 0));

    // The last element exists: one pixel is drawn and the read stops at the buffer's end.
    EXPECT_TRUE(surface.TileDraw(0, 0, 96, 96, picture, 9215));
    EXPECT_EQ(surface.Pixels()[0], 7);
    EXPECT_EQ(surface.Pixels()[1], 0);

    classFastWin four;
    ASSERT_TRUE(four.Initialize(4, 4, &box));
    ASSERT_TRUE(four.TileDraw(1, 1, 2, 2, std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}, 4));  // the second tile
    EXPECT_EQ(PixelsOf(four), (std::vector<uint8_t>{0, 0, 0, 0, 0, 5, 6, 0, 0, 7, 8, 0, 0, 0, 0, 0}));
}

TEST(classFastWinDrawing, OperationsReachTheirPixelsAndNoOthers) {
    MemoryPictureBox box(10, 10);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(8, 4, &box));
    surface.PixelDraw(3, 2, 9);
    surface.PixelDraw(7, 3, 9);
    // Off the surface: offsets inside the memory (the next or previous row) or beyond 32 bits.
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    for (const auto& [x, y] :
         {std::pair{8, 0}, {-1, 1}, {0, 4}, {0, -1}, {kMax, kMax}, {-kMax - 1, 0}, {1 << 30, 1 << 29}}) {
        surface.PixelDraw(x, y, 1);
    }
    std::vector<uint8_t> expected(32, 0);
    expected[2 * 8 + 3] = expected[3 * 8 + 7] = 9;
    EXPECT_EQ(PixelsOf(surface), expected);

    classFastWin four;
    ASSERT_TRUE(four.Initialize(4, 4, &box));
    four.LineDraw(0, 3, 3, 0, 5);
    const std::vector<uint8_t> tile{1, 2, 2, 1};
    ASSERT_TRUE(four.ClearTileDraw(0, 0, 2, 2, tile, 2, 9, 0));  // ClearFlag 0: 2 transparent
    ASSERT_TRUE(four.MaskTileDraw(2, 2, 2, 2, tile, 1, 8));      // 1 becomes 8
    EXPECT_EQ(PixelsOf(four), (std::vector<uint8_t>{1, 0, 0, 5, 0, 1, 5, 0, 0, 5, 8, 2, 5, 0, 2, 8}));
    std::vector<uint8_t> region(4, 0xAA);
    ASSERT_TRUE(four.GrabRegion(3, 3, 2, 2, region));
    EXPECT_EQ(region, (std::vector<uint8_t>{8, 0xAA, 0xAA, 0xAA}));

    std::vector<uint8_t> none;
    EXPECT_FALSE(four.ClearTileDraw(0, 0, 2, 2, {}, 2, 9, 0));
    EXPECT_FALSE(four.MaskTileDraw(0, 0, 2, 2, {}, 1, 8));
    EXPECT_FALSE(four.GrabRegion(0, 0, 2, 2, none));
}

TEST(classFastWinBlt, CapturesTheBoxAsGamePaletteIndices) {
    MemoryPictureBox box(10, 10);
    const std::vector<uint8_t> picture = DistinctPicture(64);
    classFastWin shown;
    ASSERT_TRUE(shown.Initialize(8, 8, &box));
    shown.TileDraw(0, 0, 8, 8, picture);
    shown.Show(box, 2, 1, 8, 8, 0, 0);

    classFastWin same;  // 1:1 back from where it was shown
    ASSERT_TRUE(same.Initialize(8, 8, &box));
    same.Blt(box, 0, 0, 8, 8, 2, 1);
    EXPECT_EQ(PixelsOf(same), picture);

    classFastWin half;  // stretched: every other row and column
    ASSERT_TRUE(half.Initialize(4, 4, &box));
    half.Blt(box, 0, 0, 4, 4, 2, 1, 8, 8, true);
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(half.Pixels()[i], picture[(i / 4) * 16 + (i % 4) * 2]) << i;

    // A strong reduction from a huge source rectangle stays cheap and reads black outside.
    classFastWin far;
    ASSERT_TRUE(far.Initialize(2, 1, &box));
    far.Blt(box, 0, 0, 2, 1, 2, 1, std::numeric_limits<int32_t>::max(), 1, true);
    EXPECT_EQ(PixelsOf(far), (std::vector<uint8_t>{picture[0], 0}));

    // Clipped to the surface; a colour the palette lacks becomes its nearest game colour
    // (light grey is index 84), and outside the box reads black.
    MemoryPictureBox grey(4, 4, 0xC0C0C0);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(4, 4, &grey));
    surface.Blt(grey, -1, -1, 4, 4, 2, 2);  // 3 x 3 lands, from box (3, 3) on
    std::vector<uint8_t> expected(16, 0);
    expected[0] = 84;
    EXPECT_EQ(PixelsOf(surface), expected);
}
