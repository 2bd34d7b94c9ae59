// DecodeBmp and LoadBMPFile: every kind of file the reader accepts decodes to top-down indices;
// every file it cannot deliver is refused, and a refusal leaves the module state alone.

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/BmpBuilder.h"
#include "support/TestFiles.h"

using bmpbuild::BmpLayout;
using bmpbuild::Build;
using bmpbuild::PictureLayout;
using modBmp::DecodeBmp;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

void ExpectDecodesTo(const std::vector<uint8_t>& file, int width, int height, const std::vector<uint8_t>& pixels) {
    const auto decoded = DecodeBmp(file);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->Header.Width, width);
    EXPECT_EQ(decoded->Header.Height, height);
    EXPECT_EQ(decoded->Header.Size, width * height);
    EXPECT_EQ(decoded->Pixels, pixels);
}

BmpLayout RunLength(int width, int height, int bitCount, std::vector<uint8_t> data) {
    BmpLayout layout = PictureLayout(width, height, bitCount, bitCount == 8 ? 1 : 2);
    layout.PixelData = std::move(data);
    return layout;
}

}  // namespace

TEST(DecodeBmp, ReadsEveryAcceptedKindOfFile) {
    struct Kind {
        int width, height, bits;
        uint32_t compression, headerSize;
        bool topDown;
    };
    const Kind kinds[] = {
        {96, 7, 8, 0, 40, false}, {96, 7, 8, 0, 40, true}, {95, 3, 8, 0, 40, false}, {97, 3, 8, 0, 40, true},
        {1, 2, 8, 0, 40, false},  {13, 3, 1, 0, 40, false}, {13, 3, 1, 0, 40, true}, {5, 4, 4, 0, 40, false},
        {33, 2, 4, 0, 40, false}, {6, 3, 8, 0, 12, false},  {6, 3, 4, 0, 12, false}, {6, 3, 8, 0, 52, false},
        {6, 3, 8, 0, 56, false},  {6, 3, 8, 0, 108, true},  {6, 3, 8, 0, 124, false}, {96, 96, 8, 1, 40, false},
        {11, 6, 4, 2, 40, false}, {40, 20, 8, 1, 124, false},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(testing::Message() << k.width << " x " << k.height << ", " << k.bits << " bits, compression "
                                        << k.compression << ", header " << k.headerSize << (k.topDown ? ", top-down" : ""));
        const BmpLayout layout = PictureLayout(k.width, k.height, k.bits, k.compression, k.headerSize, k.topDown);
        ExpectDecodesTo(Build(layout), k.width, k.height, bmpbuild::PatternPixels(k.width, k.height, 1 << k.bits));
        const auto decoded = DecodeBmp(Build(layout));
        ASSERT_TRUE(decoded.has_value());
        for (std::size_t i = 0; i < 256; ++i)
            ASSERT_EQ(decoded->Colours[i], i < layout.Colours.size() ? layout.Colours[i] : PaletteEntry{}) << "entry " << i;
    }
}

// Examples packed by hand, so that the builder and the reader cannot share a mistake.
TEST(DecodeBmp, HandPackedPixelsAndRunLengthPackets) {
    struct Example {
        const char* what;
        BmpLayout layout;
        std::vector<uint8_t> pixels;
    };
    BmpLayout oneBit = PictureLayout(10, 1, 1);
    oneBit.PixelData = {0xB2, 0x40, 0x00, 0x00};  // 1011 0010 01: the leftmost pixel in the high bit
    const Example examples[] = {
        {"1-bit row", oneBit, {1, 0, 1, 1, 0, 0, 1, 0, 0, 1}},
        // Bottom row: three 5s, a literal 1 2 3 padded to even; end of line; a delta 2 right and 1
        // up to x = 2 of the top row; two 9s; end of bitmap.
        {"RLE8", RunLength(6, 3, 8, {3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 1}),
         {0, 0, 9, 9, 0, 0, 0, 0, 0, 0, 0, 0, 5, 5, 5, 1, 2, 3}},
        // Four alternating 1 and 2, a literal 3 4 5 in two bytes; end of line; a literal of five
        // nibbles in three bytes plus padding; end of bitmap.
        {"RLE4", RunLength(7, 2, 4, {4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 5, 0x67, 0x89, 0xA0, 0x00, 0, 1}),
         {6, 7, 8, 9, 10, 0, 0, 1, 2, 1, 2, 3, 4, 5}},
        // Runs and literals past the row's end are clipped, never wrapped into the next row.
        {"run clipped", RunLength(4, 2, 8, {6, 7, 0, 0, 1, 8, 0, 1}), {8, 0, 0, 0, 7, 7, 7, 7}},
        {"literal clipped", RunLength(2, 1, 8, {0, 3, 1, 2, 3, 0, 0, 1}), {1, 2}},
        // A delta beyond the picture ends it; no end-of-bitmap mark is needed once every row is passed.
        {"delta past the top", RunLength(4, 2, 8, {2, 3, 0, 2, 200, 200, 1, 4}), {0, 0, 0, 0, 3, 3, 0, 0}},
        {"end mark alone", RunLength(3, 2, 8, {0, 1}), std::vector<uint8_t>(6, 0)},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(e.what);
        ExpectDecodesTo(Build(e.layout), e.layout.Width, e.layout.Height, e.pixels);
    }
    // Only the last row's padding may be missing from an uncompressed file.
    const auto file = Build(PictureLayout(95, 3, 8));
    ExpectDecodesTo(std::vector<uint8_t>(file.begin(), file.end() - 1), 95, 3, bmpbuild::PatternPixels(95, 3, 256));
}

