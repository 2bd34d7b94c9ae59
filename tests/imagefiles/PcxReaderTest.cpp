// DecodePcx and LoadPCXFile: run-length packets, origins, the palette from the file's end, and
// refusals that leave the last good picture in place.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "imagefiles/modPCX.h"
#include "support/PcxBuilder.h"
#include "support/TestFiles.h"

using modPCX::DecodePcx;
using pcxbuild::BuildWithPackets;
using pcxbuild::PcxFile;

namespace {

// Values that differ along rows and columns.
std::vector<uint8_t> PatternPixels(int width, int height) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(static_cast<uint8_t>((x / 5) * 3 + y * 7));
    return pixels;
}

std::vector<uint8_t> Repeat(std::initializer_list<std::pair<int, uint8_t>> runs) {
    std::vector<uint8_t> out;
    for (const auto& [count, value] : runs) out.insert(out.end(), static_cast<std::size_t>(count), value);
    return out;
}

class PcxLoadTest : public ::testing::Test {
protected:
    // Loads bytes through a real file, as the program does.
    bool Load(const std::vector<uint8_t>& bytes) {
        const auto path = dir.file("picture" + std::to_string(files++) + ".pcx");
        testsupport::WriteBytes(path, bytes);
        return modPCX::LoadPCXFile(path);
    }
    testsupport::TempDir dir;
    int files = 0;
};

}  // namespace

TEST_F(PcxLoadTest, Loads96x96PicturesWithTheTopLeftPixelFirstAtAnyOrigin) {
    const auto pixels = PatternPixels(96, 96);
    ASSERT_EQ(pixels[95], 57);  // top-right and bottom-left differ from the top-left
    ASSERT_EQ(pixels[9120], 153);
    for (auto [xMin, yMin] : {std::pair{0, 0}, std::pair{10, 0}, std::pair{0, 10}, std::pair{10, 20},
                              std::pair{-50, -1}, std::pair{-32768, -32768}, std::pair{32672, 32672}}) {
        for (bool byRow : {false, true}) {
            SCOPED_TRACE(testing::Message() << "origin " << xMin << ", " << yMin << (byRow ? ", runs end at rows" : ""));
            ASSERT_TRUE(Load(BuildWithPackets(xMin, yMin, xMin + 95, yMin + 95, pcxbuild::Encode(pixels, byRow ? 96 : 0))));
            EXPECT_EQ(modPCX::PcxLastX(), 95);
            EXPECT_EQ(modPCX::PcxLastY(), 95);
            EXPECT_EQ(modPCX::PcxPixels(), pixels);
        }
    }
}

TEST(DecodePcx, DecodesEveryKindOfPacket) {
    struct Example {
        const char* what;
        int xMax, yMax;
        std::vector<uint8_t> packets, pixels;
    };
    const Example examples[] = {
        {"C3 07: three 7s; C0 05: nothing; 3F: one 63; C1 C5: one 197", 4, 0,
         {0xC3, 0x07, 0xC0, 0x05, 0x3F, 0xC1, 0xC5}, {7, 7, 7, 63, 197}},
        {"FF 01 FF 02 carry on across the row end", 95, 1, {0xFF, 0x01, 0xFF, 0x02, 0xE1, 0x03, 0xE1, 0x04},
         Repeat({{63, 1}, {63, 2}, {33, 3}, {33, 4}})},
        {"the last value byte directly before the palette marker", 3, 0, {0x01, 0xC3, 0xC8}, {1, 0xC8, 0xC8, 0xC8}},
    };
    for (const Example& e : examples) {
        const auto decoded = DecodePcx(BuildWithPackets(0, 0, e.xMax, e.yMax, e.packets));
        ASSERT_TRUE(decoded) << e.what;
        EXPECT_EQ(decoded->Pixels, e.pixels) << e.what;
    }
    // XMin -32768 to XMax 32767: 65,536 columns, computed without overflow.
    std::vector<uint8_t> packets;
    for (int run = 0; run < 65536 / 63; ++run) pcxbuild::AppendRun(packets, 63, 9);
    pcxbuild::AppendRun(packets, 65536 % 63, 4);
    const auto wide = DecodePcx(BuildWithPackets(-32768, 0, 32767, 0, packets));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->LastX, 65535);
    EXPECT_EQ(wide->Pixels, Repeat({{65536 - 65536 % 63, 9}, {65536 % 63, 4}}));
}

