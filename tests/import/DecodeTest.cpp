// The import's decoders: every PNG colour type and depth, JPEG through TurboJPEG, BMP of every
// depth, the kind told by the first bytes, and hostile files refused early and cleanly.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ImportTestSupport.h"
#include "imagefiles/PictureDecoders.h"
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

// A PNG of w x h random samples of the type and depth, and the picture a reader must make of it:
// samples scaled to 8 bits by rounding, palette entries with their alphas (the last entries
// without one), grey spread to red, green and blue.
std::pair<Bytes, Bytes> RandomPng(uint8_t type, uint8_t depth, bool interlaced, uint32_t w, uint32_t h) {
    std::mt19937 random(type * 100 + depth);
    const int channels = type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
    const uint32_t top = (1u << depth) - 1;
    PngLayout layout{w, h, type, depth, interlaced, {}, {}, {}, {}, false};
    for (uint32_t i = 0; type == 3 && i <= top; ++i) {
        layout.Colours.push_back({uint8_t(random()), uint8_t(random()), uint8_t(random())});
        if (i <= (top + 1) / 2) layout.PaletteAlphas.push_back(uint8_t(random()));
    }
    const auto scale = [&](uint32_t v) { return uint8_t(std::lround(v * 255.0 / top)); };
    Bytes rgba;
    for (uint32_t y = 0; y < h; ++y) {
        int bit = 0;  // samples packed as libspng takes them: below 8 bits the leftmost in the high bits
        for (uint32_t x = 0; x < w; ++x) {
            std::array<uint32_t, 4> v{0, 0, 0, top};
            for (int c = 0; c < channels; ++c) {
                const uint16_t sample = uint16_t(v[std::size_t(c)] = random() & top);
                if (depth == 16) {  // in host order
                    layout.Samples.resize(layout.Samples.size() + 2);
                    std::memcpy(layout.Samples.data() + layout.Samples.size() - 2, &sample, 2);
                } else {
                    if (bit == 0) layout.Samples.push_back(0);
                    layout.Samples.back() |= uint8_t(sample << (8 - depth - bit));
                    bit = (bit + depth) % 8;
                }
            }
            if (channels == 2) v = {v[0], v[0], v[0], v[1]};
            if (channels == 1) v = {v[0], v[0], v[0], top};
            if (type == 3) {
                const auto& colour = layout.Colours[v[0]];
                rgba.insert(rgba.end(),
                            {colour[0], colour[1], colour[2],
                             v[0] < layout.PaletteAlphas.size() ? layout.PaletteAlphas[v[0]] : uint8_t{255}});
            } else {
                rgba.insert(rgba.end(), {scale(v[0]), scale(v[1]), scale(v[2]), scale(v[3])});
            }
        }
    }
    return {EncodePng(layout), rgba};
}

TEST(DecodePng, EveryColourTypeAndBitDepth) {
    const std::pair<uint8_t, uint8_t> kinds[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                                                 {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
    for (const auto& [type, depth] : kinds)
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(testing::Message() << "type " << int(type) << " depth " << int(depth) << " " << interlaced);
            const auto [file, rgba] = RandomPng(type, depth, interlaced, 7, 5);  // rows that end inside a byte
            FileFailure why;
            const auto decoded = DecodePicture(file, &why);
            ASSERT_TRUE(decoded) << why.Detail;
            EXPECT_EQ(std::tuple(decoded->Width, decoded->Height, decoded->Pixels), std::tuple(7, 5, rgba));
        }
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

TEST(DecodeJpeg, GreyYCbCrAndProgressiveFilesAndCmykRefused) {
    const int w = 33, h = 17;
    Bytes rgb, grey;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rgb.insert(rgb.end(), {uint8_t(x * 7), uint8_t(y * 14), uint8_t(200 - x * 3)}), grey.push_back(x * 7);
    const std::tuple<Bytes, const Bytes&, int> cases[] = {
        {pictureencode::EncodeJpeg(rgb, w, h, TJPF_RGB, TJSAMP_444, 98), rgb, 3},
        {pictureencode::EncodeJpeg(rgb, w, h, TJPF_RGB, TJSAMP_420, 98, true), rgb, 3},
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
        {"24-bit top-down", Truecolour(40, 2, -1, 24, 0, {}, {0xFF0000, 0x0000FF}), {255, 0, 0, 255, 0, 0, 255, 255}},
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
        {"16-bit V4 4-4-4-4",
         Truecolour(108, 1, 1, 16, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}, {0x8F05}),
         {255, 0, 85, 136}},
        {"BI_ALPHABITFIELDS",
         Truecolour(40, 1, 1, 32, 6, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, {0x7F112233}),
         {0x33, 0x22, 0x11, 0x7F}},
        {"all alpha zero is opaque",
         Truecolour(124, 2, 1, 32, 3, argb, {0x00102030, 0x00405060}),
         {0x10, 0x20, 0x30, 255, 0x40, 0x50, 0x60, 255}},
        {"V3 header without alpha mask value",
         Truecolour(56, 1, 1, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0}, {0xAB102030}),
         {0x10, 0x20, 0x30, 255}},
    };
    for (const auto& [what, file, rgba] : cases) {
        FileFailure why;
        const auto decoded = DecodePicture(file, &why);
        ASSERT_TRUE(decoded) << what << ": " << why.Detail;
        EXPECT_EQ(decoded->Pixels, rgba) << what;
    }
    auto cut = Truecolour(40, 4, 4, 24, 0, {}, std::vector<uint32_t>(16, 7));
    cut.resize(cut.size() - 20);
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
    const std::string png = dir.file("render.bmp"), bmp = dir.file("render.png");
    testsupport::WriteBytes(png, pictureencode::EncodeRgbaPng(picture));
    testsupport::WriteBytes(bmp, bmpbuild::Build(bmpbuild::PictureLayout(5, 4, 4)));
    FileFailure why;
    const auto fromPng = imagefiles::ReadPictureFile(png, &why);
    ASSERT_TRUE(fromPng) << why.Detail;
    EXPECT_EQ(fromPng->Pixels, picture.Pixels);
    const auto fromBmp = imagefiles::ReadPictureFile(bmp, &why);
    ASSERT_TRUE(fromBmp) << why.Detail;
    const auto indices = bmpbuild::PatternPixels(5, 4, 16);
    const auto colours = bmpbuild::PictureLayout(5, 4, 4).Colours;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const PaletteEntry& c = colours[indices[i]];
        EXPECT_EQ(importtest::PixelOf(*fromBmp, int(i % 5), int(i / 5)),
                  (std::array<uint8_t, 4>{c.Red, c.Green, c.Blue, 255}));
    }
    // A 256-colour PCX comes in through its palette: entry i is red i, green 255 - i, blue 7 i.
    const auto pcx = DecodePicture(pcxbuild::BuildWithPackets(0, 0, 1, 0, {3, 5}), &why);
    ASSERT_TRUE(pcx) << why.Detail;
    EXPECT_EQ(pcx->Pixels, (Bytes{3, 252, 21, 255, 5, 250, 35, 255}));
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
    uint32_t crc = 0xFFFFFFFFu;  // reflected polynomial 0xEDB88320
    for (std::size_t i = 12; i < 29; ++i) {
        crc ^= file[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    put(29, ~crc);
    return file;
}
Bytes JpegClaiming(uint16_t width, uint16_t height) {
    auto file = pictureencode::EncodeJpeg(Bytes(16 * 16 * 3, 90), 16, 16, TJPF_RGB, TJSAMP_444, 80);
    for (std::size_t i = 2; i + 9 < file.size(); ++i) {
        if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) {
            file[i + 5] = uint8_t(height >> 8), file[i + 6] = uint8_t(height);
            file[i + 7] = uint8_t(width >> 8), file[i + 8] = uint8_t(width);
            break;
        }
    }
    return file;
}

