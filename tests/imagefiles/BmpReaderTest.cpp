#include <gtest/gtest.h>

#include <climits>

#include "imagefiles/modBmp.h"
#include "BmpBuilder.h"

using bmptest::BmpSpec;
using bmptest::BuildBmp;
using bmptest::DistinctColours;
using bmptest::PackRows;
using bmptest::PatternPixels;
using modBmp::DecodeBmp;

namespace {

BmpSpec Uncompressed(int width, int height, int bitCount, const std::vector<uint8_t>& pixels, bool topDown = false) {
    BmpSpec spec;
    spec.Width = width;
    spec.Height = topDown ? -height : height;
    spec.BitCount = static_cast<uint16_t>(bitCount);
    spec.Colours = DistinctColours(1 << bitCount);
    spec.PixelData = PackRows(pixels, width, height, bitCount, topDown);
    return spec;
}

void ExpectDecodesTo(const std::vector<uint8_t>& file, int width, int height, const std::vector<uint8_t>& pixels) {
    const auto decoded = DecodeBmp(file);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->Header.Width, width);
    EXPECT_EQ(decoded->Header.Height, height);
    EXPECT_EQ(decoded->Header.Size, width * height);
    EXPECT_EQ(decoded->Pixels, pixels);
}

BmpSpec RunLength(int width, int height, int bitCount, std::vector<uint8_t> data) {
    BmpSpec spec;
    spec.Width = width;
    spec.Height = height;
    spec.BitCount = static_cast<uint16_t>(bitCount);
    spec.Compression = bitCount == 8 ? 1 : 2;
    spec.Colours = DistinctColours(1 << bitCount);
    spec.PixelData = std::move(data);
    return spec;
}

}  // namespace

TEST(DecodeBmp, ReadsEightBitRowsBottomUpAndTopDown) {
    for (int width : {96, 95, 97, 1}) {
        const int height = 7;
        const auto pixels = PatternPixels(width, height, 256);
        SCOPED_TRACE("width " + std::to_string(width));
        ExpectDecodesTo(BuildBmp(Uncompressed(width, height, 8, pixels)), width, height, pixels);
        ExpectDecodesTo(BuildBmp(Uncompressed(width, height, 8, pixels, true)), width, height, pixels);
    }
}

TEST(DecodeBmp, ReadsOneAndFourBitRowsLeftmostPixelInTheHighBits) {
    const auto twoColours = PatternPixels(13, 3, 2);
    ExpectDecodesTo(BuildBmp(Uncompressed(13, 3, 1, twoColours)), 13, 3, twoColours);
    ExpectDecodesTo(BuildBmp(Uncompressed(13, 3, 1, twoColours, true)), 13, 3, twoColours);
    const auto sixteen = PatternPixels(5, 4, 16);
    ExpectDecodesTo(BuildBmp(Uncompressed(5, 4, 4, sixteen)), 5, 4, sixteen);
    ExpectDecodesTo(BuildBmp(Uncompressed(33, 2, 4, PatternPixels(33, 2, 16))), 33, 2, PatternPixels(33, 2, 16));

    // One hand-packed 1-bit row of 10 pixels: 1011 0010 01, padded to 4 bytes.
    BmpSpec spec;
    spec.Width = 10;
    spec.Height = 1;
    spec.BitCount = 1;
    spec.Colours = DistinctColours(2);
    spec.PixelData = {0xB2, 0x40, 0x00, 0x00};
    ExpectDecodesTo(BuildBmp(spec), 10, 1, {1, 0, 1, 1, 0, 0, 1, 0, 0, 1});
}

TEST(DecodeBmp, ReadsEveryInformationHeaderSize) {
    const auto pixels = PatternPixels(6, 3, 256);
    for (uint32_t headerSize : {12u, 40u, 52u, 56u, 108u, 124u}) {
        SCOPED_TRACE("header size " + std::to_string(headerSize));
        BmpSpec spec = Uncompressed(6, 3, 8, pixels);
        spec.HeaderSize = headerSize;
        const auto decoded = DecodeBmp(BuildBmp(spec));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->Pixels, pixels);
        EXPECT_EQ(decoded->Colours[200], (PaletteEntry{200, 55, static_cast<uint8_t>(200 * 7), 0}));
    }
}

