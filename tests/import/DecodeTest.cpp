// The import's decoders: every PNG colour type and depth, JPEG through TurboJPEG, BMP of every
// depth, the kind told by the first bytes, and hostile files refused early and cleanly.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include <zlib.h>

#include "ImportTestSupport.h"
#include "imagefiles/BmpLayout.h"
#include "imagefiles/PictureDecoders.h"
#include "imagefiles/modPCX.h"
#include "support/BmpBuilder.h"
#include "support/PcxBuilder.h"
#include "support/PictureEncoders.h"
#include "support/Refusals.h"
#include "support/TestFiles.h"

namespace {

using imagefiles::DecodePicture;
using imagefiles::FileFailure;
using imagefiles::RgbaPicture;
using importtest::MakePicture;
using pictureencode::EncodePng;
using pictureencode::PngLayout;
using enum imagefiles::FailureKind;
using Bytes = std::vector<uint8_t>;

// Libspng unpacks every colour type and depth; the reader's own part is taking the palette's
// alphas along. 2-bit indices 3 1 0 2 0: entries past the tRNS chunk are opaque.
TEST(DecodePng, PaletteEntriesComeWithTheirAlphas) {
    const PngLayout layout{
        5, 1, 3, 2, false, {0b11010010, 0}, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}, {0, 128}, {}, false};
    FileFailure why;
    const auto decoded = DecodePicture(EncodePng(layout), &why);
    ASSERT_TRUE(decoded) << why.Detail;
    EXPECT_EQ(decoded->Pixels, (Bytes{10, 11, 12, 255, 4, 5, 6, 128, 1, 2, 3, 0, 7, 8, 9, 255, 1, 2, 3, 0}));
}

// 16-bit samples round to nearest: v8 = round(v16 x 255 / 65535), not the high byte.
TEST(DecodePng, SixteenBitSamplesRoundToNearestAndATransparentColourIsAlphaZero) {
    const std::vector<uint16_t> values{0, 128, 129, 448, 0x80FF, 0xFF7F, 65535, 257 * 200};
    PngLayout layout{8, 1, 0, 16, false, Bytes(16), {}, {}, {}, false};
    std::memcpy(layout.Samples.data(), values.data(), 16);
    auto decoded = DecodePicture(EncodePng(layout), nullptr);
    ASSERT_TRUE(decoded);
    Bytes reds;
    for (std::size_t i = 0; i < values.size(); ++i) reds.push_back(decoded->Pixels[4 * i]);
    EXPECT_EQ(reds, (Bytes{0, 0, 1, 2, 128, 255, 255, 200}));
    // tRNS on an RGB picture: exactly that colour becomes transparent.
    layout = {3, 1, 2, 8, false, {10, 20, 30, 10, 20, 31, 10, 20, 30}, {}, {}, {10, 20, 30}, true};
    decoded = DecodePicture(EncodePng(layout), nullptr);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Pixels, (Bytes{10, 20, 30, 0, 10, 20, 31, 255, 10, 20, 30, 0}));
}

// A valid 5 KB PNG whose zTXt chunk inflates to 5 MiB: refused, and called what it is rather than
// "too large".
TEST(DecodePng, ATextChunkThatInflatesPastTheLimitIsNamed) {
    Bytes file = pictureencode::EncodeRgbaPng(MakePicture(4, 4, 1));
    const std::string text(5 * 1024 * 1024, ' ');
    uLongf packedSize = compressBound(text.size());
    Bytes packed(packedSize);
    ASSERT_EQ(compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(text.data()), text.size(), 9), Z_OK);
    const auto be32 = [](uint32_t v) { return Bytes{uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; };
    Bytes chunk = be32(static_cast<uint32_t>(packedSize + 9));
    chunk.insert(chunk.end(), {'z', 'T', 'X', 't', 'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0});
    chunk.insert(chunk.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(packedSize));
    const Bytes crc = be32(static_cast<uint32_t>(crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4))));
    chunk.insert(chunk.end(), crc.begin(), crc.end());
    file.insert(file.begin() + 33, chunk.begin(), chunk.end());  // after the signature and IHDR
    ASSERT_LT(file.size(), 8000u);
    FileFailure why;
    EXPECT_FALSE(DecodePicture(file, &why));
    EXPECT_EQ(testsupport::Said(why), testsupport::Said({Unsupported, "a text chunk inflates past 4 MiB"}));
}

