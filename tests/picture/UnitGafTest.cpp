#include <gtest/gtest.h>

#include <cmath>

#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "PictureTestUtil.h"

namespace {

using picturetest::CountOf;

TEST(UnitGafCreation, WhiteSlotsEmptyNameGreyRampAndLightPalette) {
    const classUnitGAF set;
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_EQ(CountOf(*set.Slot(slot), 255), std::size_t{kPicturePixels}) << "slot " << slot;
    EXPECT_EQ(set.Slot(3), nullptr);
    EXPECT_EQ(set.Slot(-1), nullptr);
    EXPECT_EQ(set.Name(), "");
    // A slot outside 0 to 2 reads as all black, for the display and previews.
    EXPECT_EQ(CountOf(set.WorkingCopy(7), 0), std::size_t{kPicturePixels});
    const auto outside = set.ReducedFrame(-4);
    EXPECT_EQ(std::count(outside.begin(), outside.end(), 0), 4096);

    // Light: every component moved a fifth of the way to white, rounded to nearest (black 0 ->
    // 51, 128 -> 153, white stays).
    EXPECT_EQ(set.LightPalette()[0], (PaletteEntry{51, 51, 51, 0}));
    EXPECT_EQ(set.LightPalette()[255], (PaletteEntry{255, 255, 255, 0}));
    const auto lit = [](uint8_t c) { return static_cast<uint8_t>(std::lround((4.0 * c + 255.0) / 5.0)); };
    for (std::size_t i = 0; i < 256; ++i) {
        const PaletteEntry& game = modPalettes::GamePalette[i];
        EXPECT_EQ(set.LightPalette()[i], (PaletteEntry{lit(game.Blue), lit(game.Green), lit(game.Red), 0})) << i;
        const auto level = static_cast<uint8_t>(i);
        EXPECT_EQ(set.GreyPalette()[i], (PaletteEntry{level, level, level, 0})) << i;
    }
}

}  // namespace
