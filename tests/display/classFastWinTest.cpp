// The display surface: layout, bitmap description, drawing within bounds and showing in a box;
// DisplayPicture, which shows a slot through it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "display/MemoryPictureBox.h"
#include "display/classFastWin.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"

namespace {

std::vector<uint8_t> PixelsOf(const classFastWin& surface) {
    return {surface.Pixels().begin(), surface.Pixels().end()};
}

}  // namespace

// Size 40, width 96, height -96 (top row first, whatever the sign given), 1 plane, 8 bits, no
// compression, image size and resolutions 0, 256 colours used and important; then the game
// palette as blue, green, red, 0.
TEST(classFastWin, InitializeMakesATopDownSurfaceWithTheGamePaletteDescription) {
    MemoryPictureBox box(100, 100);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(96, 96, &box));
    ASSERT_EQ(surface.Pixels().size(), 9216u);
    const auto bytes = surface.Description().Bytes();
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 40),
              (std::vector<uint8_t>{0x28, 0, 0, 0, 0x60, 0, 0, 0, 0xA0, 0xFF, 0xFF, 0xFF, 1, 0, 8, 0, 0, 0, 0, 0,
                                    0,    0, 0, 0, 0,    0, 0, 0, 0,    0,    0,    0,    0, 1, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(std::memcmp(bytes.data() + 40, modPalettes::GamePalette.data(), 1024), 0);
    ASSERT_TRUE(surface.Initialize(64, -32, &box));
    EXPECT_EQ(surface.Description().Bytes()[8], 0xE0);
    ASSERT_EQ(surface.Pixels().size(), 64u * 32u);
    ASSERT_TRUE(surface.TileDraw(63, 31, 1, 1, std::vector<uint8_t>{6}));
    EXPECT_EQ(surface.Pixels().back(), 6);
}

// A tile shorter than it says draws what it has, one without a byte none; pixels off the
// surface, also where the offset falls on the next or previous row or beyond 32 bits, are not
// drawn.
TEST(classFastWin, TileDrawRefusesMissingTilesAndPixelDrawStaysOnTheSurface) {
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(96, 96, nullptr));
    const std::vector<uint8_t> picture(9216, 7);
    EXPECT_FALSE(surface.TileDraw(0, 0, 96, 96, picture, 9216));
    EXPECT_FALSE(surface.TileDraw(0, 0, 96, 96, picture, -1));
    EXPECT_TRUE(surface.TileDraw(0, 0, 96, 96, picture, 9215));  // one byte left: one pixel drawn
    EXPECT_EQ(std::count(surface.Pixels().begin(), surface.Pixels().end(), 7), 1);
    ASSERT_TRUE(surface.Initialize(8, 4, nullptr));
    surface.PixelDraw(7, 3, 9);
    const int32_t offSurface[][2] = {{8, 0}, {-1, 1}, {0, 4}, {0, -1}, {INT32_MAX, INT32_MAX}, {INT32_MIN, 0}};
    for (const auto& p : offSurface) surface.PixelDraw(p[0], p[1], 1);
    EXPECT_EQ(std::count(surface.Pixels().begin(), surface.Pixels().end(), 0), 31);
    EXPECT_EQ(surface.Pixels()[31], 9);
}

// Shown at its defaults (SrcWidth and SrcHeight of 1) the whole block is copied: BltCaptures...
// reads it back.
TEST(classFastWin, ShowDrawsNothingBeforeInitialize) {
    MemoryPictureBox box(100, 100, 0x123456);
    const classFastWin never;
    never.Show(box, 0, 0, 100, 100, 0, 0);
    never.Show(box, 0, 0, 100, 100, 0, 0, 8, 8, true);
    EXPECT_EQ(std::count(box.Canvas().begin(), box.Canvas().end(), 0x123456u), 100 * 100);
}