TEST(DecodeJpeg, GreyYCbCrAndProgressiveFilesAndCmykRefused) {
    const int w = 33, h = 17;
    Bytes rgb, grey;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rgb.insert(rgb.end(), {uint8_t(x * 7), uint8_t(y * 14), uint8_t(200 - x * 3)}), grey.push_back(x * 7);
    const std::tuple<Bytes, const Bytes&, int> cases[] = {
        {pictureencode::EncodeJpeg(rgb, w, h, TJPF_RGB, TJSAMP_444, 98), rgb, 3},
        {pictureencode::EncodeJpeg(grey, w, h, TJPF_GRAY, TJSAMP_GRAY, 98), grey, 1}};
    for (const auto& [file, source, channels] : cases) {
        SCOPED_TRACE(testing::Message() << channels << " channels, " << file.size() << " bytes");
        FileFailure why;
        const auto decoded = DecodePicture(file, &why);
        ASSERT_TRUE(decoded) << why.Detail;
        ASSERT_EQ(std::tuple(decoded->Width, decoded->Height), std::tuple(w, h));
        int worst = 0;
        for (std::size_t i = 0; i < std::size_t(w * h); ++i) {
            const uint8_t* p = &decoded->Pixels[4 * i];
            EXPECT_EQ(p[3], 255);
            EXPECT_TRUE(channels == 3 || (p[0] == p[1] && p[0] == p[2])) << i;
            for (int k = 0; k < channels; ++k) worst = std::max(worst, std::abs(p[k] - source[channels * i + k]));
        }
        EXPECT_LE(worst, 12);
    }
    FileFailure why;
    EXPECT_FALSE(DecodePicture(pictureencode::EncodeJpeg(Bytes(w * h * 4, 40), w, h, TJPF_CMYK, TJSAMP_444, 90), &why));
    EXPECT_EQ(why.Kind, Unsupported);
    EXPECT_NE(why.Detail.find("CMYK"), std::string::npos);
}

// A truecolour BMP of top-down pixel values with the masks where the header size puts them.
Bytes Truecolour(uint32_t headerSize, int w, int h, int bits, uint32_t compression, std::vector<uint32_t> masks,
                 const std::vector<uint32_t>& values) {
    return bmpbuild::Build({.HeaderSize = headerSize,
                            .Width = w,
                            .Height = h,
                            .BitCount = uint16_t(bits),
                            .Compression = compression,
                            .Masks = std::move(masks),
                            .PixelData = bmpbuild::PackValues(values, w, std::abs(h), bits, h < 0)});
}

