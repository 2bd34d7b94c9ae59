// Mapping onto the game palette: the plain rule exactly, avoided indices, OKLab, dithering, the
// strict check, and whole imports from files compared with the loads of the same pictures.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "ImportTestSupport.h"
#include "imagefiles/ByteWriter.h"
#include "imagefiles/modPalettes.h"
#include "import/Composite.h"
#include "import/ImportPicture.h"
#include "import/ImportSettingsText.h"
#include "import/LinearLight.h"
#include "import/MapToPalette.h"
#include "import/Oklab.h"
#include "import/PaletteMatcher.h"
#include "support/PictureEncoders.h"
#include "support/TestFiles.h"

namespace {

using namespace import;
using imagefiles::RgbaPicture;
using modPalettes::GamePalette;

RgbaPicture FrameOf(const std::vector<Colour>& colours) {
    RgbaPicture frame{kFrameSide, kFrameSide, {}};
    for (const Colour& c : colours) frame.Pixels.insert(frame.Pixels.end(), {c.Red, c.Green, c.Blue, 255});
    return frame;
}

Colour GameColour(int index) {
    const PaletteEntry& e = GamePalette[static_cast<std::size_t>(index)];
    return {e.Red, e.Green, e.Blue};
}

TEST(PaletteMatcher, TheRgbRuleIsTheGamesPlainRuleAndAvoidingRestrictsIt) {
    PaletteMatcher plain(GamePalette, MatchRule::Rgb, {});
    for (int r = 0; r < 256; r += 3)
        for (int g = 1; g < 256; g += 5)
            for (int b = 2; b < 256; b += 4)
                ASSERT_EQ(plain.Nearest({uint8_t(r), uint8_t(g), uint8_t(b)}),
                          modPalettes::NearestIndexPlain(GamePalette, r, g, b));
    // Repeated colours: black is 0, 10-15 and 240-245; 808080 is 7 and 248; FFFF00 is 208 and 251.
    std::bitset<256> avoid;
    avoid.set(0).set(7).set(208);
    PaletteMatcher restricted(GamePalette, MatchRule::Rgb, avoid);
    EXPECT_EQ(restricted.Nearest({0, 0, 0}), 10);
    EXPECT_EQ(restricted.Nearest({0x80, 0x80, 0x80}), 248);
    EXPECT_EQ(restricted.Nearest({0xFF, 0xFF, 0}), 251);
    std::mt19937 random(3);
    for (int i = 0; i < 3000; ++i) {
        const Colour q{uint8_t(random()), uint8_t(random()), uint8_t(random())};
        int best = -1, bestDistance = 1000;
        for (int k = 0; k < 256; ++k) {
            if (avoid[static_cast<std::size_t>(k)]) continue;
            const Colour e = GameColour(k);
            const int d = std::abs(q.Red - e.Red) + std::abs(q.Green - e.Green) + std::abs(q.Blue - e.Blue);
            if (d < bestDistance) best = k, bestDistance = d;
        }
        ASSERT_EQ(restricted.Nearest(q), best);
    }
    // The plain rule's fallback 255 at distance 765, and where 255 is avoided, the lowest of the farthest.
    Palette blackAndWhite{};
    blackAndWhite[255] = {255, 255, 255, 0};
    std::bitset<256> onlyBlack;
    onlyBlack.set();
    onlyBlack.reset(3);
    EXPECT_EQ(PaletteMatcher(blackAndWhite, MatchRule::Rgb, onlyBlack).Nearest({255, 255, 255}), 3);
    std::bitset<256> allButWhite;
    allButWhite.set();
    allButWhite.reset(255);
    EXPECT_EQ(PaletteMatcher(blackAndWhite, MatchRule::Rgb, allButWhite).Nearest({0, 0, 0}), 255);
}

TEST(PaletteMatcher, PerceptualIsNearestInOklabWithTiesToTheLowestIndex) {
    PaletteMatcher perceptual(GamePalette, MatchRule::Perceptual, {});
    std::array<Oklab, 256> lab;
    for (int k = 0; k < 256; ++k) lab[static_cast<std::size_t>(k)] = OklabFromSrgb(GameColour(k));
    std::mt19937 random(8);
    for (int i = 0; i < 3000; ++i) {
        const Colour q{uint8_t(random()), uint8_t(random()), uint8_t(random())};
        const Oklab p = OklabFromSrgb(q);
        int best = 0;
        double bestDistance = 1e9;
        for (int k = 0; k < 256; ++k) {
            const Oklab& e = lab[static_cast<std::size_t>(k)];
            const double d = std::pow(p.L - e.L, 2) + std::pow(p.A - e.A, 2) + std::pow(p.B - e.B, 2);
            if (d < bestDistance - 1e-12) best = k, bestDistance = d;
        }
        ASSERT_EQ(GameColour(perceptual.Nearest(q)), GameColour(best));
    }
    EXPECT_EQ(perceptual.Nearest({0, 0, 0}), 0);
    EXPECT_EQ(perceptual.Nearest({0x80, 0x80, 0x80}), 7);
    EXPECT_EQ(perceptual.Nearest({0xFF, 0xFF, 0}), 208);
    std::bitset<256> avoid;
    avoid.set(0);
    EXPECT_EQ(PaletteMatcher(GamePalette, MatchRule::Perceptual, avoid).Nearest({0, 0, 0}), 10);
    EXPECT_EQ(perceptual.Distance(GameColour(100), 100), 0.0);
}

TEST(MapToPalette, GameColoursComeThroughUnchangedInEveryModeAndStrictNamesTheFirstOtherPixel) {
    std::vector<Colour> colours;
    for (int i = 0; i < kFramePixels; ++i) colours.push_back(GameColour((i * 7 + i / 96) % 256));
    const RgbaPicture frame = FrameOf(colours);
    for (MatchRule rule : {MatchRule::Rgb, MatchRule::Perceptual})
        for (DitherMode dither : {DitherMode::None, DitherMode::FloydSteinberg}) {
            const MappedFrame mapped = MapToPalette(frame, GamePalette, rule, dither, {});
            for (int i = 0; i < kFramePixels; ++i)
                ASSERT_EQ(GameColour(mapped.Indices[static_cast<std::size_t>(i)]), colours[static_cast<std::size_t>(i)])
                    << i;
            EXPECT_EQ(mapped.Report.ExactPixels, kFramePixels);
            EXPECT_EQ(mapped.Report.MeanError, 0.0);
            EXPECT_EQ(mapped.Report.LargestError, 0.0);
        }
    imagefiles::FileFailure why;
    EXPECT_TRUE(CheckExactColours(frame, GamePalette, {}, &why));
    auto off = colours;
    off[96 * 2 + 5] = {0x12, 0x34, 0x56};
    off[96 * 3 + 1] = {1, 2, 3};
    EXPECT_FALSE(CheckExactColours(FrameOf(off), GamePalette, {}, &why));
    EXPECT_EQ(why.Kind, imagefiles::FailureKind::NotExact);
    EXPECT_EQ(why.Detail, "pixel 5,2 is #123456");
    // An avoided index's colour is not allowed either (unless a kept index holds the same colour).
    std::vector<Colour> blue(kFramePixels, GameColour(252));
    std::bitset<256> avoid;
    avoid.set(252);
    EXPECT_FALSE(CheckExactColours(FrameOf(blue), GamePalette, avoid, &why));
    EXPECT_EQ(why.Detail, "pixel 0,0 is #0000FF");
    std::vector<Colour> black(kFramePixels, GameColour(0));
    avoid.reset().set(0);
    EXPECT_TRUE(CheckExactColours(FrameOf(black), GamePalette, avoid, &why));  // 10 is black too
}

// Mean colour of an 8 x 8 block in linear light.
std::array<double, 3> BlockMean(const std::function<Colour(int, int)>& at, int bx, int by) {
    std::array<double, 3> sum{};
    for (int y = by * 8; y < by * 8 + 8; ++y)
        for (int x = bx * 8; x < bx * 8 + 8; ++x) {
            const Colour c = at(x, y);
            sum[0] += ToLinear(c.Red), sum[1] += ToLinear(c.Green), sum[2] += ToLinear(c.Blue);
        }
    for (double& s : sum) s /= 64;
    return sum;
}

TEST(MapToPalette, DitheringKeepsBlockMeansNearerTheSourceAndIsDeterministic) {
    std::vector<Colour> gradient;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) gradient.push_back({uint8_t(x * 255 / 95), uint8_t(60 + y), uint8_t(200 - x)});
    const RgbaPicture frame = FrameOf(gradient);
    for (MatchRule rule : {MatchRule::Rgb, MatchRule::Perceptual}) {
        const MappedFrame plain = MapToPalette(frame, GamePalette, rule, DitherMode::None, {});
        const MappedFrame dithered = MapToPalette(frame, GamePalette, rule, DitherMode::FloydSteinberg, {});
        EXPECT_EQ(MapToPalette(frame, GamePalette, rule, DitherMode::FloydSteinberg, {}).Indices, dithered.Indices);
        double plainError = 0, ditheredError = 0;
        int ditheredNearer = 0;
        for (int by = 0; by < 12; ++by)
            for (int bx = 0; bx < 12; ++bx) {
                const auto source =
                    BlockMean([&](int x, int y) { return gradient[static_cast<std::size_t>(y * 96 + x)]; }, bx, by);
                const auto distance = [&](const MappedFrame& m) {
                    const auto mean = BlockMean(
                        [&](int x, int y) { return GameColour(m.Indices[static_cast<std::size_t>(y * 96 + x)]); }, bx,
                        by);
                    return std::hypot(mean[0] - source[0], mean[1] - source[1], mean[2] - source[2]);
                };
                const double p = distance(plain), d = distance(dithered);
                plainError += p, ditheredError += d;
                ditheredNearer += d <= p;
            }
        EXPECT_LT(ditheredError, plainError / 3) << MatchRuleName(rule);
        EXPECT_GE(ditheredNearer, 130) << MatchRuleName(rule);  // of 144 blocks
        EXPECT_GT(dithered.Report.MeanError, 0.0);
    }
    // Avoided indices are never chosen, dithered or not.
    std::bitset<256> avoid;
    for (int k = 240; k < 256; ++k) avoid.set(static_cast<std::size_t>(k));
    avoid.set(0);
    for (DitherMode dither : {DitherMode::None, DitherMode::FloydSteinberg})
        for (uint8_t index : MapToPalette(frame, GamePalette, MatchRule::Rgb, dither, avoid).Indices)
            ASSERT_FALSE(avoid[index]);
}