// Blt reads the box's colours back into the surface as the nearest game indices: 1:1 from where
// they were shown, stretched (every other row and column), a strong reduction of a huge source
// rectangle that reads black outside the box, and a destination clipped at the surface's edge.
// The picture shown: indices 16, 17, ..., distinct game colours, each the lowest index holding
// its colour, so that capturing them back gives the same indices.
TEST(classFastWin, BltCapturesTheBoxAsGamePaletteIndices) {
    MemoryPictureBox box(10, 10);
    std::vector<uint8_t> picture(64);
    for (std::size_t i = 0; i < 64; ++i) picture[i] = static_cast<uint8_t>(16 + i);
    classFastWin shown, same, half, far;
    ASSERT_TRUE(shown.Initialize(8, 8, &box) && same.Initialize(8, 8, &box) && half.Initialize(4, 4, &box) &&
                far.Initialize(2, 1, &box));
    shown.TileDraw(0, 0, 8, 8, picture);
    shown.Show(box, 2, 1, 8, 8, 0, 0);
    same.Blt(box, 0, 0, 8, 8, 2, 1);
    EXPECT_EQ(PixelsOf(same), picture);
    half.Blt(box, 0, 0, 4, 4, 2, 1, 8, 8, true);
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(half.Pixels()[i], picture[(i / 4) * 16 + (i % 4) * 2]) << i;
    far.Blt(box, 0, 0, 2, 1, 2, 1, INT32_MAX, 1, true);
    EXPECT_EQ(PixelsOf(far), (std::vector<uint8_t>{picture[0], 0}));
    // Light grey is not a game colour: index 84 is nearest. Outside the box reads black.
    MemoryPictureBox grey(4, 4, 0xC0C0C0);
    classFastWin clipped;
    ASSERT_TRUE(clipped.Initialize(4, 4, &grey));
    clipped.Blt(grey, -1, -1, 4, 4, 2, 2);  // 3 x 3 lands, read from box (3, 3) on
    std::vector<uint8_t> expected(16, 0);
    expected[0] = 84;
    EXPECT_EQ(PixelsOf(clipped), expected);
}

// Which picture lands where in the box, in exact colours, and nothing else drawn.
TEST(DisplayPicture, DrawsTheChosenPictureAtTheRoundedOffsetAndNothingAround) {
    classUnitGAF unit;
    unit.AddCavedogLikeBorder(1);  // not symmetric, so a wrong offset or a flip shows
    unit.AddBlackCross(1, 3);
    const uint8_t* full = unit.Slot(1)->data();
    const auto reduced = unit.ReducedFrame(1);
    const std::vector<uint8_t> black(96 * 96, 0);
    const struct {
        int32_t TAPic, BoxSide, Size;
        bool Centre;
        int Side, Offset;
        const uint8_t* picture;
    } cases[] = {
        {1, 100, 0, true, 64, 18, reduced.data()},
        {1, 101, 1, true, 96, 2, full},
        {1, 103, 1, true, 96, 4, full},  // 2.5, 3.5: half to even
        {1, 100, 2, false, 0, 0, nullptr},
        {3, 97, 1, false, 96, 0, black.data()},  // size 2: nothing; 3: black
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "picture " << c.TAPic << " size " << c.Size << " box " << c.BoxSide);
        MemoryPictureBox box(c.BoxSide, c.BoxSide, 0x123456);
        unit.DisplayPicture(c.TAPic, box, c.Size, c.Centre);
        int wrong = 0;
        for (int i = 0; i < c.BoxSide * c.BoxSide; ++i) {
            const int x = i % c.BoxSide - c.Offset, y = i / c.BoxSide - c.Offset;
            const bool inside = x >= 0 && x < c.Side && y >= 0 && y < c.Side;
            const PaletteEntry& e = modPalettes::GamePalette[inside ? c.picture[y * c.Side + x] : 0];
            const uint32_t expected = inside ? (uint32_t{e.Red} << 16) | (uint32_t{e.Green} << 8) | e.Blue : 0x123456;
            wrong += box.Canvas()[static_cast<std::size_t>(i)] != expected;
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(box.RefreshCount(), 1);
    }
}
