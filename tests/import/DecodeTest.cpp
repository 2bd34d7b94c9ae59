// The import's decoders: every PNG colour type and depth, JPEG through TurboJPEG, BMP of every
// depth, the kind told by the first bytes, and hostile files refused early and cleanly.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ImportTestSupport.h"
#include "imagefiles/ByteWriter.h"
#include "imagefiles/PictureDecoders.h"
#include "support/BmpBuilder.h"
#include "support/PcxBuilder.h"
#include "support/PictureEncoders.h"
#include "support/TestFiles.h"

namespace {

using imagefiles::DecodePicture;
using imagefiles::FailureKind;
using imagefiles::FileFailure;
using imagefiles::RgbaPicture;
using importtest::MakePicture;
using pictureencode::EncodePng;
using pictureencode::PngLayout;

// Samples packed as libspng's encoder takes them: below 8 bits the leftmost in the high bits, 16
// bits in host order; each row starts on a byte.
std::vector<uint8_t> PackSamples(const std::vector<uint16_t>& samples, int perRow, int depth) {
    std::vector<uint8_t> out;
    for (std::size_t start = 0; start < samples.size(); start += static_cast<std::size_t>(perRow)) {
        int bit = 0;
        for (int k = 0; k < perRow; ++k) {
            const uint16_t v = samples[start + static_cast<std::size_t>(k)];
            if (depth == 16) {
                const auto at = out.size();
                out.resize(at + 2);
                std::memcpy(out.data() + at, &v, 2);
            } else if (depth == 8) {
                out.push_back(static_cast<uint8_t>(v));
            } else {
                if (bit == 0) out.push_back(0);
                out.back() |= static_cast<uint8_t>(v << (8 - depth - bit));
                bit = (bit + depth) % 8;
            }
        }
    }
    return out;
}

uint8_t Scale(uint32_t value, int depth) {
    return static_cast<uint8_t>(std::lround(value * 255.0 / ((1u << depth) - 1)));
}

TEST(DecodePng, EveryColourTypeAndBitDepth) {
    struct Kind {
        uint8_t type, depth;
    };
    const Kind kinds[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                          {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
    const int w = 7, h = 5;  // rows that end inside a byte
    for (const Kind& k : kinds) {
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "type " << int(k.type) << " depth " << int(k.depth) << " interlaced " << interlaced);
            std::mt19937 random(k.type * 100 + k.depth);
            const int channels = k.type == 2 ? 3 : k.type == 4 ? 2 : k.type == 6 ? 4 : 1;
            const uint32_t top = (1u << k.depth) - 1;
            PngLayout layout{w, h, k.type, k.depth, interlaced, {}, {}, {}, {}, false};
            if (k.type == 3) {
                for (uint32_t i = 0; i <= top; ++i)
                    layout.Colours.push_back({static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                                              static_cast<uint8_t>(random())});
                for (uint32_t i = 0; i < (top + 1) / 2 + 1 && i <= top; ++i)
                    layout.PaletteAlphas.push_back(static_cast<uint8_t>(random()));
            }
            std::vector<uint16_t> samples;
            RgbaPicture expected{w, h, {}};
            for (int p = 0; p < w * h; ++p) {
                std::array<uint32_t, 4> v{};
                for (int c = 0; c < channels; ++c) {
                    v[static_cast<std::size_t>(c)] = random() & top;
                    samples.push_back(static_cast<uint16_t>(v[static_cast<std::size_t>(c)]));
                }
                std::array<uint8_t, 4> rgba{};
                if (k.type == 3) {
                    const auto& colour = layout.Colours[v[0]];
                    rgba = {colour[0], colour[1], colour[2],
                            v[0] < layout.PaletteAlphas.size() ? layout.PaletteAlphas[v[0]] : uint8_t{255}};
                } else {
                    const uint8_t grey = Scale(v[0], k.depth);
                    if (channels <= 2)
                        rgba = {grey, grey, grey, channels == 2 ? Scale(v[1], k.depth) : uint8_t{255}};
                    else
                        rgba = {Scale(v[0], k.depth), Scale(v[1], k.depth), Scale(v[2], k.depth),
                                channels == 4 ? Scale(v[3], k.depth) : uint8_t{255}};
                }
                expected.Pixels.insert(expected.Pixels.end(), rgba.begin(), rgba.end());
            }
            layout.Samples = PackSamples(samples, w * channels, k.depth);
            const auto file = EncodePng(layout);
            ASSERT_FALSE(file.empty());
            FileFailure why;
            const auto decoded = DecodePicture(file, &why);
            ASSERT_TRUE(decoded) << why.Detail;
            EXPECT_EQ(decoded->Width, w);
            EXPECT_EQ(decoded->Height, h);
            EXPECT_EQ(decoded->Pixels, expected.Pixels);
        }
    }
}

// 16-bit samples round to nearest: v8 = round(v16 x 255 / 65535), not the high byte.
TEST(DecodePng, SixteenBitSamplesRoundToNearestAndATransparentColourIsAlphaZero) {
    const std::vector<uint16_t> values{0, 128, 129, 448, 0x80FF, 0xFF7F, 65535, 257 * 200};
    const std::vector<uint8_t> expected{0, 0, 1, 2, 128, 255, 255, 200};
    PngLayout layout{8, 1, 0, 16, false, PackSamples(values, 8, 16), {}, {}, {}, false};
    auto decoded = DecodePicture(EncodePng(layout), nullptr);
    ASSERT_TRUE(decoded);
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(decoded->Pixels[4 * i], expected[i]) << values[i];

    // tRNS on an RGB picture: exactly that colour becomes transparent.
    layout = {3, 1, 2, 8, false, {10, 20, 30, 10, 20, 31, 10, 20, 30}, {}, {}, {10, 20, 30}, true};
    decoded = DecodePicture(EncodePng(layout), nullptr);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Pixels, (std::vector<uint8_t>{10, 20, 30, 0, 10, 20, 31, 255, 10, 20, 30, 0}));
}

