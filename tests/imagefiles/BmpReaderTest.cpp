// DecodeBmp and LoadBMPFile: every accepted kind decodes to top-down indices, anything else is
// refused, and a refusal leaves the module state alone.

#include <gtest/gtest.h>
#include <climits>
#include "imagefiles/modBmp.h"
#include "support/BmpBuilder.h"
#include "support/TestFiles.h"

using namespace bmpbuild;
using modBmp::DecodeBmp;

TEST(DecodeBmp, ReadsEveryAcceptedKindOfFile) {
    struct Kind { int width, height, bits; uint32_t compression, headerSize; bool topDown; };
    const Kind kinds[] = {{96, 7, 8, 0, 40, false}, {97, 3, 8, 0, 40, true}, {13, 3, 1, 0, 40, false}, {5, 4, 4, 0, 40, true},
                          {6, 3, 8, 0, 12, false},  {6, 3, 4, 0, 12, false}, {6, 3, 8, 0, 52, false}, {6, 3, 8, 0, 56, false},
                          {6, 3, 8, 0, 108, true},  {6, 3, 1, 0, 124, false}, {96, 96, 8, 1, 40, false}, {11, 6, 4, 2, 124, false}};
    for (const Kind& k : kinds) {
        SCOPED_TRACE(testing::Message() << "kind " << &k - kinds);
        const BmpLayout layout = PictureLayout(k.width, k.height, k.bits, k.compression, k.headerSize, k.topDown);
        const auto decoded = DecodeBmp(Build(layout));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(std::tuple(decoded->Header.Width, decoded->Header.Height, decoded->Header.Size), std::tuple(k.width, k.height, k.width * k.height));
        EXPECT_EQ(decoded->Pixels, PatternPixels(k.width, k.height, 1 << k.bits));
        for (std::size_t i = 0; i < 256; ++i)
            ASSERT_EQ(decoded->Colours[i], i < layout.Colours.size() ? layout.Colours[i] : PaletteEntry{}) << i;
    }
}

// Packed by hand, so that the builder and the reader cannot share a mistake.
TEST(DecodeBmp, HandPackedPixelsAndRunLengthPackets) {
    const auto with = [](int w, int h, int bits, std::vector<uint8_t> data) {
        BmpLayout s = PictureLayout(w, h, bits, bits == 1 ? 0 : bits == 8 ? 1 : 2);
        s.PixelData = std::move(data);
        return Build(s);
    };
    const std::pair<std::vector<uint8_t>, std::vector<uint8_t>> examples[] = {
        {with(10, 1, 1, {0xB2, 0x40, 0, 0}), {1, 0, 1, 1, 0, 0, 1, 0, 0, 1}},  // leftmost pixel in the high bit
        // Bottom row: three 5s, literal 1 2 3 padded; end of line; delta 2 right 1 up; two 9s; end.
        {with(6, 3, 8, {3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 1}), {0, 0, 9, 9, 0, 0, 0, 0, 0, 0, 0, 0, 5, 5, 5, 1, 2, 3}},
        // RLE4: four alternating 1 2, literal 3 4 5; end of line; literal of five nibbles padded; end.
        {with(7, 2, 4, {4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 5, 0x67, 0x89, 0xA0, 0, 0, 1}), {6, 7, 8, 9, 10, 0, 0, 1, 2, 1, 2, 3, 4, 5}},
        {with(4, 2, 8, {6, 7, 0, 0, 1, 8, 0, 1}), {8, 0, 0, 0, 7, 7, 7, 7}},  // a run clipped at the row end, not wrapped
    };
    for (const auto& [file, pixels] : examples) {
        const auto decoded = DecodeBmp(file);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->Pixels, pixels);
    }
    const auto file = Build(PictureLayout(95, 3, 8));  // only the last row's padding may be missing
    EXPECT_TRUE(DecodeBmp(std::vector<uint8_t>(file.begin(), file.end() - 1)));
}