TEST(DecodePicture, HugeSizesInTinyFilesAreRefusedBeforeAnyLargeAllocation) {
    auto bmp = bmpbuild::Build(bmpbuild::PictureLayout(4, 4, 8));
    const int32_t side = 5000;
    std::memcpy(bmp.data() + 18, &side, 4), std::memcpy(bmp.data() + 22, &side, 4);
    auto tall = Truecolour(40, 30000, 1, 24, 0, {}, std::vector<uint32_t>(30000));
    std::memcpy(tall.data() + 22, "\x30\x75\0\0", 4);  // 30,000 rows of which one is there
    const Bytes files[] = {PngClaiming(100000, 100000),
                           PngClaiming(4097, 4096),
                           PngClaiming(0x7FFFFFFF, 1),
                           JpegClaiming(60000, 60000),
                           JpegClaiming(65000, 300),
                           bmp,
                           tall,
                           pcxbuild::BuildWithPackets(0, 0, 32766, 32766, {0xC1, 1})};
    for (const auto& file : files) {
        SCOPED_TRACE(&file - files);
        FileFailure why;
        importtest::AllocationWatch watch;
        EXPECT_FALSE(DecodePicture(file, &why));
        EXPECT_EQ(why.Kind, TooManyPixels) << why.Detail;
        EXPECT_NE(why.Detail.find("16 Mi pixels"), std::string::npos) << why.Detail;
        EXPECT_LT(watch.Largest(), std::size_t{1} << 20);
    }
    FileFailure why;
    EXPECT_FALSE(DecodePicture(JpegClaiming(5000, 5000), &why));
    EXPECT_EQ(why.Detail, "5000 x 5000 pixels, more than the limit of 16 Mi pixels (16,777,216)");
}

TEST(DecodePicture, TruncatedDamagedAndMislabelledFilesFailCleanly) {
    const auto png = pictureencode::EncodeRgbaPng(MakePicture(12, 9, 4, false), true);
    Bytes rgb(24 * 16 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 37);
    const auto jpeg = pictureencode::EncodeJpeg(rgb, 24, 16, TJPF_RGB, TJSAMP_420, 90, true);
    const auto bmp =
        Truecolour(124, 5, 3, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, std::vector<uint32_t>(15, 0x80FF8040));
    for (const auto* file : {&png, &jpeg, &bmp}) {
        const auto whole = DecodePicture(*file, nullptr);
        ASSERT_TRUE(whole);
        // Every shorter prefix is refused, or (when only the closing chunks are missing) gives the
        // same picture.
        for (std::size_t length = 0; length < file->size(); ++length) {
            FileFailure why;
            const auto part = DecodePicture(std::span(file->data(), length), &why);
            if (part)
                EXPECT_EQ(part->Pixels, whole->Pixels) << length;
            else
                EXPECT_NE(why.Kind, FullyTransparent) << length;
        }
    }
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