TEST(DecodeJpeg, GreyYCbCrAndProgressiveFilesAndCmykRefused) {
    const int w = 33, h = 17;
    const RgbaPicture source = [&] {
        RgbaPicture p{w, h, {}};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                p.Pixels.insert(p.Pixels.end(), {uint8_t(x * 7), uint8_t(y * 14), uint8_t(200 - x * 3), 255});
        return p;
    }();
    std::vector<uint8_t> rgb, grey;
    for (std::size_t i = 0; i < source.Pixels.size(); i += 4) {
        rgb.insert(rgb.end(), {source.Pixels[i], source.Pixels[i + 1], source.Pixels[i + 2]});
        grey.push_back(source.Pixels[i]);
    }
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        bool isGrey;
    };
    const Case cases[] = {
        {"YCbCr 4:4:4", pictureencode::EncodeJpeg(rgb, w, h, TJPF_RGB, TJSAMP_444, 98), false},
        {"YCbCr 4:2:0 progressive", pictureencode::EncodeJpeg(rgb, w, h, TJPF_RGB, TJSAMP_420, 98, true), false},
        {"greyscale", pictureencode::EncodeJpeg(grey, w, h, TJPF_GRAY, TJSAMP_GRAY, 98), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileFailure why;
        const auto decoded = DecodePicture(c.file, &why);
        ASSERT_TRUE(decoded) << why.Detail;
        ASSERT_EQ(std::tuple(decoded->Width, decoded->Height), std::tuple(w, h));
        int worst = 0;
        for (std::size_t i = 0; i < decoded->Pixels.size(); i += 4) {
            EXPECT_EQ(decoded->Pixels[i + 3], 255);
            if (c.isGrey) {
                EXPECT_EQ(decoded->Pixels[i], decoded->Pixels[i + 1]);
                EXPECT_EQ(decoded->Pixels[i], decoded->Pixels[i + 2]);
            }
            for (std::size_t k = 0; k < (c.isGrey ? 1u : 3u); ++k)
                worst = std::max(worst, std::abs(decoded->Pixels[i + k] - source.Pixels[i + k]));
        }
        EXPECT_LE(worst, 12);
    }
    std::vector<uint8_t> cmyk(static_cast<std::size_t>(w * h * 4), 40);
    FileFailure why;
    EXPECT_FALSE(DecodePicture(pictureencode::EncodeJpeg(cmyk, w, h, TJPF_CMYK, TJSAMP_444, 90), &why));
    EXPECT_EQ(why.Kind, FailureKind::Unsupported);
    EXPECT_NE(why.Detail.find("CMYK"), std::string::npos);
}

