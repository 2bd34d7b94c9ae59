#include <gtest/gtest.h>

#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "PictureTestUtil.h"

namespace {

using picturetest::CountOf;

TEST(UnitGafCreation, ThreeWhiteSlotsAndAnEmptyName) {
    const classUnitGAF set;
    for (int slot = 0; slot < 3; ++slot) {
        ASSERT_NE(set.Slot(slot), nullptr);
        EXPECT_EQ(CountOf(*set.Slot(slot), 255), static_cast<std::size_t>(kPicturePixels)) << "slot " << slot;
    }
    EXPECT_EQ(set.Name(), "");
    EXPECT_EQ(set.Slot(3), nullptr);
    EXPECT_EQ(set.Slot(-1), nullptr);
}

TEST(UnitGafCreation, GreyPaletteIsTheGreyRamp) {
    const classUnitGAF set;
    for (int i = 0; i < 256; ++i) {
        const auto level = static_cast<uint8_t>(i);
        EXPECT_EQ(set.GreyPalette()[static_cast<std::size_t>(i)], (PaletteEntry{level, level, level, 0}));
    }
}

TEST(UnitGafCreation, LightPaletteMovesEveryColourAFifthTowardsWhite) {
    const classUnitGAF set;
    const Palette& game = modPalettes::GamePalette;
    const Palette& light = set.LightPalette();
    // Black and white, as the game palette holds them at 0 and 255.
    EXPECT_EQ(light[0], (PaletteEntry{51, 51, 51, 0}));
    EXPECT_EQ(light[255], (PaletteEntry{255, 255, 255, 0}));
    // Component examples 0 -> 51, 128 -> 153, 255 -> 255 wherever they occur.
    for (std::size_t i = 0; i < 256; ++i) {
        const auto expectFor = [](uint8_t game, uint8_t lit) {
            if (game == 0) { EXPECT_EQ(lit, 51); }
            if (game == 128) { EXPECT_EQ(lit, 153); }
            if (game == 255) { EXPECT_EQ(lit, 255); }
            // Never darker, never more than a fifth of the way plus rounding.
            EXPECT_GE(lit, game);
            EXPECT_LE(5 * lit, 4 * game + 255 + 3);
            EXPECT_GE(5 * lit, 4 * game + 255 - 3);
        };
        expectFor(game[i].Red, light[i].Red);
        expectFor(game[i].Green, light[i].Green);
        expectFor(game[i].Blue, light[i].Blue);
        EXPECT_EQ(light[i].Reserved, 0);
    }
}

TEST(UnitGafName, StoresACopy) {
    classUnitGAF set;
    std::string name = "armcamp";
    set.Name(name);
    name = "changed";
    EXPECT_EQ(set.Name(), "armcamp");
    set.Name("");
    EXPECT_EQ(set.Name(), "");
}

TEST(UnitGafAccess, WorkingCopyAndReducedFrame) {
    classUnitGAF set;
    set.ResetToBackground(1, 15);  // black, also held at index 0
    EXPECT_EQ(set.WorkingCopy(1), *set.Slot(1));
    EXPECT_EQ(CountOf(set.WorkingCopy(7), 0), static_cast<std::size_t>(kPicturePixels));

    const auto frame = set.ReducedFrame(1);
    EXPECT_EQ(std::count(frame.begin(), frame.end(), 0), 4096);
    const auto outside = set.ReducedFrame(-4);
    EXPECT_EQ(std::count(outside.begin(), outside.end(), 0), 4096);
    const auto white = set.ReducedFrame(0);
    EXPECT_EQ(std::count(white.begin(), white.end(), 255), 4096);
}

}  // namespace
