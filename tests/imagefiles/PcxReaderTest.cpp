#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "PcxBuilder.h"
#include "imagefiles/modPCX.h"
#include "support/TestFiles.h"

namespace {

using pcxbuild::PcxFile;
using testsupport::TempDir;
using testsupport::WriteBytes;

std::vector<uint8_t> PatternPixels(int width, int height) {
    std::vector<uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y * width + x)] = static_cast<uint8_t>((x / 5) * 3 + y * 7);
    return pixels;
}

// A file holding exactly the given packets for a picture of the given extent.
std::vector<uint8_t> FileWithPackets(int16_t xMin, int16_t yMin, int16_t xMax, int16_t yMax,
                                     std::vector<uint8_t> packets) {
    PcxFile pcx;
    pcx.XMin = xMin;
    pcx.YMin = yMin;
    pcx.XMax = xMax;
    pcx.YMax = yMax;
    pcx.Packets = std::move(packets);
    pcx.PaletteRgb = pcxbuild::DistinctPaletteRgb();
    return pcxbuild::Build(pcx);
}

class PcxReaderTest : public ::testing::Test {
protected:
    // Loads bytes through a real file, as the program does.
    bool LoadBytes(const std::vector<uint8_t>& bytes) {
        const auto path = dir.file("picture" + std::to_string(fileCounter++) + ".pcx");
        WriteBytes(path, bytes);
        return modPCX::LoadPCXFile(path);
    }

    TempDir dir;
    int fileCounter = 0;
};

TEST_F(PcxReaderTest, Loads96x96PictureWithTopLeftPixelFirst) {
    const auto pixels = PatternPixels(96, 96);
    ASSERT_TRUE(LoadBytes(pcxbuild::BuildPicture(pixels, 96, 96)));
    EXPECT_EQ(modPCX::PcxLastX(), 95);
    EXPECT_EQ(modPCX::PcxLastY(), 95);
    ASSERT_EQ(modPCX::PcxPixels().size(), 9216u);
    EXPECT_EQ(modPCX::PcxPixels(), pixels);
    EXPECT_EQ(modPCX::PcxPixels()[0], pixels[0]);     // top-left
    EXPECT_EQ(modPCX::PcxPixels()[95], 57);           // top-right: (95 / 5) * 3
    EXPECT_EQ(modPCX::PcxPixels()[9120], 153);        // bottom-left: 95 * 7 mod 256

    // Rows that each end their own runs decode to the same picture.
    ASSERT_TRUE(LoadBytes(pcxbuild::BuildPicture(pixels, 96, 96, false)));
    EXPECT_EQ(modPCX::PcxPixels(), pixels);
}

TEST_F(PcxReaderTest, PaletteEntriesAreStoredBlueGreenRedReserved) {
    PcxFile pcx;
    pcx.XMax = 0;
    pcx.YMax = 0;
    pcx.Packets = {0x00};
    pcx.PaletteRgb = pcxbuild::DistinctPaletteRgb();
    pcx.PaletteRgb[3 * 249] = 0xFF;
    pcx.PaletteRgb[3 * 249 + 1] = 0x00;
    pcx.PaletteRgb[3 * 249 + 2] = 0x00;
    ASSERT_TRUE(LoadBytes(pcxbuild::Build(pcx)));

    uint8_t entry249[4];
    std::memcpy(entry249, &modPCX::PcxPalette()[249], 4);
    EXPECT_EQ(entry249[0], 0x00);
    EXPECT_EQ(entry249[1], 0x00);
    EXPECT_EQ(entry249[2], 0xFF);
    EXPECT_EQ(entry249[3], 0x00);

    for (int i = 0; i < 256; ++i) {
        if (i == 249) continue;
        const PaletteEntry expected{static_cast<uint8_t>((7 * i) & 0xFF), static_cast<uint8_t>(255 - i),
                                    static_cast<uint8_t>(i), 0};
        EXPECT_EQ(modPCX::PcxPalette()[static_cast<std::size_t>(i)], expected) << "entry " << i;
    }
}

struct Origin {
    int16_t XMin;
    int16_t YMin;
};