// A truecolour BMP: pixel values (top-down, little-endian, bits / 8 bytes each) with the masks
// where the header size puts them.
std::vector<uint8_t> TruecolourBmp(uint32_t headerSize, int32_t w, int32_t h, uint16_t bits, uint32_t compression,
                                   std::vector<uint32_t> masks, const std::vector<uint32_t>& values) {
    const bool masksAfter = headerSize == 40 && (compression == 3 || compression == 6);
    const uint32_t offset = 14 + headerSize + (masksAfter ? static_cast<uint32_t>(masks.size()) * 4 : 0);
    imagefiles::ByteWriter header;
    header.U8('B');
    header.U8('M');
    header.U32(0);
    header.U32(0);
    header.U32(offset);
    header.U32(headerSize);
    header.I32(w);
    header.I32(h);
    header.U16(1);
    header.U16(bits);
    header.U32(compression);
    for (int k = 0; k < 5; ++k) header.U32(0);
    if (headerSize > 40)
        for (uint32_t m : masks) header.U32(m);
    header.Zeros(14 + headerSize - std::min<std::size_t>(header.Position(), 14 + headerSize));
    if (masksAfter)
        for (uint32_t m : masks) header.U32(m);
    std::vector<uint8_t> out = header.Release();
    out.resize(offset, 0);
    const int rows = std::abs(h), bytes = bits / 8;
    for (int row = 0; row < rows; ++row) {
        const int y = h > 0 ? rows - 1 - row : row;
        for (int x = 0; x < w; ++x)
            for (int b = 0; b < bytes; ++b)
                out.push_back(static_cast<uint8_t>(values[static_cast<std::size_t>(y * w + x)] >> (8 * b)));
        while ((out.size() - offset) % 4) out.push_back(0);
    }
    return out;
}

TEST(DecodeTruecolourBmp, EveryDepthAndMaskKind) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        std::vector<uint8_t> rgba;
    };
    const Case cases[] = {
        {"24-bit",
         TruecolourBmp(40, 2, 2, 24, 0, {}, {0x102030, 0x405060, 0x708090, 0xA0B0C0}),
         {0x10, 0x20, 0x30, 255, 0x40, 0x50, 0x60, 255, 0x70, 0x80, 0x90, 255, 0xA0, 0xB0, 0xC0, 255}},
        {"24-bit top-down, core header",
         TruecolourBmp(40, 2, -1, 24, 0, {}, {0xFF0000, 0x0000FF}),
         {255, 0, 0, 255, 0, 0, 255, 255}},
        {"32-bit BI_RGB: the fourth byte is not alpha",
         TruecolourBmp(40, 1, 1, 32, 0, {}, {0x00112233}),
         {0x11, 0x22, 0x33, 255}},
        {"16-bit 5-5-5",
         TruecolourBmp(40, 2, 1, 16, 0, {}, {0x7FFF, (1u << 10) | (16u << 5) | 30u}),
         {255, 255, 255, 255, 8, 132, 247, 255}},
        {"16-bit 5-6-5 bitfields",
         TruecolourBmp(40, 1, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {(31u << 11) | (32u << 5) | 1u}),
         {255, 130, 8, 255}},
        {"32-bit V5 with alpha",
         TruecolourBmp(124, 2, 1, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {0x80102030, 0x00405060}),
         {0x10, 0x20, 0x30, 0x80, 0x40, 0x50, 0x60, 0}},
        {"16-bit V4 4-4-4-4",
         TruecolourBmp(108, 1, 1, 16, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}, {0x8F05}),
         {255, 0, 85, 136}},
        {"BI_ALPHABITFIELDS",
         TruecolourBmp(40, 1, 1, 32, 6, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, {0x7F112233}),
         {0x33, 0x22, 0x11, 0x7F}},
        {"all alpha zero is opaque",
         TruecolourBmp(124, 2, 1, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {0x00102030, 0x00405060}),
         {0x10, 0x20, 0x30, 255, 0x40, 0x50, 0x60, 255}},
        {"V3 header without alpha mask value",
         TruecolourBmp(56, 1, 1, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0}, {0xAB102030}),
         {0x10, 0x20, 0x30, 255}},
    };
    for (const Case& c : cases) {
        FileFailure why;
        const auto decoded = DecodePicture(c.file, &why);
        ASSERT_TRUE(decoded) << c.what << ": " << why.Detail;
        EXPECT_EQ(decoded->Pixels, c.rgba) << c.what;
    }
    struct Refusal {
        const char* what;
        std::vector<uint8_t> file;
        FailureKind kind;
    };
    auto cut = TruecolourBmp(40, 4, 4, 24, 0, {}, std::vector<uint32_t>(16, 7));
    cut.resize(cut.size() - 20);
    const Refusal refusals[] = {
        {"overlapping masks", TruecolourBmp(40, 1, 1, 16, 3, {0xF800, 0x0FE0, 0x001F}, {0}), FailureKind::Malformed},
        {"a mask with a gap", TruecolourBmp(40, 1, 1, 16, 3, {0xF100, 0x07E0, 0x001F}, {0}), FailureKind::Malformed},
        {"a zero mask", TruecolourBmp(40, 1, 1, 32, 3, {0xFF0000, 0, 0xFF}, {0}), FailureKind::Malformed},
        {"a mask beyond the pixel", TruecolourBmp(40, 1, 1, 16, 3, {0xF8000, 0x07E0, 0x001F}, {0}),
         FailureKind::Malformed},
        {"24-bit bitfields", TruecolourBmp(40, 1, 1, 24, 3, {0xFF0000, 0xFF00, 0xFF}, {0}), FailureKind::Unsupported},
        {"JPEG inside a BMP", TruecolourBmp(40, 1, 1, 24, 4, {}, {0}), FailureKind::Unsupported},
        {"pixels cut short", cut, FailureKind::Truncated},
        {"30,000 x 30,000 in a few bytes", TruecolourBmp(40, 30000, 1, 24, 0, {}, std::vector<uint32_t>(30000)),
         FailureKind::Malformed},
    };
    for (const Refusal& r : refusals) {
        FileFailure why;
        auto file = r.file;
        if (std::string(r.what).starts_with("30,000")) {
            // the header claims 30,000 rows of which one is there
            const uint32_t rows = 30000;
            std::memcpy(file.data() + 22, &rows, 4);
            EXPECT_FALSE(DecodePicture(file, &why));
            EXPECT_EQ(why.Kind, FailureKind::TooManyPixels) << why.Detail;
            continue;
        }
        EXPECT_FALSE(DecodePicture(file, &why)) << r.what;
        EXPECT_EQ(why.Kind, r.kind) << r.what << ": " << why.Detail;
    }
}