TEST(DecodeBmp, KeepsTheFilesColourTableAndZeroesTheRest) {
    const auto pixels = PatternPixels(4, 2, 16);
    for (uint32_t used : {0u, 16u, 2u}) {
        SCOPED_TRACE("colours used " + std::to_string(used));
        BmpSpec spec = Uncompressed(4, 2, 8, used == 2 ? PatternPixels(4, 2, 2) : pixels);
        spec.ColoursUsed = used;
        spec.Colours = DistinctColours(used == 0 ? 256 : static_cast<int>(used));
        spec.Colours[1].Reserved = 0x77;  // kept as the file has it
        const auto decoded = DecodeBmp(BuildBmp(spec));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->Colours[1], (PaletteEntry{1, 254, 7, 0x77}));
        const std::size_t defined = spec.Colours.size();
        for (std::size_t i = 0; i < 256; ++i)
            EXPECT_EQ(decoded->Colours[i], i < defined ? spec.Colours[i] : PaletteEntry{}) << "entry " << i;
    }
    // A 4-bit file with biClrUsed 0 has 16 colours.
    const auto decoded = DecodeBmp(BuildBmp(Uncompressed(4, 2, 4, pixels)));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->Colours[15], (PaletteEntry{15, 240, 105, 0}));
    EXPECT_EQ(decoded->Colours[16], PaletteEntry{});
}

TEST(DecodeBmp, DecodesRunLengthEightBitData) {
    // Bottom row: a run of three 5s, then a literal run 1 2 3 (padded to an even length); end
    // of line; a delta of 2 right and 1 up lands in the top row at x = 2; two 9s; end.
    const auto file = BuildBmp(RunLength(6, 3, 8, {3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 1}));
    ExpectDecodesTo(file, 6, 3,
                    {0, 0, 9, 9, 0, 0,  //
                     0, 0, 0, 0, 0, 0,  //
                     5, 5, 5, 1, 2, 3});
}

TEST(DecodeBmp, DecodesRunLengthFourBitData) {
    // Bottom row: a run of 4 alternating 1 and 2, a literal run 3 4 5 in two bytes; end of
    // line; a literal run of 5 nibbles in three bytes plus one padding byte; end.
    const auto file =
        BuildBmp(RunLength(7, 2, 4, {4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 5, 0x67, 0x89, 0xA0, 0x00, 0, 1}));
    ExpectDecodesTo(file, 7, 2,
                    {6, 7, 8, 9, 10, 0, 0,  //
                     1, 2, 1, 2, 3, 4, 5});
}

TEST(DecodeBmp, ClipsRunsAtTheRowsEndInsteadOfWrapping) {
    // A run of six 7s in a row of four, end of line, one 8, end of bitmap.
    ExpectDecodesTo(BuildBmp(RunLength(4, 2, 8, {6, 7, 0, 0, 1, 8, 0, 1})), 4, 2, {8, 0, 0, 0, 7, 7, 7, 7});
    // A delta far beyond the picture ends its rows; the rest stays 0. No end-of-bitmap mark
    // is needed once every row is passed.
    ExpectDecodesTo(BuildBmp(RunLength(4, 2, 8, {2, 3, 0, 2, 200, 200, 1, 4})), 4, 2, {0, 0, 0, 0, 3, 3, 0, 0});
    // Literal runs past the row's end lose their tail too.
    ExpectDecodesTo(BuildBmp(RunLength(2, 1, 8, {0, 3, 1, 2, 3, 0, 0, 1})), 2, 1, {1, 2});
}

TEST(DecodeBmp, RefusesRunLengthDataThatEndsEarly) {
    EXPECT_FALSE(DecodeBmp(BuildBmp(RunLength(4, 2, 8, {4, 7, 0, 0}))).has_value());  // no end mark
    EXPECT_FALSE(DecodeBmp(BuildBmp(RunLength(4, 2, 8, {0, 4, 1, 2}))).has_value());  // literal cut short
    EXPECT_FALSE(DecodeBmp(BuildBmp(RunLength(4, 2, 8, {0, 2, 1}))).has_value());     // delta cut short
    // A top-down run-length file does not exist.
    BmpSpec topDown = RunLength(4, 2, 8, {0, 1});
    topDown.Height = -2;
    EXPECT_FALSE(DecodeBmp(BuildBmp(topDown)).has_value());
    // RLE8 needs 8 bits, RLE4 needs 4.
    BmpSpec mismatched = RunLength(4, 2, 8, {0, 1});
    mismatched.Compression = 2;
    EXPECT_FALSE(DecodeBmp(BuildBmp(mismatched)).has_value());
}