TEST(DecodeBmp, KeepsTheColourTableAsTheFileHasItForEveryColourCount) {
    for (uint32_t used : {0u, 16u, 2u}) {
        SCOPED_TRACE(testing::Message() << "biClrUsed " << used);
        BmpLayout layout = PictureLayout(4, 2, 8);
        layout.PixelData = bmpbuild::PackRows(bmpbuild::PatternPixels(4, 2, used == 0 ? 256 : used), 4, 2, 8);
        layout.ColoursUsed = used;
        layout.Colours = bmpbuild::DistinctColours(used == 0 ? 256 : static_cast<int>(used));
        layout.Colours[1].Reserved = 0x77;
        const auto decoded = DecodeBmp(Build(layout));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->Colours[1], (PaletteEntry{1, 254, 7, 0x77}));
        for (std::size_t i = 0; i < 256; ++i)
            ASSERT_EQ(decoded->Colours[i], i < layout.Colours.size() ? layout.Colours[i] : PaletteEntry{}) << "entry " << i;
    }
}

TEST(DecodeBmp, RefusesTruncatedFilesAtEveryLength) {
    for (uint32_t compression : {0u, 1u}) {
        const auto file = Build(PictureLayout(95, 3, 8, compression));
        // An uncompressed file's last padding byte may go, as may the end-of-bitmap mark after
        // the last row's end of line.
        const std::size_t keep = compression == 0 ? 1 : 2;
        for (std::size_t length = 0; length + keep < file.size(); ++length)
            ASSERT_FALSE(DecodeBmp(std::span<const uint8_t>(file.data(), length))) << "compression " << compression
                                                                                    << ", length " << length;
    }
}

// Hostile and unsupported files: each is a valid 4 x 4 8-bit file with one thing changed.
TEST(DecodeBmp, RefusesWhatItCannotDeliverAsPaletteIndices) {
    const std::pair<const char*, std::function<void(BmpLayout&)>> damages[] = {
        {"width 0", [](BmpLayout& s) { s.Width = 0; }},
        {"width -4", [](BmpLayout& s) { s.Width = -4; }},
        {"height 0", [](BmpLayout& s) { s.Height = 0; }},
        {"width INT_MIN", [](BmpLayout& s) { s.Width = INT_MIN; }},
        {"height INT_MIN", [](BmpLayout& s) { s.Height = INT_MIN; }},
        {"INT_MAX x INT_MAX", [](BmpLayout& s) { s.Width = s.Height = INT_MAX; }},
        {"30,000 x 30,000 in 200 bytes", [](BmpLayout& s) { s.Width = s.Height = 30000; s.Colours.resize(16); s.ColoursUsed = 16; }},
        {"30,000 x 30,000 RLE8", [](BmpLayout& s) { s.Width = s.Height = 30000; s.Compression = 1; }},
        {"4 Mi pixels from 2 RLE8 bytes", [](BmpLayout& s) { s.Width = s.Height = 2000; s.Compression = 1; s.PixelData = {0, 1}; }},
        {"biClrUsed above 2^bits", [](BmpLayout& s) { s.BitCount = 4; s.ColoursUsed = 17; s.Colours.resize(17); }},
        {"pixels inside the colour table", [](BmpLayout& s) { s.PixelOffset = 14 + 40 + 16 * 4; }},
        {"pixel offset past the end", [](BmpLayout& s) { s.PixelOffset = 100000; }},
        {"colour table cut by the end", [](BmpLayout& s) { s.Colours.resize(10); s.PixelData.clear(); }},
        {"0 bits", [](BmpLayout& s) { s.BitCount = 0; }},
        {"2 bits", [](BmpLayout& s) { s.BitCount = 2; }},
        {"16 bits", [](BmpLayout& s) { s.BitCount = 16; s.PixelData.resize(64); }},
        {"24 bits", [](BmpLayout& s) { s.BitCount = 24; s.PixelData.resize(64); }},
        {"32 bits", [](BmpLayout& s) { s.BitCount = 32; s.PixelData.resize(64); }},
        {"bit fields", [](BmpLayout& s) { s.Compression = 3; }},
        {"JPEG", [](BmpLayout& s) { s.Compression = 4; }},
        {"PNG", [](BmpLayout& s) { s.Compression = 5; }},
        {"RLE4 with 8 bits", [](BmpLayout& s) { s.Compression = 2; }},
        {"top-down RLE8", [](BmpLayout& s) { s.Compression = 1; s.Height = -4; s.PixelData = {0, 1}; }},
        {"RLE8 without an end", [](BmpLayout& s) { s.Compression = 1; s.PixelData = {4, 7, 0, 0}; }},
        {"RLE8 literal cut short", [](BmpLayout& s) { s.Compression = 1; s.PixelData = {0, 4, 1, 2}; }},
        {"RLE8 delta cut short", [](BmpLayout& s) { s.Compression = 1; s.PixelData = {0, 2, 1}; }},
        {"2 planes", [](BmpLayout& s) { s.Planes = 2; }},
        {"OS/2 2.x header", [](BmpLayout& s) { s.HeaderSize = 64; }},
    };
    for (const auto& [what, damage] : damages) {
        BmpLayout layout = PictureLayout(4, 4, 8);
        damage(layout);
        EXPECT_FALSE(DecodeBmp(Build(layout))) << what;
    }
    auto notBmp = Build(PictureLayout(4, 4, 8));
    notBmp[1] = 'A';
    EXPECT_FALSE(DecodeBmp(notBmp));
}

