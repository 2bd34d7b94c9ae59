// DecodePcx and LoadPCXFile: run-length packets, origins, the palette from the file's end, and
// refusals that leave the last good picture in place.

#include <gtest/gtest.h>
#include "imagefiles/modPCX.h"
#include "support/PcxBuilder.h"
#include "support/Refusals.h"
#include "support/TestFiles.h"

using modPCX::DecodePcx;
using pcxbuild::BuildWithPackets;

TEST(DecodePcx, DecodesEveryKindOfPacketAtAnyOrigin) {
    std::vector<uint8_t> acrossRows(63, 1), wide, widePixels;
    acrossRows.resize(126, 2), acrossRows.resize(159, 3), acrossRows.resize(192, 4);
    for (int run = 0; run <= 1040; ++run) {
        pcxbuild::AppendRun(wide, run < 1040 ? 63 : 16, uint8_t(run));
        widePixels.resize(std::min(63 * run + 63, 65536), uint8_t(run));
    }
    const struct {
        int xMin, yMin, xMax, yMax;
        std::vector<uint8_t> packets, pixels;
    } examples[] = {
        // A run of 3, an empty run, a bare byte, a run of 1.
        {0, 0, 4, 0, {0xC3, 0x07, 0xC0, 0x05, 0x3F, 0xC1, 0xC5}, {7, 7, 7, 63, 197}},
        // Runs carry on across the row end.
        {10, 20, 105, 21, {0xFF, 0x01, 0xFF, 0x02, 0xE1, 0x03, 0xE1, 0x04}, acrossRows},
        // The last value right before the marker.
        {-32768, -32768, -32765, -32768, {0x01, 0xC3, 0xC8}, {1, 0xC8, 0xC8, 0xC8}},
        {-32768, 0, 32767, 0, wide, widePixels},  // 65,536 columns, counted without overflow
    };
    for (const auto& e : examples) {
        const auto decoded = DecodePcx(BuildWithPackets(e.xMin, e.yMin, e.xMax, e.yMax, e.packets));
        ASSERT_TRUE(decoded) << e.xMin;
        EXPECT_EQ(std::tuple(decoded->LastX, decoded->LastY, decoded->Pixels),
                  std::tuple(e.xMax - e.xMin, e.yMax - e.yMin, e.pixels));
    }
}

TEST(DecodePcx, TakesThePaletteFromTheLast769BytesAsBlueGreenRed) {
    pcxbuild::PcxFile pcx{.XMax = 2, .YMax = 0, .Packets = {1, 2, 3}};
    pcx.PaletteRgb[3 * 249] = 0xFF, pcx.PaletteRgb[3 * 249 + 1] = pcx.PaletteRgb[3 * 249 + 2] = 0;
    auto decoded = DecodePcx(pcxbuild::Build(pcx));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Colours[249], (PaletteEntry{0, 0, 0xFF, 0}));
    EXPECT_EQ(decoded->Colours[3], (PaletteEntry{21, 252, 3, 0}));
    // Appended bytes are refused, unless the byte 769 from the end happens to be 12 (entry 0's
    // blue here): then the 768 bytes behind it are the palette.
    auto appended = pcxbuild::Build(pcx);
    appended.insert(appended.end(), {0, 0, 0, 0, 0});
    EXPECT_FALSE(DecodePcx(appended));
    pcx.PaletteRgb[2] = 12;
    appended = pcxbuild::Build(pcx);
    appended.insert(appended.end(), {0x11, 0x22, 0x33});
    ASSERT_TRUE(decoded = DecodePcx(appended));
    EXPECT_EQ(decoded->Pixels, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(decoded->Colours[0], (PaletteEntry{7, 254, 1, 0}));  // the file's entry 1
    EXPECT_EQ(decoded->Colours[255], (PaletteEntry{0x33, 0x22, 0x11, 0}));
}

TEST(LoadPCXFile, RefusedFilesSayWhyAndLeaveTheLastGoodPictureInPlace) {
    testsupport::TempDir dir;
    const auto load = [&](const std::vector<uint8_t>& bytes, imagefiles::FileFailure* why = nullptr) {
        testsupport::WriteBytes(dir.file("a.pcx"), bytes);
        return modPCX::LoadPCXFile(dir.file("a.pcx"), why);
    };
    std::vector<uint8_t> good(96 * 96);
    for (std::size_t k = 0; k < good.size(); ++k) good[k] = static_cast<uint8_t>(k % 96 / 5 * 3 + k / 96 * 7);
    const auto packets = pcxbuild::Encode(good, 96);
    ASSERT_TRUE(load(BuildWithPackets(10, 20, 105, 115, packets)));
    ASSERT_EQ(modPCX::PcxPixels(), good);
    const auto loaded = std::tuple(95, 95, good, modPCX::PcxPalette());
    const auto with = [&](uint8_t version, uint8_t marker) {
        return pcxbuild::Build({.Version = version, .Packets = packets, .PaletteMarker = marker});
    };
    std::vector<uint8_t> noPixels(897, 0);
    noPixels[0] = 10, noPixels[1] = 5, noPixels[128] = 12;
    const std::vector<uint8_t> hugeRuns(127, 0xFF);
    using enum imagefiles::FailureKind;
    const std::tuple<std::vector<uint8_t>, imagefiles::FailureKind, std::string> refused[] = {
        {with(3, 12), Unsupported, "PCX version 3"},
        {with(5, 11), Malformed, "no palette marker before the last 768 bytes"},
        {BuildWithPackets(10, 0, 9, 0, {1}), Malformed, "the picture ends before it starts"},
        {BuildWithPackets(-32768, -32768, 32767, 32767, hugeRuns), TooManyPixels, "more than 67108864"},
        {BuildWithPackets(0, 0, 2, 0, {1, 0xC2}), Truncated, "the pixel data"},  // the marker is no run's value
        {BuildWithPackets(0, 0, 95, 1, {0xFF, 1, 0xFF, 2, 0xE1, 3, 0xE2, 4}), Malformed,
         "a run goes past the last pixel"},
        {{}, Unrecognised, ""},
        {noPixels, Truncated, "the pixel data"},
        {{noPixels.begin(), noPixels.end() - 1}, Truncated, "the palette"},
        {{'B', 'M', 0x36, 0x28, 0, 0, 0, 0, 0, 0, 0x36, 4, 0, 0, 40, 0}, OtherKind, "BMP"}};
    for (const auto& [bytes, kind, detail] : refused) {
        imagefiles::FileFailure decodeWhy, loadWhy;
        EXPECT_FALSE(DecodePcx(bytes, &decodeWhy)) << detail;
        EXPECT_FALSE(load(bytes, &loadWhy)) << detail;
        EXPECT_EQ(testsupport::Said(decodeWhy), testsupport::Said({kind, detail}));
        EXPECT_EQ(loadWhy.Kind, kind) << detail;
        ASSERT_TRUE(std::tuple(modPCX::PcxLastX(), modPCX::PcxLastY(), modPCX::PcxPixels(), modPCX::PcxPalette()) ==
                    loaded)
            << detail;
    }
}