TEST(DecodeBmp, RefusesPicturesTooLargeForTheirData) {
    // 30,000 x 30,000 in a file of about 200 bytes, uncompressed and run-length.
    BmpSpec huge;
    huge.Width = 30000;
    huge.Height = 30000;
    huge.Colours = DistinctColours(16);
    huge.ColoursUsed = 16;
    huge.PixelData = std::vector<uint8_t>(70, 1);
    EXPECT_LT(BuildBmp(huge).size(), 250u);
    EXPECT_FALSE(DecodeBmp(BuildBmp(huge)).has_value());
    huge.Compression = 1;
    EXPECT_FALSE(DecodeBmp(BuildBmp(huge)).has_value());
    // A run-length picture of 4 million pixels cannot come from 2 bytes of data.
    BmpSpec sparse = RunLength(2000, 2000, 8, {0, 1});
    EXPECT_FALSE(DecodeBmp(BuildBmp(sparse)).has_value());
    // Within bounds, an end mark alone gives an all-0 picture.
    ExpectDecodesTo(BuildBmp(RunLength(3, 2, 8, {0, 1})), 3, 2, std::vector<uint8_t>(6, 0));
}

TEST(DecodeBmp, RefusesTruncatedFilesAtEveryLength) {
    const auto pixels = PatternPixels(95, 3, 256);
    const auto file = BuildBmp(Uncompressed(95, 3, 8, pixels));
    // Only the last row's padding byte may be missing.
    ExpectDecodesTo(std::vector<uint8_t>(file.begin(), file.end() - 1), 95, 3, pixels);
    for (std::size_t length = 0; length + 1 < file.size(); ++length)
        ASSERT_FALSE(DecodeBmp(std::span<const uint8_t>(file.data(), length)).has_value()) << "length " << length;
}

TEST(DecodeBmp, RefusesImpossibleSizes) {
    const auto pixels = PatternPixels(4, 4, 256);
    for (auto [width, height] : {std::pair{0, 4}, std::pair{-4, 4}, std::pair{4, 0}, std::pair{INT_MIN, 4},
                                 std::pair{4, INT_MIN}, std::pair{INT_MAX, INT_MAX}}) {
        BmpSpec spec = Uncompressed(4, 4, 8, pixels);
        spec.Width = width;
        spec.Height = height;
        EXPECT_FALSE(DecodeBmp(BuildBmp(spec)).has_value()) << width << " x " << height;
    }
}

TEST(DecodeBmp, RefusesColourTablesThatDoNotFit) {
    const auto pixels = PatternPixels(4, 4, 16);
    BmpSpec tooMany = Uncompressed(4, 4, 4, pixels);
    tooMany.ColoursUsed = 17;
    tooMany.Colours = DistinctColours(17);
    EXPECT_FALSE(DecodeBmp(BuildBmp(tooMany)).has_value());

    BmpSpec overlapping = Uncompressed(4, 4, 8, pixels);  // 256 colours, pixels start at entry 16
    overlapping.PixelOffset = 14 + 40 + 16 * 4;
    EXPECT_FALSE(DecodeBmp(BuildBmp(overlapping)).has_value());

    BmpSpec pastTheEnd = Uncompressed(4, 4, 8, pixels);
    pastTheEnd.PixelOffset = 100000;
    EXPECT_FALSE(DecodeBmp(BuildBmp(pastTheEnd)).has_value());

    BmpSpec noRoom = Uncompressed(4, 4, 8, pixels);
    noRoom.Colours.resize(10);  // biClrUsed 0 promises 256 entries, the file ends first
    noRoom.PixelData.clear();
    EXPECT_FALSE(DecodeBmp(BuildBmp(noRoom)).has_value());
}

TEST(DecodeBmp, RefusesWhatCannotBeDeliveredAsPaletteIndices) {
    const auto pixels = PatternPixels(4, 4, 2);
    for (uint16_t bits : {0, 2, 16, 24, 32}) {
        BmpSpec spec = Uncompressed(4, 4, 8, pixels);
        spec.BitCount = bits;
        spec.Colours.clear();
        spec.PixelData.assign(4 * 4 * 4, 0);
        EXPECT_FALSE(DecodeBmp(BuildBmp(spec)).has_value()) << bits << " bits";
    }
    for (uint32_t compression : {3u, 4u, 5u, 6u, 11u}) {  // bit fields, JPEG, PNG, alpha bit fields, CMYK
        BmpSpec spec = Uncompressed(4, 4, 8, pixels);
        spec.Compression = compression;
        EXPECT_FALSE(DecodeBmp(BuildBmp(spec)).has_value()) << "compression " << compression;
    }
    BmpSpec planes = Uncompressed(4, 4, 8, pixels);
    planes.Planes = 2;
    EXPECT_FALSE(DecodeBmp(BuildBmp(planes)).has_value());
    BmpSpec os2v2 = Uncompressed(4, 4, 8, pixels);
    os2v2.HeaderSize = 64;
    EXPECT_FALSE(DecodeBmp(BuildBmp(os2v2)).has_value());

    auto notBmp = BuildBmp(Uncompressed(4, 4, 8, pixels));
    notBmp[1] = 'A';
    EXPECT_FALSE(DecodeBmp(notBmp).has_value());
}