namespace {

PaletteEntry Rgb(uint32_t rgb) {
    return PaletteEntry{uint8_t(rgb & 0xFF), uint8_t((rgb >> 8) & 0xFF), uint8_t((rgb >> 16) & 0xFF), 0};
}

// A 3 x 2 picture in five colours that are not in the game palette.
std::vector<uint8_t> ForeignColoursFile() {
    BmpLayout layout = PictureLayout(3, 2, 8);
    layout.ColoursUsed = 5;
    layout.Colours = {Rgb(0x646464), Rgb(0xC0C0C0), Rgb(0xFF8000), Rgb(0x7F7F7F), Rgb(0x010101)};
    layout.PixelData = bmpbuild::PackRows({0, 1, 2, 3, 4, 0}, 3, 2, 8);
    return Build(layout);
}

}  // namespace

TEST(LoadBMPFile, MapsColoursOntoTheGamePaletteAndAFailedReadLeavesThePictureInPlace) {
    TempDir dir;
    WriteBytes(dir.file("foreign.bmp"), ForeignColoursFile());
    ASSERT_TRUE(modBmp::LoadBMPFile(dir.file("foreign.bmp"), false));
    EXPECT_EQ(modBmp::BmpPixels(), (std::vector<uint8_t>{0, 1, 2, 3, 4, 0}));
    ASSERT_TRUE(modBmp::LoadBMPFile(dir.file("foreign.bmp"), true));
    EXPECT_EQ(modBmp::BmpPixels(), (std::vector<uint8_t>{89, 84, 210, 7, 0, 89}));
    EXPECT_EQ(modBmp::BmpHeader().Size, 6);
    EXPECT_EQ(modBmp::BmpPalette()[2], Rgb(0xFF8000));  // the file's own colour table stays

    auto truncated = ForeignColoursFile();
    truncated.resize(truncated.size() - 6);
    WriteBytes(dir.file("truncated.bmp"), truncated);
    WriteBytes(dir.file("empty.bmp"), {});
    for (const std::string& bad : {dir.file("truncated.bmp"), dir.file("empty.bmp"), dir.file("missing.bmp"), dir.path().string()}) {
        EXPECT_FALSE(modBmp::LoadBMPFile(bad, true)) << bad;
        EXPECT_EQ(modBmp::BmpPixels(), (std::vector<uint8_t>{89, 84, 210, 7, 0, 89}));
        EXPECT_EQ(modBmp::BmpPalette()[2], Rgb(0xFF8000));
        EXPECT_EQ(modBmp::BmpHeader().Width, 3);
        EXPECT_EQ(modBmp::BmpHeader().Height, 2);
    }
}

TEST(LoadBMPFile, ReadsBackWhatWriteBMPFileWroteWithRepeatedColoursCollapsed) {
    TempDir dir;
    for (int width : {96, 95}) {
        std::vector<uint8_t> slot(static_cast<std::size_t>(width) * 96);
        for (std::size_t k = 0; k < slot.size(); ++k) slot[k] = static_cast<uint8_t>(k * 37 + k / 96);
        ASSERT_TRUE(modBmp::WriteBMPFile(dir.file("slot.bmp"), slot, modPalettes::GamePalette, width, 96));
        ASSERT_TRUE(modBmp::LoadBMPFile(dir.file("slot.bmp"), false));
        EXPECT_EQ(modBmp::BmpPixels(), slot) << "width " << width;
        EXPECT_EQ(modBmp::BmpPalette(), modPalettes::GamePalette);

        // The remap turns each repeated colour into its lowest index: 10-15 and 240-245 into 0,
        // 248 into 7, 251 into 208.
        ASSERT_TRUE(modBmp::LoadBMPFile(dir.file("slot.bmp"), true));
        ASSERT_EQ(modBmp::BmpPixels().size(), slot.size());
        for (std::size_t k = 0; k < slot.size(); ++k) {
            const int i = slot[k];
            const int lowest = (i >= 10 && i <= 15) || (i >= 240 && i <= 245) ? 0 : (i == 248 ? 7 : (i == 251 ? 208 : i));
            ASSERT_EQ(modBmp::BmpPixels()[k], lowest) << "pixel " << k << ", width " << width;
        }
    }
}