TEST(DecodeTruecolourBmp, EveryDepthAndMaskKind) {
    const std::vector<uint32_t> argb{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const std::tuple<const char*, Bytes, Bytes> cases[] = {
        {"24-bit",
         Truecolour(40, 2, 2, 24, 0, {}, {0x102030, 0x405060, 0x708090, 0xA0B0C0}),
         {0x10, 0x20, 0x30, 255, 0x40, 0x50, 0x60, 255, 0x70, 0x80, 0x90, 255, 0xA0, 0xB0, 0xC0, 255}},
        {"32-bit BI_RGB: the fourth byte is not alpha",
         Truecolour(40, 1, 1, 32, 0, {}, {0x00112233}),
         {0x11, 0x22, 0x33, 255}},
        {"16-bit 5-5-5",
         Truecolour(40, 2, 1, 16, 0, {}, {0x7FFF, (1u << 10) | (16u << 5) | 30u}),
         {255, 255, 255, 255, 8, 132, 247, 255}},
        {"16-bit 5-6-5 bitfields",
         Truecolour(40, 1, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {(31u << 11) | (32u << 5) | 1u}),
         {255, 130, 8, 255}},
        {"32-bit V5 with alpha",
         Truecolour(124, 2, 1, 32, 3, argb, {0x80102030, 0x00405060}),
         {0x10, 0x20, 0x30, 0x80, 0x40, 0x50, 0x60, 0}},
        {"BI_ALPHABITFIELDS",
         Truecolour(40, 1, 1, 32, 6, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, {0x7F112233}),
         {0x33, 0x22, 0x11, 0x7F}},
        {"32-bit V3 (56-byte header) with alpha",
         Truecolour(56, 2, 1, 32, 3, argb, {0x80102030, 0x00405060}),
         {0x10, 0x20, 0x30, 0x80, 0x40, 0x50, 0x60, 0}},
        {"24-bit, the last row without its padding",
         [] {
             auto file = Truecolour(40, 1, 2, 24, 0, {}, {0x102030, 0x405060});
             file.resize(file.size() - 1);
             return file;
         }(),
         {0x10, 0x20, 0x30, 255, 0x40, 0x50, 0x60, 255}},
        {"all alpha zero is opaque",
         Truecolour(124, 2, 1, 32, 3, argb, {0x00102030, 0x00405060}),
         {0x10, 0x20, 0x30, 255, 0x40, 0x50, 0x60, 255}},
    };
    for (const auto& [what, file, rgba] : cases) {
        FileFailure why;
        const auto decoded = DecodePicture(file, &why);
        ASSERT_TRUE(decoded) << what << ": " << why.Detail;
        EXPECT_EQ(decoded->Pixels, rgba) << what;
    }
    auto cut = Truecolour(40, 4, 4, 24, 0, {}, std::vector<uint32_t>(16, 7));
    cut.resize(cut.size() - 1);  // a pixel of the last row
    const std::pair<Bytes, imagefiles::FailureKind> refusals[] = {
        {Truecolour(40, 1, 1, 16, 3, {0xF800, 0x0FE0, 0x001F}, {0}), Malformed},   // overlapping masks
        {Truecolour(40, 1, 1, 16, 3, {0xF100, 0x07E0, 0x001F}, {0}), Malformed},   // a mask with a gap
        {Truecolour(40, 1, 1, 32, 3, {0xFF0000, 0, 0xFF}, {0}), Malformed},        // a zero mask
        {Truecolour(40, 1, 1, 16, 3, {0xF8000, 0x07E0, 0x001F}, {0}), Malformed},  // a mask beyond the pixel
        {Truecolour(40, 1, 1, 24, 3, {0xFF0000, 0xFF00, 0xFF}, {0}), Unsupported},
        {Truecolour(40, 1, 1, 24, 4, {}, {0}), Unsupported},  // JPEG inside a BMP
        {cut, Truncated}};
    for (const auto& [file, kind] : refusals) {
        FileFailure why;
        EXPECT_FALSE(DecodePicture(file, &why)) << testing::PrintToString(file);
        EXPECT_EQ(why.Kind, kind) << why.Detail;
    }
}

TEST(DecodePicture, TheFirstBytesDecideTheKind) {
    testsupport::TempDir dir;
    const RgbaPicture picture = MakePicture(5, 4, 9, false);
    const std::string png = dir.file("render.bmp");
    testsupport::WriteBytes(png, pictureencode::EncodeRgbaPng(picture));
    FileFailure why;
    const auto fromPng = imagefiles::ReadPictureFile(png, &why);
    ASSERT_TRUE(fromPng) << why.Detail;
    EXPECT_EQ(fromPng->Pixels, picture.Pixels);
    // A 256-colour PCX comes in through its palette: entry i is red i, green 255 - i, blue 7 i.
    const auto pcx = DecodePicture(pcxbuild::BuildWithPackets(0, 0, 1, 2, {3, 5, 3, 5, 3, 5}), &why);
    ASSERT_TRUE(pcx) << why.Detail;
    EXPECT_EQ(std::pair(pcx->Width, pcx->Height), std::pair(2, 3));
    EXPECT_EQ(Bytes(pcx->Pixels.begin(), pcx->Pixels.begin() + 8), (Bytes{3, 252, 21, 255, 5, 250, 35, 255}));
    const std::tuple<std::string, imagefiles::FailureKind, std::string> others[] = {{"GIF89a....", OtherKind, "GIF"},
                                                                                    {"hello", Unrecognised, ""}};
    for (const auto& [bytes, kind, name] : others) {
        EXPECT_FALSE(DecodePicture(Bytes(bytes.begin(), bytes.end()), &why));
        EXPECT_EQ(testsupport::Said(why), testsupport::Said({kind, name}));
    }
    EXPECT_FALSE(imagefiles::ReadPictureFile(dir.file("missing.png"), &why));
    EXPECT_EQ(why.Kind, CannotOpen);
}

// A valid PNG whose IHDR claims another size (its CRC-32 made to match), and a valid JPEG whose
// frame header does.
Bytes PngClaiming(uint32_t width, uint32_t height) {
    auto file = pictureencode::EncodeRgbaPng(MakePicture(4, 4, 1));
    const auto put = [&](std::size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k) file[at + std::size_t(k)] = uint8_t(v >> (24 - 8 * k));
    };
    put(16, width), put(20, height);
    put(29, static_cast<uint32_t>(crc32(0, file.data() + 12, 17)));
    return file;
}
Bytes JpegClaiming(uint16_t width, uint16_t height) {
    auto file = pictureencode::EncodeJpeg(Bytes(16 * 16 * 3, 90), 16, 16, TJPF_RGB, TJSAMP_444, 80);
    const std::array<uint8_t, 2> frameMarker{0xFF, 0xC0};
    const auto sof = std::search(file.begin(), file.end(), frameMarker.begin(), frameMarker.end());
    const Bytes size{uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width)};
    std::copy(size.begin(), size.end(), sof + 5);
    return file;
}
Bytes BmpClaiming(int32_t width, int32_t height, int bits = 24) {
    auto file = bits == 24 ? Truecolour(40, 1, 1, 24, 0, {}, {0}) : bmpbuild::Build(bmpbuild::PictureLayout(4, 4, 8));
    std::memcpy(file.data() + 18, &width, 4), std::memcpy(file.data() + 22, &height, 4);
    return file;
}

