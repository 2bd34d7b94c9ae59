// Mapping onto the game palette: the plain rule exactly, avoided indices, OKLab, dithering and the
// strict check. (Whole imports from files are compared with loads of the same pictures in
// tests/picture.)

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "ImportTestSupport.h"
#include "imagefiles/modPalettes.h"
#include "import/ImportPicture.h"
#include "import/ImportSettingsText.h"
#include "import/LinearLight.h"
#include "import/MapToPalette.h"
#include "import/Oklab.h"
#include "import/PaletteMatcher.h"

namespace {

using namespace import;
using imagefiles::RgbaPicture;
using modPalettes::GamePalette;
using Avoid = std::bitset<256>;

RgbaPicture FrameOf(const std::vector<Colour>& colours) {
    RgbaPicture frame{kFrameSide, kFrameSide, {}};
    for (const Colour& c : colours) frame.Pixels.insert(frame.Pixels.end(), {c.Red, c.Green, c.Blue, 255});
    return frame;
}

Colour GameColour(int index) {
    const PaletteEntry& e = GamePalette[static_cast<std::size_t>(index)];
    return {e.Red, e.Green, e.Blue};
}

// Random colours against a search of every index that is not avoided, by the sum of the three
// differences (RGB) or the squared distance in OKLab (perceptual): the lowest index of the
// nearest, or one of the same colour (perceptual distances that tie may differ in the last bits).
TEST(PaletteMatcher, BothRulesAreNearestAmongTheIndicesNotAvoided) {
    std::array<Oklab, 256> lab;
    for (int k = 0; k < 256; ++k) lab[std::size_t(k)] = OklabFromSrgb(GameColour(k));
    std::mt19937 random(3);
    for (MatchRule rule : {MatchRule::Rgb, MatchRule::Perceptual})
        for (const Avoid& avoid : {Avoid{}, Avoid{}.set(0).set(7).set(208).set(100)}) {
            PaletteMatcher matcher(GamePalette, rule, avoid);
            for (int i = 0; i < 3000; ++i) {
                const Colour q{uint8_t(random()), uint8_t(random()), uint8_t(random())};
                const Oklab p = OklabFromSrgb(q);
                int best = -1;
                double bestDistance = 1e9;
                for (int k = 0; k < 256; ++k) {
                    const Colour e = GameColour(k);
                    const Oklab& l = lab[std::size_t(k)];
                    const double d =
                        rule == MatchRule::Rgb
                            ? std::abs(q.Red - e.Red) + std::abs(q.Green - e.Green) + std::abs(q.Blue - e.Blue)
                            : std::pow(p.L - l.L, 2) + std::pow(p.A - l.A, 2) + std::pow(p.B - l.B, 2);
                    if (!avoid[std::size_t(k)] && d < bestDistance - 1e-12) best = k, bestDistance = d;
                }
                if (rule == MatchRule::Rgb)
                    ASSERT_EQ(matcher.Nearest(q), best) << MatchRuleName(rule) << " " << avoid.count();
                else
                    ASSERT_EQ(GameColour(matcher.Nearest(q)), GameColour(best)) << avoid.count();
            }
        }
}

// Repeated game colours: black is 0, 10-15 and 240-245; 808080 is 7 and 248; FFFF00 is 208 and
// 251. Avoiding the lowest gives the next. The plain rule's fallback is 255 at distance 765, and
// where 255 is avoided, the lowest of the farthest.
TEST(PaletteMatcher, ExactColoursTakeTheLowestIndexNotAvoidedAndTheFallbackKeepsThePlainRule) {
    Palette blackAndWhite{};
    blackAndWhite[255] = {255, 255, 255, 0};
    const Avoid lowest = Avoid{}.set(0).set(7).set(208);
    const std::tuple<const Palette&, MatchRule, Avoid, Colour, int> cases[] = {
        {GamePalette, MatchRule::Rgb, lowest, {0x80, 0x80, 0x80}, 248},
        {GamePalette, MatchRule::Perceptual, {}, {0xFF, 0xFF, 0}, 208},
        {GamePalette, MatchRule::Perceptual, lowest, {0, 0, 0}, 10},
        {blackAndWhite, MatchRule::Rgb, ~Avoid{}.set(3), {255, 255, 255}, 3},
        {blackAndWhite, MatchRule::Rgb, ~Avoid{}.set(255), {0, 0, 0}, 255}};
    for (const auto& [palette, rule, avoid, colour, index] : cases)
        EXPECT_EQ(PaletteMatcher(palette, rule, avoid).Nearest(colour), index) << index;
    EXPECT_EQ(PaletteMatcher(GamePalette, MatchRule::Perceptual, {}).Distance(GameColour(100), 100), 0.0);
}

TEST(MapToPalette, GameColoursComeThroughUnchangedInEveryModeAndStrictNamesTheFirstOtherPixel) {
    std::vector<Colour> colours;
    for (int i = 0; i < kFramePixels; ++i) colours.push_back(GameColour((i * 7 + i / 96) % 256));
    const RgbaPicture frame = FrameOf(colours);
    for (MatchRule rule : {MatchRule::Rgb, MatchRule::Perceptual})
        for (DitherMode dither : {DitherMode::None, DitherMode::FloydSteinberg}) {
            const MappedFrame mapped = MapToPalette(frame, GamePalette, rule, dither, {});
            for (int i = 0; i < kFramePixels; ++i)
                ASSERT_EQ(GameColour(mapped.Indices[std::size_t(i)]), colours[std::size_t(i)]) << i;
            EXPECT_EQ(std::tuple(mapped.Report.ExactPixels, mapped.Report.MeanError, mapped.Report.LargestError),
                      std::tuple(kFramePixels, 0.0, 0.0));
        }
    imagefiles::FileFailure why;
    EXPECT_TRUE(CheckExactColours(frame, GamePalette, {}, &why));
    auto off = colours;
    off[96 * 2 + 5] = {0x12, 0x34, 0x56}, off[96 * 3 + 1] = {1, 2, 3};
    EXPECT_EQ(MapToPalette(FrameOf(off), GamePalette, MatchRule::Rgb, DitherMode::None, {}).Report.ExactPixels,
              kFramePixels - 2);
    EXPECT_FALSE(CheckExactColours(FrameOf(off), GamePalette, {}, &why));
    EXPECT_EQ(std::pair(why.Kind, why.Detail),
              std::pair(imagefiles::FailureKind::NotExact, std::string("pixel 5,2 is #123456")));
    // An avoided index's colour is not allowed either (unless a kept index holds the same colour).
    EXPECT_FALSE(
        CheckExactColours(FrameOf(std::vector(kFramePixels, GameColour(252))), GamePalette, Avoid{}.set(252), &why));
    EXPECT_EQ(why.Detail, "pixel 0,0 is #0000FF");
    EXPECT_TRUE(
        CheckExactColours(FrameOf(std::vector(kFramePixels, GameColour(0))), GamePalette, Avoid{}.set(0), &why));
}

TEST(MapToPalette, DitheringKeepsBlockMeansNearerTheSourceAndIsDeterministic) {
    std::vector<Colour> gradient;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) gradient.push_back({uint8_t(x * 255 / 95), uint8_t(60 + y), uint8_t(200 - x)});
    const RgbaPicture frame = FrameOf(gradient);
    // Mean colour of each 8 x 8 block in linear light.
    const auto blockMeans = [](const std::function<Colour(std::size_t)>& at) {
        std::vector<std::array<double, 3>> means(144);
        for (std::size_t k = 0; k < kFramePixels; ++k) {
            const Colour c = at(k);
            auto& mean = means[k / 96 / 8 * 12 + k % 96 / 8];
            mean[0] += ToLinear(c.Red) / 64, mean[1] += ToLinear(c.Green) / 64, mean[2] += ToLinear(c.Blue) / 64;
        }
        return means;
    };
    const auto source = blockMeans([&](std::size_t k) { return gradient[k]; });
    for (MatchRule rule : {MatchRule::Rgb, MatchRule::Perceptual}) {
        const MappedFrame plain = MapToPalette(frame, GamePalette, rule, DitherMode::None, {});
        const MappedFrame dithered = MapToPalette(frame, GamePalette, rule, DitherMode::FloydSteinberg, {});
        EXPECT_EQ(MapToPalette(frame, GamePalette, rule, DitherMode::FloydSteinberg, {}).Indices, dithered.Indices);
        const auto plainMeans = blockMeans([&](std::size_t k) { return GameColour(plain.Indices[k]); });
        const auto ditheredMeans = blockMeans([&](std::size_t k) { return GameColour(dithered.Indices[k]); });
        double plainError = 0, ditheredError = 0;
        for (std::size_t b = 0; b < 144; ++b) {
            const auto distance = [&](const std::array<double, 3>& m) {
                return std::hypot(m[0] - source[b][0], m[1] - source[b][1], m[2] - source[b][2]);
            };
            const double p = distance(plainMeans[b]), d = distance(ditheredMeans[b]);
            plainError += p, ditheredError += d;
        }
        EXPECT_LT(ditheredError, plainError / 3) << MatchRuleName(rule);
        EXPECT_GT(dithered.Report.MeanError, 0.0);
    }
    // Avoided indices are never chosen, dithered or not.
    Avoid avoid;
    for (int k = 240; k < 256; ++k) avoid.set(std::size_t(k));
    avoid.set(0);
    for (DitherMode dither : {DitherMode::None, DitherMode::FloydSteinberg})
        for (uint8_t index : MapToPalette(frame, GamePalette, MatchRule::Rgb, dither, avoid).Indices)
            ASSERT_FALSE(avoid[index]);
}

}  // namespace