TEST(ImportFile, OpaqueNinetySixSquarePngAndBmpMapPixelForPixelByThePlainRule) {
    testsupport::TempDir dir;
    const RgbaPicture picture = importtest::MakePicture(96, 96, 21);
    testsupport::WriteBytes(dir.file("p.png"), pictureencode::EncodeRgbaPng(picture));
    testsupport::WriteBytes(dir.file("p.bmp"), [&] {  // 24-bit, bottom-up
        imagefiles::ByteWriter header;
        header.U8('B');
        header.U8('M');
        for (uint32_t v : {0u, 0u, 54u, 40u, 96u, 96u}) header.U32(v);
        header.U16(1);
        header.U16(24);
        std::vector<uint8_t> out = header.Release();
        out.resize(54, 0);
        for (int y = 95; y >= 0; --y)
            for (int x = 0; x < 96; ++x) {
                const auto p = importtest::PixelOf(picture, x, y);
                out.insert(out.end(), {p[2], p[1], p[0]});
            }
        return out;
    }());
    for (const char* name : {"p.png", "p.bmp"}) {
        imagefiles::FileFailure why;
        const auto result = ImportFile(dir.file(name), ImportSettings{}, &why);
        ASSERT_TRUE(result) << why.Detail;
        int exact = 0;
        for (int i = 0; i < kFramePixels; ++i) {
            const auto p = importtest::PixelOf(picture, i % 96, i / 96);
            ASSERT_EQ(result->Indices[static_cast<std::size_t>(i)],
                      modPalettes::NearestIndexPlain(GamePalette, p[0], p[1], p[2]))
                << name << " " << i;
            exact += GameColour(result->Indices[static_cast<std::size_t>(i)]) == Colour{p[0], p[1], p[2]};
        }
        EXPECT_EQ(result->Report.ExactPixels, exact);
        EXPECT_EQ(result->Frames.Composited.Pixels, picture.Pixels);
    }
}

}  // namespace