TEST(DecodePicture, TheFirstBytesDecideTheKind) {
    testsupport::TempDir dir;
    const RgbaPicture picture = MakePicture(5, 4, 9, false);
    const std::string png = dir.file("render.bmp"), bmp = dir.file("render.png");
    testsupport::WriteBytes(png, pictureencode::EncodeRgbaPng(picture));
    const auto indices = bmpbuild::PatternPixels(5, 4, 16);
    testsupport::WriteBytes(bmp, bmpbuild::Build(bmpbuild::PictureLayout(5, 4, 4)));
    FileFailure why;
    const auto fromPng = imagefiles::ReadPictureFile(png, &why);
    ASSERT_TRUE(fromPng) << why.Detail;
    EXPECT_EQ(fromPng->Pixels, picture.Pixels);
    const auto fromBmp = imagefiles::ReadPictureFile(bmp, &why);
    ASSERT_TRUE(fromBmp) << why.Detail;
    const auto colours = bmpbuild::PictureLayout(5, 4, 4).Colours;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const PaletteEntry& c = colours[indices[i]];
        EXPECT_EQ(importtest::PixelOf(*fromBmp, int(i % 5), int(i / 5)),
                  (std::array<uint8_t, 4>{c.Red, c.Green, c.Blue, 255}));
    }
    // A 256-colour PCX comes in through its palette.
    std::vector<uint8_t> pcxIndices{0, 1, 2, 3, 4, 5};
    const auto pcx = DecodePicture(pcxbuild::BuildWithPackets(0, 0, 2, 1, pcxbuild::Encode(pcxIndices)), &why);
    ASSERT_TRUE(pcx) << why.Detail;
    EXPECT_EQ(std::tuple(pcx->Width, pcx->Height), std::tuple(3, 2));

    const std::pair<std::string, std::string> others[] = {
        {"GIF89a....", "GIF"}, {std::string("II*\0....", 8), "TIFF"}, {"RIFF....WEBPVP8 ", "WebP"}};
    for (const auto& [bytes, name] : others) {
        EXPECT_FALSE(DecodePicture(std::vector<uint8_t>(bytes.begin(), bytes.end()), &why));
        EXPECT_EQ(why.Kind, FailureKind::OtherKind);
        EXPECT_EQ(why.Detail, name);
    }
    EXPECT_FALSE(DecodePicture(std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}, &why));
    EXPECT_EQ(why.Kind, FailureKind::Unrecognised);
    EXPECT_FALSE(imagefiles::ReadPictureFile(dir.file("missing.png"), &why));
    EXPECT_EQ(why.Kind, FailureKind::CannotOpen);
}

// The CRC-32 of PNG chunks (reflected polynomial 0xEDB88320).
uint32_t Crc(const uint8_t* data, std::size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}
void PutBigEndian(std::vector<uint8_t>& file, std::size_t at, uint32_t value) {
    for (int k = 0; k < 4; ++k) file[at + static_cast<std::size_t>(k)] = static_cast<uint8_t>(value >> (24 - 8 * k));
}