class PcxOriginTest : public PcxReaderTest, public ::testing::WithParamInterface<Origin> {};

TEST_P(PcxOriginTest, OriginIsSubtracted) {
    const auto [xMin, yMin] = GetParam();
    const auto pixels = PatternPixels(96, 96);
    PcxFile pcx;
    pcx.XMin = xMin;
    pcx.YMin = yMin;
    pcx.XMax = static_cast<int16_t>(xMin + 95);
    pcx.YMax = static_cast<int16_t>(yMin + 95);
    pcx.Packets = pcxbuild::EncodeContinuous(pixels);
    pcx.PaletteRgb = pcxbuild::DistinctPaletteRgb();
    ASSERT_TRUE(LoadBytes(pcxbuild::Build(pcx)));
    EXPECT_EQ(modPCX::PcxLastX(), 95);
    EXPECT_EQ(modPCX::PcxLastY(), 95);
    EXPECT_EQ(modPCX::PcxPixels(), pixels);
}

INSTANTIATE_TEST_SUITE_P(AnyOrigin, PcxOriginTest,
                         ::testing::Values(Origin{10, 0}, Origin{0, 10}, Origin{10, 20}, Origin{-50, -1},
                                           Origin{-32768, -32768}, Origin{32672, 32672}));

TEST(PcxDecodeTest, ExtentIsComputedWithoutOverflow) {
    // XMin = -32768, XMax = 32767: 65,536 columns; one row of it fits in 1,042 runs of 63.
    std::vector<uint8_t> packets;
    for (int run = 0; run < 65536 / 63; ++run) pcxbuild::AppendRun(packets, 63, 9);
    pcxbuild::AppendRun(packets, 65536 % 63, 4);
    const auto decoded = modPCX::DecodePcx(FileWithPackets(-32768, 0, 32767, 0, packets));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->LastX, 65535);
    EXPECT_EQ(decoded->LastY, 0);
    ASSERT_EQ(decoded->Pixels.size(), 65536u);
    EXPECT_EQ(decoded->Pixels[65535 - 65536 % 63], 9);
    EXPECT_EQ(decoded->Pixels[65536 - 65536 % 63], 4);
}

TEST(PcxDecodeTest, PacketKinds) {
    // C3 07: three 7s; C0 05: nothing; 3F: one 63; C1 C5: one 197.
    const auto decoded = modPCX::DecodePcx(FileWithPackets(0, 0, 4, 0, {0xC3, 0x07, 0xC0, 0x05, 0x3F, 0xC1, 0xC5}));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Pixels, (std::vector<uint8_t>{7, 7, 7, 63, 197}));
}

TEST(PcxDecodeTest, RunsCarryOnAcrossRowEnds) {
    // FF 01 FF 02: two runs of 63 in a 96-pixel row, then 33 of 3 and 33 of 4 finish row two.
    const auto decoded = modPCX::DecodePcx(FileWithPackets(0, 0, 95, 1, {0xFF, 0x01, 0xFF, 0x02, 0xE1, 0x03, 0xE1, 0x04}));
    ASSERT_TRUE(decoded);
    std::vector<uint8_t> expected;
    expected.insert(expected.end(), 63, 1);
    expected.insert(expected.end(), 33, 2);
    expected.insert(expected.end(), 30, 2);
    expected.insert(expected.end(), 33, 3);
    expected.insert(expected.end(), 33, 4);
    EXPECT_EQ(decoded->Pixels, expected);
}

TEST(PcxDecodeTest, HeaderFieldsOtherThanVersionAndExtentAreNotExamined) {
    PcxFile pcx;
    pcx.Manufacturer = 0;
    pcx.Encoding = 0;
    pcx.BitsPerPixel = 1;
    pcx.XMax = 2;
    pcx.YMax = 0;
    pcx.Packets = {0x01, 0x02, 0x03};
    pcx.PaletteRgb = pcxbuild::DistinctPaletteRgb();
    const auto decoded = modPCX::DecodePcx(pcxbuild::Build(pcx));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Pixels, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(PcxDecodeTest, PacketsEndingExactlyAtThePaletteLoad) {
    // The last value byte sits directly before the palette marker.
    const auto file = FileWithPackets(0, 0, 3, 0, {0x01, 0xC3, 0xC8});
    ASSERT_EQ(file.size(), 128u + 3u + 769u);
    const auto decoded = modPCX::DecodePcx(file);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Pixels, (std::vector<uint8_t>{1, 0xC8, 0xC8, 0xC8}));
}

