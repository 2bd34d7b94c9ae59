// DecodePcx and LoadPCXFile: run-length packets, origins, the palette from the file's end, and
// refusals that leave the last good picture in place.

#include <gtest/gtest.h>
#include <cstring>
#include "imagefiles/modPCX.h"
#include "support/PcxBuilder.h"
#include "support/TestFiles.h"

using modPCX::DecodePcx;
using pcxbuild::BuildWithPackets;

TEST(DecodePcx, DecodesEveryKindOfPacketAtAnyOrigin) {
    std::vector<uint8_t> acrossRows(63, 1), wide, widePixels;
    acrossRows.resize(126, 2);
    acrossRows.resize(159, 3);
    acrossRows.resize(192, 4);
    for (int run = 0; run <= 1040; ++run) {
        pcxbuild::AppendRun(wide, run < 1040 ? 63 : 16, uint8_t(run));
        widePixels.resize(std::min(63 * run + 63, 65536), uint8_t(run));
    }
    struct Example {
        int xMin, yMin, xMax, yMax;
        std::vector<uint8_t> packets, pixels;
    };
    const Example examples[] = {
        {0, 0, 4, 0, {0xC3, 0x07, 0xC0, 0x05, 0x3F, 0xC1, 0xC5}, {7, 7, 7, 63, 197}},     // run of 3, empty run, bare
                                                                                          // byte, run of 1
        {10, 20, 105, 21, {0xFF, 0x01, 0xFF, 0x02, 0xE1, 0x03, 0xE1, 0x04}, acrossRows},  // runs carry on across the
                                                                                          // row end
        {-32768, -32768, -32765, -32768, {0x01, 0xC3, 0xC8}, {1, 0xC8, 0xC8, 0xC8}},  // the last value right before the
                                                                                      // marker
        {-32768, 0, 32767, 0, wide, widePixels},  // 65,536 columns, counted without overflow
    };
    for (const Example& e : examples) {
        const auto decoded = DecodePcx(BuildWithPackets(e.xMin, e.yMin, e.xMax, e.yMax, e.packets));
        ASSERT_TRUE(decoded) << e.xMin;
        EXPECT_EQ(std::tuple(decoded->LastX, decoded->LastY, decoded->Pixels),
                  std::tuple(e.xMax - e.xMin, e.yMax - e.yMin, e.pixels));
    }
}