// Each reader's limits at exactly their value and one past it. Files that claim a size at the
// limit in a few bytes fail for another reason than their size; past it, they are refused before
// any large allocation. A side longer than 16384 is refused too, however few the pixels: 16 Mi x 1
// would cost the fitting seconds and leave nothing of the picture at 96 x 96.
TEST(ReaderLimits, EachHoldsAtItsValueAndRefusesOnePastBeforeAnyLargeAllocation) {
    FileFailure why;
    // The import's 16 Mi pixels: a real 4096 x 4096 PNG comes in.
    const auto big = DecodePicture(
        EncodePng({.Width = 4096, .Height = 4096, .ColourType = 0, .BitDepth = 1, .Samples = Bytes(4096 * 512)}), &why);
    ASSERT_TRUE(big) << why.Detail;
    EXPECT_EQ(std::pair(big->Width, big->Height), std::pair(4096, 4096));
    for (const Bytes& atLimit : {PngClaiming(4096, 4096), JpegClaiming(4096, 4096), BmpClaiming(4096, 4096),
                                 pcxbuild::BuildWithPackets(0, 0, 4095, 4095, {0xC1, 1})}) {
        EXPECT_FALSE(DecodePicture(atLimit, &why));
        EXPECT_NE(why.Kind, TooManyPixels) << why.Detail;
    }
    const std::string pixelLimit = "16 Mi pixels", sideLimit = "a side longer than the limit of 16384";
    const std::pair<Bytes, std::string> past[] = {
        {PngClaiming(4097, 4096), pixelLimit},
        {JpegClaiming(4096, 4097), pixelLimit},
        {BmpClaiming(4097, 4096), pixelLimit},
        {BmpClaiming(5000, 5000, 8), pixelLimit},
        {pcxbuild::BuildWithPackets(0, 0, 4095, 4096, {0xC1, 1}), pixelLimit},
        {PngClaiming(16 * 1024 * 1024, 1), "16777216 x 1 pixels, " + sideLimit},
        {PngClaiming(1, 16 * 1024 * 1024), "1 x 16777216 pixels, " + sideLimit},
        {JpegClaiming(20000, 2), sideLimit},
    };
    for (const auto& [file, limit] : past) {
        SCOPED_TRACE(limit);
        importtest::AllocationWatch watch;
        EXPECT_FALSE(DecodePicture(file, &why));
        EXPECT_EQ(why.Kind, TooManyPixels) << why.Detail;
        EXPECT_NE(why.Detail.find(limit), std::string::npos) << why.Detail;
        EXPECT_LT(watch.Largest(), std::size_t{1} << 20);
    }
    EXPECT_FALSE(DecodePicture(JpegClaiming(5000, 5000), &why));
    EXPECT_EQ(why.Detail, "5000 x 5000 pixels, more than the limit of 16 Mi pixels (16,777,216)");

    // The palette readers' 64 Mi pixels (8192 x 8192), and the 256 MiB they read at the most.
    const auto bmpHead = [](int32_t w, int32_t h, uint32_t compression) {
        return bmpbuild::Build(
            {.Width = w, .Height = h, .Compression = compression, .Colours = std::vector<PaletteEntry>(256)});
    };
    const uint64_t huge = uint64_t{1} << 40;
    EXPECT_TRUE(modBmp::ReadBmpLayout(bmpHead(8192, 8192, 0), huge, &why)) << why.Detail;
    EXPECT_FALSE(modBmp::ReadBmpLayout(bmpHead(8192, 8193, 0), huge, &why));
    EXPECT_EQ(why.Kind, TooManyPixels);
    const uint64_t pixelsAt = 14 + 40 + 1024;  // run-length data can take up to four bytes a pixel
    EXPECT_TRUE(modBmp::ReadBmpLayout(bmpHead(8192, 8192, 1), pixelsAt + (uint64_t{256} << 20) - 1024, &why))
        << why.Detail;
    EXPECT_FALSE(modBmp::ReadBmpLayout(bmpHead(8192, 8192, 1), pixelsAt + (uint64_t{256} << 20) - 1023, &why));
    EXPECT_EQ(why.Kind, TooLarge);
    EXPECT_FALSE(modPCX::DecodePcx(pcxbuild::BuildWithPackets(0, 0, 8191, 8191, {0xC1, 1}), &why));
    EXPECT_EQ(why.Kind, Truncated);
    EXPECT_FALSE(modPCX::DecodePcx(pcxbuild::BuildWithPackets(0, 0, 8191, 8192, {0xC1, 1}), &why));
    EXPECT_EQ(why.Kind, TooManyPixels);
}