TEST(PcxDecodeTest, PaletteIsNeverReadAsPixelData) {
    // Two pixels of data for a picture of three: reading on would take the marker 12 as a pixel.
    EXPECT_FALSE(modPCX::DecodePcx(FileWithPackets(0, 0, 2, 0, {0x01, 0x02})));
    // A run's count byte as the last data byte: its value would be the marker.
    EXPECT_FALSE(modPCX::DecodePcx(FileWithPackets(0, 0, 2, 0, {0x01, 0xC2})));
}

TEST(PcxDecodeTest, PaletteIsTakenFromTheLast769Bytes) {
    const auto pixels = PatternPixels(8, 8);

    // Appended bytes move the palette position onto a palette byte (entry 1's green, 254).
    auto appended = pcxbuild::BuildPicture(pixels, 8, 8);
    appended.insert(appended.end(), {0, 0, 0, 0, 0});
    EXPECT_FALSE(modPCX::DecodePcx(appended));

    // Three bytes appended to a file whose entry 0 blue is 12: that byte becomes the marker and
    // the 768 bytes behind it the palette.
    PcxFile pcx;
    pcx.XMax = 7;
    pcx.YMax = 7;
    pcx.Packets = pcxbuild::EncodeContinuous(pixels);
    pcx.PaletteRgb = pcxbuild::DistinctPaletteRgb();
    pcx.PaletteRgb[2] = 12;
    auto shifted = pcxbuild::Build(pcx);
    shifted.insert(shifted.end(), {0x11, 0x22, 0x33});
    const auto decoded = modPCX::DecodePcx(shifted);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Pixels, pixels);
    EXPECT_EQ(decoded->Colours[0], (PaletteEntry{7, 254, 1, 0}));      // file's entry 1
    EXPECT_EQ(decoded->Colours[254], (PaletteEntry{0xF9, 0, 255, 0}));  // file's entry 255
    EXPECT_EQ(decoded->Colours[255], (PaletteEntry{0x33, 0x22, 0x11, 0}));

    // A whole second palette block appended: it is the one taken.
    auto second = pcxbuild::BuildPicture(pixels, 8, 8);
    second.push_back(12);
    for (int i = 0; i < 256; ++i) second.insert(second.end(), {uint8_t(200), uint8_t(100), uint8_t(i)});
    const auto fromSecond = modPCX::DecodePcx(second);
    ASSERT_TRUE(fromSecond);
    EXPECT_EQ(fromSecond->Pixels, pixels);
    EXPECT_EQ(fromSecond->Colours[77], (PaletteEntry{77, 100, 200, 0}));
}

// Every refused file leaves the module state of the last good load as it was.
class PcxRefusalTest : public PcxReaderTest {
protected:
    void SetUp() override {
        goodPixels = PatternPixels(96, 96);
        ASSERT_TRUE(LoadBytes(pcxbuild::BuildPicture(goodPixels, 96, 96)));
        goodPalette = modPCX::PcxPalette();
    }

    void ExpectStateIntact() {
        EXPECT_EQ(modPCX::PcxLastX(), 95);
        EXPECT_EQ(modPCX::PcxLastY(), 95);
        EXPECT_EQ(modPCX::PcxPixels(), goodPixels);
        EXPECT_EQ(modPCX::PcxPalette(), goodPalette);
    }

    void ExpectRefused(const std::vector<uint8_t>& bytes) {
        EXPECT_FALSE(modPCX::DecodePcx(bytes));
        EXPECT_FALSE(LoadBytes(bytes));
        ExpectStateIntact();
    }

    std::vector<uint8_t> goodPixels;
    Palette goodPalette{};
};

