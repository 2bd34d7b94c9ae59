// EncodePcx / WritePCXFile: the exact header, the packets of runs and literals, and the round trip
// through the reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "imagefiles/PcxWriter.h"
#include "imagefiles/modPCX.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"

namespace {

using modPalettes::GamePalette;
using Bytes = std::vector<uint8_t>;

Bytes RandomSlot(unsigned seed) {
    std::mt19937 random(seed);
    Bytes pixels(96 * 96);
    // Runs of random length, so that the file has runs, literals and high values.
    for (std::size_t k = 0; k < pixels.size();) {
        const auto value = static_cast<uint8_t>(random() % 256);
        for (std::size_t n = 1 + random() % 70; n > 0 && k < pixels.size(); --n) pixels[k++] = value;
    }
    return pixels;
}

TEST(EncodePcx, HeaderOfASlotAndTheGamePaletteBehindTheMarker) {
    const Bytes file = modPCX::EncodePcx(Bytes(96 * 96, 0x20), GamePalette, 96, 96);
    ASSERT_GE(file.size(), 128u + 769u);
    Bytes header{10, 5, 1, 8, 0, 0, 0, 0, 95, 0, 95, 0, 72, 0, 72, 0};
    for (std::size_t i = 0; i < 16; ++i)
        header.insert(header.end(), {GamePalette[i].Red, GamePalette[i].Green, GamePalette[i].Blue});
    header.insert(header.end(), {0, 1, 96, 0, 1, 0});  // reserved, one plane, 96 bytes per line, colour palette
    header.resize(128, 0);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 128), header);
    EXPECT_EQ(Bytes(file.begin() + 16, file.begin() + 22), (Bytes{0, 0, 0, 0x80, 0, 0}));  // game colours 0 and 1
    // Each row of 96 is one run of 63 and one of 33.
    Bytes data;
    for (int row = 0; row < 96; ++row) data.insert(data.end(), {0xFF, 0x20, 0xE1, 0x20});
    EXPECT_EQ(Bytes(file.begin() + 128, file.end() - 769), data);
    Bytes palette{12};
    for (const auto& colour : GamePalette) palette.insert(palette.end(), {colour.Red, colour.Green, colour.Blue});
    EXPECT_EQ(Bytes(file.end() - 769, file.end()), palette);
}

TEST(EncodePcx, RunsEndWithTheRowAndAtSixtyThreeAndHighLiteralsAreRunsOfOne) {
    const std::vector<std::tuple<const char*, int, int, Bytes, Bytes>> cases{
        {"100 equal pixels: 63 and 37", 100, 1, Bytes(100, 5), {0xFF, 5, 0xE5, 5}},
        {"127 equal high pixels: 63, 63 and 1", 127, 1, Bytes(127, 0xC5), {0xFF, 0xC5, 0xFF, 0xC5, 0xC1, 0xC5, 0}},
        {"literals of 0xC0 and more are runs of one",
         4,
         1,
         {0xC0, 0xBF, 0xFF, 0x00},
         {0xC1, 0xC0, 0xBF, 0xC1, 0xFF, 0x00}},
        {"two equal pixels are a run", 2, 1, {4, 4}, {0xC2, 4}},
        {"a run never crosses a row end", 4, 2, Bytes(8, 7), {0xC4, 7, 0xC4, 7}},
        {"an odd width is padded with a zero byte", 3, 2, {1, 2, 3, 4, 4, 0}, {1, 2, 3, 0, 0xC2, 4, 0xC2, 0}},
    };
    for (const auto& [what, width, height, pixels, packets] : cases) {
        const Bytes file = modPCX::EncodePcx(pixels, GamePalette, width, height);
        ASSERT_FALSE(file.empty()) << what;
        EXPECT_EQ(Bytes(file.begin() + 128, file.end() - 769), packets) << what;
        EXPECT_EQ(file[66] | file[67] << 8, (width + 1) / 2 * 2) << what;
    }
}

TEST(WritePCXFile, ReadsBackExactlyThroughTheReader) {
    testsupport::TempDir dir;
    for (unsigned seed = 1; seed <= 5; ++seed) {
        const Bytes pixels = RandomSlot(seed);
        ASSERT_TRUE(modPCX::WritePCXFile(dir.file("slot.pcx"), pixels, GamePalette, 96, 96));
        ASSERT_TRUE(modPCX::LoadPCXFile(dir.file("slot.pcx"))) << seed;
        EXPECT_EQ(std::pair(modPCX::PcxLastX(), modPCX::PcxLastY()), std::pair(95, 95));
        EXPECT_EQ(modPCX::PcxPixels(), pixels) << seed;
        EXPECT_EQ(modPCX::PcxPalette(), GamePalette);
    }
    // Any even width reads back too (the reader takes rows of exactly the width).
    Bytes wide(200 * 3);
    for (std::size_t k = 0; k < wide.size(); ++k) wide[k] = static_cast<uint8_t>(k / 70 * 61);
    const auto decoded = modPCX::DecodePcx(modPCX::EncodePcx(wide, GamePalette, 200, 3));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Pixels, wide);
}

TEST(WritePCXFile, FailsForImpossibleSizesOrAMissingFolderLeavingTheOldFile) {
    testsupport::TempDir dir;
    const Bytes pixels(96 * 96, 1), old{1, 2, 3};
    testsupport::WriteBytes(dir.file("old.pcx"), old);
    for (auto [width, height] : {std::pair{0, 96}, std::pair{96, -1}, std::pair{96, 97}, std::pair{32768, 1}}) {
        EXPECT_TRUE(modPCX::EncodePcx(pixels, GamePalette, width, height).empty()) << width << " x " << height;
        EXPECT_FALSE(modPCX::WritePCXFile(dir.file("old.pcx"), pixels, GamePalette, width, height));
    }
    EXPECT_FALSE(modPCX::WritePCXFile(dir.file("missing/slot.pcx"), pixels, GamePalette, 96, 96));
    EXPECT_EQ(testsupport::ReadBytes(dir.file("old.pcx")), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