TEST(DecodePicture, TruncatedDamagedAndMislabelledFilesFailCleanly) {
    const auto png = pictureencode::EncodeRgbaPng(MakePicture(12, 9, 4, false), true);
    Bytes rgb(24 * 16 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 37);
    const auto jpeg = pictureencode::EncodeJpeg(rgb, 24, 16, TJPF_RGB, TJSAMP_420, 90, true);
    const std::tuple<const Bytes&, std::size_t, uint8_t, imagefiles::FailureKind> damages[] = {
        {png, 29, 1, Malformed},                  // IHDR's CRC
        {png, png.size() - 20, 0x40, Malformed},  // inside the last IDAT
        {png, 3, 'G' ^ 'J', Unrecognised},        // not the PNG signature: nothing takes it
    };
    for (const auto& [file, at, flip, kind] : damages) {
        auto damaged = file;
        damaged[at] ^= flip;
        FileFailure why;
        EXPECT_FALSE(DecodePicture(damaged, &why)) << at;
        EXPECT_EQ(why.Kind, kind) << at << ": " << why.Detail;
    }
    FileFailure why;
    EXPECT_FALSE(DecodePicture(std::span(jpeg.data(), jpeg.size() / 2), &why));
    EXPECT_EQ(why.Kind, Truncated) << why.Detail;
}

}  // namespace