TEST_F(PcxRefusalTest, WrongVersionOrPaletteMarker) {
    for (uint8_t version : {0, 2, 3, 4, 6, 255}) {
        PcxFile pcx;
        pcx.Version = version;
        pcx.Packets = pcxbuild::EncodeContinuous(PatternPixels(96, 96));
        SCOPED_TRACE(version);
        ExpectRefused(pcxbuild::Build(pcx));
    }
    for (uint8_t marker : {0, 11, 13, 255}) {
        PcxFile pcx;
        pcx.PaletteMarker = marker;
        pcx.Packets = pcxbuild::EncodeContinuous(PatternPixels(96, 96));
        SCOPED_TRACE(marker);
        ExpectRefused(pcxbuild::Build(pcx));
    }
}

TEST_F(PcxRefusalTest, NegativeExtent) {
    ExpectRefused(FileWithPackets(10, 0, 9, 0, {0x01}));
    ExpectRefused(FileWithPackets(0, 10, 0, 9, {0x01}));
    ExpectRefused(FileWithPackets(32767, 0, -32768, 0, {0x01}));
}

TEST_F(PcxRefusalTest, PictureLargerThanTheFileCouldHold) {
    // 65,536 x 65,536 pixels claimed by a file of 1,024 bytes.
    std::vector<uint8_t> packets(1024 - 128 - 769, 0xFF);
    ExpectRefused(FileWithPackets(-32768, -32768, 32767, 32767, packets));
    // One pixel more than 63 per two bytes of packets can describe.
    ExpectRefused(FileWithPackets(0, 0, 126, 0, {0xFF, 0x01, 0xFF, 0x02}));
}

TEST_F(PcxRefusalTest, RunPastTheLastPixel) {
    ExpectRefused(FileWithPackets(0, 0, 1, 0, {0xC3, 0x07}));
    ExpectRefused(FileWithPackets(0, 0, 95, 1, {0xFF, 0x01, 0xFF, 0x02, 0xE1, 0x03, 0xE2, 0x04}));
}

TEST_F(PcxRefusalTest, PixelDataEndingEarly) {
    auto packets = pcxbuild::EncodeContinuous(PatternPixels(96, 96));
    packets.resize(packets.size() / 2);
    ExpectRefused(FileWithPackets(0, 0, 95, 95, packets));
    ExpectRefused(FileWithPackets(0, 0, 0, 0, {}));
}

TEST_F(PcxRefusalTest, FilesTooShortForHeaderAndPalette) {
    ExpectRefused({});
    ExpectRefused(std::vector<uint8_t>(768, 0));
    // 769 to 897 bytes: the palette block overlaps the header or leaves no pixel data.
    for (std::size_t size : {769u, 800u, 896u, 897u}) {
        std::vector<uint8_t> bytes(size, 0);
        bytes[0] = 10;
        bytes[1] = 5;
        bytes[size - 769] = 12;
        SCOPED_TRACE(size);
        ExpectRefused(bytes);
    }
}

TEST_F(PcxRefusalTest, PathsThatAreNotReadableFiles) {
    EXPECT_FALSE(modPCX::LoadPCXFile(dir.file("missing.pcx")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.pcx")));
    EXPECT_FALSE(modPCX::LoadPCXFile(dir.path().string()));
    EXPECT_FALSE(modPCX::LoadPCXFile(""));
    ExpectStateIntact();
}

}  // namespace

namespace {

TEST(PcxDecodeTest, RefusesMoreThan64MiPixelsEvenWhenThePacketsCouldHoldThem) {
    // 8,192 x 8,193 pixels, one more row than 64 Mi pixels allow, fully described by 63-pixel runs.
    const std::size_t pixels = std::size_t{8192} * 8193;
    std::vector<uint8_t> packets(2 * (pixels / 63), 0xFF);
    pcxbuild::AppendRun(packets, static_cast<int>(pixels % 63), 0xFF);
    EXPECT_FALSE(modPCX::DecodePcx(FileWithPackets(0, 0, 8191, 8192, std::move(packets))));
}

}  // namespace
