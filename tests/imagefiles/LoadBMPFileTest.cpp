#include <gtest/gtest.h>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"
#include "BmpBuilder.h"

using modBmp::BmpHeader;
using modBmp::BmpPalette;
using modBmp::BmpPixels;
using modBmp::LoadBMPFile;
using modPalettes::GamePalette;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

PaletteEntry Rgb(uint32_t rgb) {
    return PaletteEntry{static_cast<uint8_t>(rgb & 0xFF), static_cast<uint8_t>((rgb >> 8) & 0xFF),
                        static_cast<uint8_t>((rgb >> 16) & 0xFF), 0};
}

// A 3 x 2 picture in a palette of five colours that are not in the game palette.
bmptest::BmpSpec ForeignColours() {
    bmptest::BmpSpec spec;
    spec.Width = 3;
    spec.Height = 2;
    spec.ColoursUsed = 5;
    spec.Colours = {Rgb(0x646464), Rgb(0xC0C0C0), Rgb(0xFF8000), Rgb(0x7F7F7F), Rgb(0x010101)};
    spec.PixelData = bmptest::PackRows({0, 1, 2, 3, 4, 0}, 3, 2, 8, false);
    return spec;
}

}  // namespace

TEST(LoadBMPFile, MapsTheFilesColoursOntoTheGamePalette) {
    TempDir dir;
    const auto spec = ForeignColours();
    WriteBytes(dir.file("foreign.bmp"), bmptest::BuildBmp(spec));

    ASSERT_TRUE(LoadBMPFile(dir.file("foreign.bmp"), true));
    EXPECT_EQ(BmpPixels(), (std::vector<uint8_t>{89, 84, 210, 7, 0, 89}));
    EXPECT_EQ(BmpHeader().Width, 3);
    EXPECT_EQ(BmpHeader().Height, 2);
    EXPECT_EQ(BmpHeader().Size, 6);
    EXPECT_EQ(BmpPalette()[2], Rgb(0xFF8000));  // the file's own colours stay in the palette
    EXPECT_EQ(BmpPalette()[5], PaletteEntry{});

    ASSERT_TRUE(LoadBMPFile(dir.file("foreign.bmp"), false));
    EXPECT_EQ(BmpPixels(), (std::vector<uint8_t>{0, 1, 2, 3, 4, 0}));
}

TEST(LoadBMPFile, AFailedReadLeavesThePreviousPictureInPlace) {
    TempDir dir;
    WriteBytes(dir.file("good.bmp"), bmptest::BuildBmp(ForeignColours()));
    ASSERT_TRUE(LoadBMPFile(dir.file("good.bmp"), true));
    const auto pixels = BmpPixels();
    const auto palette = BmpPalette();

    auto truncated = bmptest::BuildBmp(ForeignColours());
    truncated.resize(truncated.size() - 6);
    WriteBytes(dir.file("truncated.bmp"), truncated);
    WriteBytes(dir.file("empty.bmp"), {});
    for (const std::string& bad : {dir.file("truncated.bmp"), dir.file("empty.bmp"), dir.file("missing.bmp"),
                                   dir.path().string()}) {
        EXPECT_FALSE(LoadBMPFile(bad, true)) << bad;
        EXPECT_EQ(BmpPixels(), pixels);
        EXPECT_EQ(BmpPalette(), palette);
        EXPECT_EQ(BmpHeader().Width, 3);
        EXPECT_EQ(BmpHeader().Height, 2);
    }
}

TEST(LoadBMPFile, ReadsBackWhatWriteBMPFileWroteWithRepeatedColoursCollapsed) {
    TempDir dir;
    std::vector<uint8_t> slot(96 * 96);
    for (std::size_t k = 0; k < slot.size(); ++k) slot[k] = static_cast<uint8_t>(k * 37 + k / 96);
    ASSERT_TRUE(modBmp::WriteBMPFile(dir.file("slot.bmp"), slot, GamePalette, 96, 96));

    ASSERT_TRUE(LoadBMPFile(dir.file("slot.bmp"), false));
    EXPECT_EQ(BmpPixels(), slot);
    EXPECT_EQ(BmpPalette(), GamePalette);

    ASSERT_TRUE(LoadBMPFile(dir.file("slot.bmp"), true));
    ASSERT_EQ(BmpPixels().size(), slot.size());
    for (std::size_t k = 0; k < slot.size(); ++k) {
        int expected = slot[k];
        if ((expected >= 10 && expected <= 15) || (expected >= 240 && expected <= 245)) expected = 0;
        if (expected == 248) expected = 7;
        if (expected == 251) expected = 208;
        ASSERT_EQ(BmpPixels()[k], expected) << "pixel " << k;
    }
}

TEST(LoadBMPFile, ReadsOddWidthsItWrote) {
    TempDir dir;
    const auto pixels = bmptest::PatternPixels(95, 96, 256);
    ASSERT_TRUE(modBmp::WriteBMPFile(dir.file("odd.bmp"), pixels, GamePalette, 95, 96));
    ASSERT_TRUE(LoadBMPFile(dir.file("odd.bmp"), false));
    EXPECT_EQ(BmpHeader().Width, 95);
    EXPECT_EQ(BmpPixels(), pixels);
}