TEST(DecodePcx, TakesThePaletteFromTheLast769BytesAsBlueGreenRed) {
    pcxbuild::PcxFile pcx{.XMax = 2, .YMax = 0, .Packets = {1, 2, 3}};
    pcx.PaletteRgb[3 * 249] = 0xFF;
    pcx.PaletteRgb[3 * 249 + 1] = pcx.PaletteRgb[3 * 249 + 2] = 0;
    auto decoded = DecodePcx(pcxbuild::Build(pcx));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(0, std::memcmp(&decoded->Colours[249], "\0\0\xFF\0", 4));
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

TEST(LoadPCXFile, RefusedFilesLeaveTheLastGoodPictureInPlace) {
    testsupport::TempDir dir;
    const auto load = [&](const std::vector<uint8_t>& bytes, imagefiles::FileFailure* why = nullptr) {
        testsupport::WriteBytes(dir.file("a.pcx"), bytes);
        return modPCX::LoadPCXFile(dir.file("a.pcx"), why);
    };
    std::vector<uint8_t> pngStart(1000, 0);
    std::copy_n("\x89PNG\r\n\x1A\n", 8, pngStart.begin());
    std::vector<uint8_t> good(96 * 96);
    for (std::size_t k = 0; k < good.size(); ++k) good[k] = static_cast<uint8_t>(k % 96 / 5 * 3 + k / 96 * 7);
    const auto packets = pcxbuild::Encode(good, 96);
    ASSERT_TRUE(load(BuildWithPackets(10, 20, 105, 115, packets)));
    ASSERT_EQ(modPCX::PcxPixels(), good);
    const Palette palette = modPCX::PcxPalette();
    const auto with = [&](uint8_t version, uint8_t marker) {
        return pcxbuild::Build({.Version = version, .Packets = packets, .PaletteMarker = marker});
    };
    std::vector<uint8_t> noPixels(897, 0);
    noPixels[0] = 10;
    noPixels[1] = 5;
    noPixels[128] = 12;
    using enum imagefiles::FailureKind;
    const std::tuple<const char*, std::vector<uint8_t>, imagefiles::FailureKind, std::string> refused[] = {
        {"version 3", with(3, 12), Unsupported, "PCX version 3"},
        {"version 4", with(4, 12), Unsupported, "PCX version 4"},
        {"marker 11", with(5, 11), Malformed, "no palette marker before the last 768 bytes"},
        {"XMax below XMin", BuildWithPackets(10, 0, 9, 0, {1}), Malformed, "the picture ends before it starts"},
        {"YMax below YMin", BuildWithPackets(0, 10, 0, 9, {1}), Malformed, "the picture ends before it starts"},
        {"65,536 x 65,536 in 1,024 bytes",
         BuildWithPackets(-32768, -32768, 32767, 32767, std::vector<uint8_t>(127, 0xFF)), TooManyPixels,
         "more than 67108864"},
        {"8,192 x 8,192 in 1,024 bytes", BuildWithPackets(0, 0, 8191, 8191, std::vector<uint8_t>(127, 0xFF)), Truncated,
         "the pixel data"},
        {"a run past the last pixel", BuildWithPackets(0, 0, 1, 0, {0xC3, 7}), Malformed,
         "a run goes past the last pixel"},
        {"a run past the last row", BuildWithPackets(0, 0, 95, 1, {0xFF, 1, 0xFF, 2, 0xE1, 3, 0xE2, 4}), Malformed,
         "a run goes past the last pixel"},
        {"data ending halfway",
         BuildWithPackets(0, 0, 95, 95, std::vector<uint8_t>(packets.begin(), packets.begin() + 500)), Truncated,
         "the pixel data"},
        {"two pixels for three", BuildWithPackets(0, 0, 2, 0, {1, 2}), Truncated,
         "the pixel data"},  // reading on would take the marker as a pixel
        {"a run's count as the last byte", BuildWithPackets(0, 0, 2, 0, {1, 0xC2}), Truncated, "the pixel data"},
        {"empty", {}, Unrecognised, ""},
        {"no pixel data", noPixels, Truncated, "the pixel data"},
        {"cut before the palette", std::vector<uint8_t>(noPixels.begin(), noPixels.end() - 1), Truncated,
         "the palette"},
        {"a BMP file", std::vector<uint8_t>{'B', 'M', 0x36, 0x28, 0, 0, 0, 0, 0, 0, 0x36, 4, 0, 0, 40, 0}, OtherKind,
         "BMP"},
        {"a PNG file", std::vector<uint8_t>(pngStart.begin(), pngStart.end()), OtherKind, "PNG"}};
    for (const auto& [what, bytes, kind, detail] : refused) {
        imagefiles::FileFailure decodeWhy, loadWhy;
        EXPECT_FALSE(DecodePcx(bytes, &decodeWhy)) << what;
        EXPECT_FALSE(load(bytes, &loadWhy)) << what;
        EXPECT_EQ(decodeWhy.Kind, kind) << what;
        EXPECT_EQ(decodeWhy.Detail, detail) << what;
        EXPECT_EQ(loadWhy.Kind, kind) << what;
        ASSERT_TRUE(std::tuple(modPCX::PcxLastX(), modPCX::PcxLastY(), modPCX::PcxPixels(), modPCX::PcxPalette()) ==
                    std::tuple(95, 95, good, palette))
            << what;
    }
}