TEST(DecodeBmp, RefusesTruncatedHostileAndUnsupportedFiles) {
    EXPECT_FALSE(DecodeBmp(std::vector<uint8_t>{}));
    using S = BmpLayout&;
    const std::pair<const char*, void (*)(S)> damages[] = {
        {"truncated", [](S s) { s.PixelData.resize(15); }}, {"width 0", [](S s) { s.Width = 0; }}, {"width -4", [](S s) { s.Width = -4; }},
        {"height INT_MIN", [](S s) { s.Height = INT_MIN; }}, {"INT_MAX squared", [](S s) { s.Width = s.Height = INT_MAX; }},
        {"30,000 x 30,000 in 200 bytes", [](S s) { s.Width = s.Height = 30000; s.Colours.resize(16); s.ColoursUsed = 16; }},
        {"4 Mi pixels from 2 RLE8 bytes", [](S s) { s.Width = s.Height = 2000; s.Compression = 1; s.PixelData = {0, 1}; }},
        {"biClrUsed above 2^bits", [](S s) { s.BitCount = 4; s.ColoursUsed = 17; s.Colours.resize(17); }},
        {"pixels inside the colour table", [](S s) { s.PixelOffset = 14 + 40 + 16 * 4; }},
        {"pixel offset past the end", [](S s) { s.PixelOffset = 100000; }}, {"2 planes", [](S s) { s.Planes = 2; }},
        {"colour table cut by the end", [](S s) { s.Colours.resize(10); s.PixelData.clear(); }},
        {"24 bits", [](S s) { s.BitCount = 24; s.PixelData.resize(64); }}, {"RLE4 with 8 bits", [](S s) { s.Compression = 2; }},
        {"top-down RLE8", [](S s) { s.Compression = 1; s.Height = -4; s.PixelData = {0, 1}; }},
        {"RLE8 literal cut short", [](S s) { s.Compression = 1; s.PixelData = {0, 4, 1, 2}; }},
        {"2 bits", [](S s) { s.BitCount = 2; }}, {"64-byte header", [](S s) { s.HeaderSize = 64; }}};
    for (const auto& [what, damage] : damages) {
        BmpLayout layout = PictureLayout(4, 4, 8);
        damage(layout);
        EXPECT_FALSE(DecodeBmp(Build(layout))) << what;
    }
}

TEST(LoadBMPFile, MapsOntoTheGamePaletteOnRequestAndARefusalLeavesThePicture) {
    testsupport::TempDir dir;
    BmpLayout layout = PictureLayout(3, 2, 8);  // colours not in the game palette
    layout.Colours = {{0x64, 0x64, 0x64, 0}, {0xC0, 0xC0, 0xC0, 0}, {0, 0x80, 0xFF, 0}, {0x7F, 0x7F, 0x7F, 0}, {1, 1, 1, 0}};
    layout.ColoursUsed = 5, layout.PixelData = PackRows({0, 1, 2, 3, 4, 0}, 3, 2, 8);
    const auto file = Build(layout);
    testsupport::WriteBytes(dir.file("a.bmp"), file);
    testsupport::WriteBytes(dir.file("cut.bmp"), {file.begin(), file.end() - 6});
    ASSERT_TRUE(modBmp::LoadBMPFile(dir.file("a.bmp"), false));
    EXPECT_EQ(modBmp::BmpPixels(), (std::vector<uint8_t>{0, 1, 2, 3, 4, 0}));
    ASSERT_TRUE(modBmp::LoadBMPFile(dir.file("a.bmp"), true));
    EXPECT_EQ(modBmp::BmpPixels(), (std::vector<uint8_t>{89, 84, 210, 7, 0, 89}));
    EXPECT_EQ(modBmp::BmpPalette()[2], layout.Colours[2]);  // the file's own table stays
    const auto state = [] { return std::tuple(modBmp::BmpPixels(), modBmp::BmpPalette(), modBmp::BmpHeader().Width, modBmp::BmpHeader().Height); };
    const auto loaded = state();
    for (const std::string& bad : {dir.file("cut.bmp"), dir.file("missing.bmp"), dir.path().string()}) {
        EXPECT_FALSE(modBmp::LoadBMPFile(bad, true)) << bad;
        EXPECT_TRUE(state() == loaded) << bad;
    }
}