TEST(DecodePcx, HeaderFieldsOtherThanVersionAndExtentAreNotExamined) {
    PcxFile pcx;
    pcx.Manufacturer = 0;
    pcx.Encoding = 0;
    pcx.BitsPerPixel = 1;
    pcx.XMax = 2;
    pcx.YMax = 0;
    pcx.Packets = {0x01, 0x02, 0x03};
    const auto decoded = DecodePcx(pcxbuild::Build(pcx));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Pixels, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(DecodePcx, PaletteComesFromTheLast769BytesAsBlueGreenRedReserved) {
    PcxFile pcx;
    pcx.XMax = pcx.YMax = 7;
    pcx.Packets = pcxbuild::Encode(PatternPixels(8, 8));
    pcx.PaletteRgb = pcxbuild::DistinctPaletteRgb();
    pcx.PaletteRgb[3 * 249] = 0xFF;
    pcx.PaletteRgb[3 * 249 + 1] = pcx.PaletteRgb[3 * 249 + 2] = 0;
    const auto decoded = DecodePcx(pcxbuild::Build(pcx));
    ASSERT_TRUE(decoded);
    uint8_t entry249[4];
    std::memcpy(entry249, &decoded->Colours[249], 4);
    EXPECT_EQ(std::vector<uint8_t>(entry249, entry249 + 4), (std::vector<uint8_t>{0x00, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(decoded->Colours[3], (PaletteEntry{21, 252, 3, 0}));

    // Bytes appended after the palette: refused, unless the byte 769 from the end is 12. Here
    // entry 0's blue is 12, three bytes are appended, and the 768 bytes behind it are taken.
    auto appended = pcxbuild::Build(pcx);
    appended.insert(appended.end(), {0, 0, 0, 0, 0});
    EXPECT_FALSE(DecodePcx(appended));
    pcx.PaletteRgb[2] = 12;
    auto shifted = pcxbuild::Build(pcx);
    shifted.insert(shifted.end(), {0x11, 0x22, 0x33});
    const auto fromShifted = DecodePcx(shifted);
    ASSERT_TRUE(fromShifted);
    EXPECT_EQ(fromShifted->Pixels, PatternPixels(8, 8));
    EXPECT_EQ(fromShifted->Colours[0], (PaletteEntry{7, 254, 1, 0}));  // the file's entry 1
    EXPECT_EQ(fromShifted->Colours[255], (PaletteEntry{0x33, 0x22, 0x11, 0}));
}

// Every refused file leaves the module state of the last good load as it was.
TEST_F(PcxLoadTest, RefusedFilesLeaveTheLastGoodPictureInPlace) {
    const auto good = PatternPixels(96, 96);
    ASSERT_TRUE(Load(pcxbuild::BuildPicture(good, 96, 96)));
    const Palette goodPalette = modPCX::PcxPalette();

    const auto goodPackets = pcxbuild::Encode(good);
    auto withHeader = [&](uint8_t version, uint8_t marker) {
        PcxFile pcx;
        pcx.Version = version;
        pcx.PaletteMarker = marker;
        pcx.Packets = goodPackets;
        return pcxbuild::Build(pcx);
    };
    auto shortFile = [](std::size_t size) {
        std::vector<uint8_t> bytes(size, 0);
        bytes[0] = 10;
        bytes[1] = 5;
        if (size >= 769) bytes[size - 769] = 12;
        return bytes;
    };
    const std::pair<const char*, std::vector<uint8_t>> refused[] = {
        {"version 3", withHeader(3, 12)}, {"version 4", withHeader(4, 12)}, {"version 0", withHeader(0, 12)},
        {"version 6", withHeader(6, 12)}, {"marker 11", withHeader(5, 11)}, {"marker 0", withHeader(5, 0)},
        {"marker 13", withHeader(5, 13)},
        {"XMax below XMin", BuildWithPackets(10, 0, 9, 0, {0x01})},
        {"YMax below YMin", BuildWithPackets(0, 10, 0, 9, {0x01})},
        {"XMin 32767, XMax -32768", BuildWithPackets(32767, 0, -32768, 0, {0x01})},
        {"65,536 x 65,536 in 1,024 bytes", BuildWithPackets(-32768, -32768, 32767, 32767, std::vector<uint8_t>(127, 0xFF))},
        {"one pixel more than the packets can hold", BuildWithPackets(0, 0, 126, 0, {0xFF, 0x01, 0xFF, 0x02})},
        {"a run past the last pixel", BuildWithPackets(0, 0, 1, 0, {0xC3, 0x07})},
        {"a run past the last row", BuildWithPackets(0, 0, 95, 1, {0xFF, 0x01, 0xFF, 0x02, 0xE1, 0x03, 0xE2, 0x04})},
        {"packets ending halfway", BuildWithPackets(0, 0, 95, 95, std::vector<uint8_t>(goodPackets.begin(), goodPackets.begin() + static_cast<std::ptrdiff_t>(goodPackets.size() / 2)))},
        {"no packets", BuildWithPackets(0, 0, 0, 0, {})},
        // Reading on would take the palette marker as a pixel, or as a run's value.
        {"two pixels for three", BuildWithPackets(0, 0, 2, 0, {0x01, 0x02})},
        {"a run's count as the last byte", BuildWithPackets(0, 0, 2, 0, {0x01, 0xC2})},
        {"empty", {}}, {"768 bytes", shortFile(768)}, {"769 bytes", shortFile(769)}, {"800 bytes", shortFile(800)},
        {"897 bytes: no pixel data", shortFile(897)},
    };
    for (const auto& [what, bytes] : refused) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(DecodePcx(bytes));
        EXPECT_FALSE(Load(bytes));
        ASSERT_EQ(modPCX::PcxLastX(), 95);
        ASSERT_EQ(modPCX::PcxLastY(), 95);
        ASSERT_EQ(modPCX::PcxPixels(), good);
        ASSERT_EQ(modPCX::PcxPalette(), goodPalette);
    }
    EXPECT_FALSE(modPCX::LoadPCXFile(dir.file("missing.pcx")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.pcx")));
    EXPECT_FALSE(modPCX::LoadPCXFile(dir.path().string()));
    EXPECT_FALSE(modPCX::LoadPCXFile(""));
    EXPECT_EQ(modPCX::PcxPixels(), good);
}

TEST(DecodePcx, RefusesMoreThan64MiPixelsEvenWhenThePacketsCouldHoldThem) {
    // 8,192 x 8,193 pixels, one row more than 64 Mi pixels allow, fully described by runs of 63.
    const std::size_t pixels = std::size_t{8192} * 8193;
    std::vector<uint8_t> packets(2 * (pixels / 63), 0xFF);
    pcxbuild::AppendRun(packets, static_cast<int>(pixels % 63), 0xFF);
    EXPECT_FALSE(DecodePcx(BuildWithPackets(0, 0, 8191, 8192, std::move(packets))));
}
