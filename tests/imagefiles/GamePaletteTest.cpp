#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imagefiles/modPalettes.h"

using modPalettes::GamePalette;
using modPalettes::RemapToPalette;

namespace {

std::vector<uint8_t> EntryBytes(int index) {
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &GamePalette[static_cast<std::size_t>(index)], 4);
    return bytes;
}

// The game index one colour (0xRRGGBB) of another palette is mapped to.
int RemapColour(uint32_t rgb) {
    Palette source{};
    source[0] = PaletteEntry{static_cast<uint8_t>(rgb & 0xFF), static_cast<uint8_t>((rgb >> 8) & 0xFF),
                             static_cast<uint8_t>((rgb >> 16) & 0xFF), 0};
    std::vector<uint8_t> pixels{0};
    RemapToPalette(pixels, source, GamePalette);
    return pixels[0];
}

}  // namespace

TEST(GamePalette, TellingEntriesHoldTheirBytesInBlueGreenRedReservedOrder) {
    EXPECT_EQ(EntryBytes(249), (std::vector<uint8_t>{0x00, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(EntryBytes(9), (std::vector<uint8_t>{0xFC, 0x54, 0x54, 0x00}));
    EXPECT_EQ(EntryBytes(255), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x00}));
    EXPECT_EQ(EntryBytes(0), (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(EntryBytes(246), (std::vector<uint8_t>{0xF0, 0xFB, 0xFF, 0x00}));
    EXPECT_EQ(EntryBytes(16), (std::vector<uint8_t>{0xF3, 0xEB, 0xFF, 0x00}));
    for (int i = 0; i < 256; ++i) EXPECT_EQ(GamePalette[static_cast<std::size_t>(i)].Reserved, 0) << i;
}

TEST(GamePalette, ColoursStandingAtSeveralIndices) {
    const PaletteEntry black{0, 0, 0, 0};
    for (int i : {10, 11, 12, 13, 14, 15, 240, 241, 242, 243, 244, 245}) EXPECT_EQ(GamePalette[static_cast<std::size_t>(i)], black) << i;
    EXPECT_EQ(GamePalette[7], GamePalette[248]);
    EXPECT_EQ(GamePalette[208], GamePalette[251]);
    // Apart from these, every colour is distinct.
    int duplicates = 0;
    for (std::size_t i = 0; i < 256; ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (GamePalette[i] == GamePalette[j]) {
                ++duplicates;
                break;
            }
    EXPECT_EQ(duplicates, 14);
}

TEST(GamePalette, InitialisingAgainChangesNothing) {
    const Palette before = GamePalette;
    modPalettes::InitGamePalette();
    EXPECT_EQ(GamePalette, before);
}

TEST(RemapToPalette, ColoursOfTheGamePaletteGoToTheirLowestIndex) {
    EXPECT_EQ(RemapColour(0x000000), 0);
    EXPECT_EQ(RemapColour(0x808080), 7);
    EXPECT_EQ(RemapColour(0xFFFF00), 208);
    EXPECT_EQ(RemapColour(0xFFFFFF), 255);
    EXPECT_EQ(RemapColour(0xFF0000), 249);
    EXPECT_EQ(RemapColour(0x00FF00), 250);
    EXPECT_EQ(RemapColour(0x0000FF), 252);
}

TEST(RemapToPalette, OtherColoursGoToTheNearestBySumOfDifferences) {
    EXPECT_EQ(RemapColour(0x646464), 89);   // distance 21
    EXPECT_EQ(RemapColour(0xC0C0C0), 84);   // distance 15; not 8 (C0DCC0, distance 28)
    EXPECT_EQ(RemapColour(0xFF8000), 210);  // distance 3
    EXPECT_EQ(RemapColour(0x7F7F7F), 7);    // distance 3
    EXPECT_EQ(RemapColour(0x010101), 0);
}

TEST(RemapToPalette, GameOntoGameCollapsesOnlyTheRepeatedColours) {
    std::vector<uint8_t> pixels(256);
    for (int i = 0; i < 256; ++i) pixels[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i);
    RemapToPalette(pixels, GamePalette, GamePalette);
    for (int i = 0; i < 256; ++i) {
        int expected = i;
        if ((i >= 10 && i <= 15) || (i >= 240 && i <= 245)) expected = 0;
        if (i == 248) expected = 7;
        if (i == 251) expected = 208;
        EXPECT_EQ(pixels[static_cast<std::size_t>(i)], expected) << "index " << i;
    }
}

TEST(RemapToPalette, TranslatesEveryPixelThroughOneTable) {
    Palette source{};
    source[3] = PaletteEntry{0, 0, 255, 0};      // red
    source[200] = PaletteEntry{255, 255, 255, 0};  // white
    // every other source entry is black
    std::vector<uint8_t> pixels{3, 200, 3, 17, 200, 0};
    RemapToPalette(pixels, source, GamePalette);
    EXPECT_EQ(pixels, (std::vector<uint8_t>{249, 255, 249, 0, 255, 0}));
}

TEST(RemapToPalette, EmptyPixelsStayEmpty) {
    std::vector<uint8_t> pixels;
    RemapToPalette(pixels, GamePalette, GamePalette);
    EXPECT_TRUE(pixels.empty());
}

TEST(NearestIndexPlain, TiesGoToTheLowestIndexAndFarAwayKeeps255) {
    Palette target{};
    for (auto& e : target) e = PaletteEntry{255, 0, 255, 0};  // magenta everywhere
    target[9] = PaletteEntry{100, 100, 110, 0};  // (110,100,100): distance 10 from (100,100,100)
    target[4] = PaletteEntry{100, 100, 90, 0};   // (90,100,100): distance 10
    target[6] = PaletteEntry{95, 105, 100, 0};   // (100,105,95): distance 10
    EXPECT_EQ(modPalettes::NearestIndexPlain(target, 100, 100, 100), 4);

    Palette white{};
    for (auto& e : white) e = PaletteEntry{255, 255, 255, 0};
    // Every entry lies exactly 765 away: none is strictly nearer than the starting 765.
    EXPECT_EQ(modPalettes::NearestIndexPlain(white, 0, 0, 0), 255);
    white[3] = PaletteEntry{255, 255, 254, 0};
    EXPECT_EQ(modPalettes::NearestIndexPlain(white, 0, 0, 0), 3);
    EXPECT_EQ(modPalettes::NearestIndexPlain(white, 255, 255, 255), 0);
}