// A valid PNG whose IHDR claims another size (its CRC made to match).
std::vector<uint8_t> PngClaiming(uint32_t width, uint32_t height) {
    auto file = pictureencode::EncodeRgbaPng(MakePicture(4, 4, 1));
    PutBigEndian(file, 16, width);
    PutBigEndian(file, 20, height);
    PutBigEndian(file, 29, Crc(file.data() + 12, 17));
    return file;
}

// A valid JPEG whose frame header claims another size.
std::vector<uint8_t> JpegClaiming(uint16_t width, uint16_t height) {
    std::vector<uint8_t> rgb(16 * 16 * 3, 90);
    auto file = pictureencode::EncodeJpeg(rgb, 16, 16, TJPF_RGB, TJSAMP_444, 80);
    for (std::size_t i = 2; i + 9 < file.size(); ++i) {
        if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) {
            file[i + 5] = static_cast<uint8_t>(height >> 8), file[i + 6] = static_cast<uint8_t>(height);
            file[i + 7] = static_cast<uint8_t>(width >> 8), file[i + 8] = static_cast<uint8_t>(width);
            break;
        }
    }
    return file;
}

TEST(DecodePicture, HugeSizesInTinyFilesAreRefusedBeforeAnyLargeAllocation) {
    auto bmp = bmpbuild::Build(bmpbuild::PictureLayout(4, 4, 8));
    const int32_t side = 5000;
    std::memcpy(bmp.data() + 18, &side, 4), std::memcpy(bmp.data() + 22, &side, 4);
    const std::pair<const char*, std::vector<uint8_t>> files[] = {
        {"PNG 100,000 x 100,000", PngClaiming(100000, 100000)},
        {"PNG 4,097 x 4,096", PngClaiming(4097, 4096)},
        {"PNG 2^31 - 1 wide", PngClaiming(0x7FFFFFFF, 1)},
        {"JPEG 60,000 x 60,000", JpegClaiming(60000, 60000)},
        {"JPEG 65,000 x 300", JpegClaiming(65000, 300)},
        {"BMP 5,000 x 5,000", bmp},
        {"PCX 32,767 x 32,767", pcxbuild::BuildWithPackets(0, 0, 32766, 32766, {0xC1, 1})},
    };
    for (const auto& [what, file] : files) {
        FileFailure why;
        importtest::AllocationWatch watch;
        EXPECT_FALSE(DecodePicture(file, &why)) << what;
        EXPECT_EQ(why.Kind, FailureKind::TooManyPixels) << what << ": " << why.Detail;
        EXPECT_NE(why.Detail.find("16 Mi pixels"), std::string::npos) << why.Detail;
        EXPECT_LT(watch.Largest(), std::size_t{1} << 20) << what;
    }
    FileFailure why;
    EXPECT_FALSE(DecodePicture(JpegClaiming(5000, 5000), &why));
    EXPECT_EQ(why.Detail, "5000 x 5000 pixels, more than the limit of 16 Mi pixels (16,777,216)");
}

TEST(DecodePicture, TruncatedDamagedAndMislabelledFilesFailCleanly) {
    const RgbaPicture picture = MakePicture(12, 9, 4, false);
    const auto png = pictureencode::EncodeRgbaPng(picture, true);
    std::vector<uint8_t> rgb(24 * 16 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 37);
    const auto jpeg = pictureencode::EncodeJpeg(rgb, 24, 16, TJPF_RGB, TJSAMP_420, 90, true);
    const auto bmp =
        TruecolourBmp(124, 5, 3, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, std::vector<uint32_t>(15, 0x80FF8040));
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
                EXPECT_NE(why.Kind, FailureKind::FullyTransparent) << length;
        }
    }
    FileFailure why;
    auto damaged = png;
    damaged[29] ^= 1;  // IHDR's CRC
    EXPECT_FALSE(DecodePicture(damaged, &why));
    EXPECT_EQ(why.Kind, FailureKind::Malformed);
    damaged = png;
    damaged[damaged.size() - 20] ^= 0x40;  // inside the last IDAT
    EXPECT_FALSE(DecodePicture(damaged, &why));
    damaged = png;
    damaged[3] = 'J';  // not the PNG signature: nothing takes it
    EXPECT_FALSE(DecodePicture(damaged, &why));
    EXPECT_EQ(why.Kind, FailureKind::Unrecognised);
    damaged = jpeg;
    damaged.resize(damaged.size() / 2);
    EXPECT_FALSE(DecodePicture(damaged, &why));
    EXPECT_EQ(why.Kind, FailureKind::Truncated) << why.Detail;
}

}  // namespace
