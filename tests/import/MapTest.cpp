// Mapping onto the game palette: the plain rule exactly, avoided indices, OKLab, dithering and the
// strict check. (Whole imports from files are compared with loads of the same pictures in
// tests/picture.)

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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
    RgbaPicture frame{kPictureSide, kPictureSide, {}};
    for (const Colour& c : colours) frame.Pixels.insert(frame.Pixels.end(), {c.Red, c.Green, c.Blue, 255});
    return frame;
}

Colour GameColour(int index) {
    const PaletteEntry& e = GamePalette[static_cast<std::size_t>(index)];
    return {e.Red, e.Green, e.Blue};
}

// Repeated game colours: black is 0, 10-15 and 240-245; 808080 is 7 and 248; FFFF00 is 208 and
// 251. Avoiding the lowest gives the next. In a palette of 255 blacks and white at 255, grey 646464
// is 300 from black and 465 from white. The plain rule's fallback is 255 at distance 765, and where
// 255 is avoided, the lowest of the farthest.
TEST(PaletteMatcher, NearestTakesTheLowestIndexNotAvoidedAndTheFallbackKeepsThePlainRule) {
    Palette blackAndWhite{};
    blackAndWhite[255] = {255, 255, 255, 0};
    const Avoid lowest = Avoid{}.set(0).set(7).set(208);
    const std::tuple<const Palette&, MatchRule, Avoid, Colour, int> cases[] = {
        {GamePalette, MatchRule::Rgb, lowest, {0x80, 0x80, 0x80}, 248},
        {GamePalette, MatchRule::Perceptual, {}, {0xFF, 0xFF, 0}, 208},
        {GamePalette, MatchRule::Perceptual, lowest, {0, 0, 0}, 10},
        {blackAndWhite, MatchRule::Rgb, Avoid{}.set(0), {100, 100, 100}, 1},
        {blackAndWhite, MatchRule::Perceptual, {}, {200, 200, 200}, 255},
        {blackAndWhite, MatchRule::Rgb, ~Avoid{}.set(3), {255, 255, 255}, 3},
        {blackAndWhite, MatchRule::Rgb, ~Avoid{}.set(255), {0, 0, 0}, 255}};
    for (const auto& [palette, rule, avoid, colour, index] : cases)
        EXPECT_EQ(PaletteMatcher(palette, rule, avoid).Nearest(colour), index) << index;
    EXPECT_EQ(PaletteMatcher(GamePalette, MatchRule::Perceptual, {}).Distance(GameColour(100), 100), 0.0);
}

TEST(MapToPalette, GameColoursComeThroughUnchangedInEveryModeAndStrictNamesTheFirstOtherPixel) {
    std::vector<Colour> colours;
    for (int i = 0; i < kPicturePixels; ++i) colours.push_back(GameColour((i * 7 + i / 96) % 256));
    const RgbaPicture frame = FrameOf(colours);
    for (MatchRule rule : {MatchRule::Rgb, MatchRule::Perceptual})
        for (DitherMode dither : {DitherMode::None, DitherMode::FloydSteinberg}) {
            const MappedFrame mapped = MapToPalette(frame, GamePalette, rule, dither, {});
            for (int i = 0; i < kPicturePixels; ++i)
                ASSERT_EQ(GameColour(mapped.Indices[std::size_t(i)]), colours[std::size_t(i)]) << i;
            EXPECT_EQ(std::tuple(mapped.Report.ExactPixels, mapped.Report.MeanError, mapped.Report.LargestError),
                      std::tuple(kPicturePixels, 0.0, 0.0));
        }
    imagefiles::FileFailure why;
    EXPECT_TRUE(CheckExactColours(frame, GamePalette, {}, &why));
    auto off = colours;
    off[96 * 2 + 5] = {0x12, 0x34, 0x56}, off[96 * 3 + 1] = {1, 2, 3};
    EXPECT_EQ(MapToPalette(FrameOf(off), GamePalette, MatchRule::Rgb, DitherMode::None, {}).Report.ExactPixels,
              kPicturePixels - 2);
    EXPECT_FALSE(CheckExactColours(FrameOf(off), GamePalette, {}, &why));
    EXPECT_EQ(std::pair(why.Kind, why.Detail),
              std::pair(imagefiles::FailureKind::NotExact, std::string("pixel 5,2 is #123456")));
    // An avoided index's colour is not allowed either (unless a kept index holds the same colour).
    EXPECT_FALSE(
        CheckExactColours(FrameOf(std::vector(kPicturePixels, GameColour(252))), GamePalette, Avoid{}.set(252), &why));
    EXPECT_EQ(why.Detail, "pixel 0,0 is #0000FF");
    EXPECT_TRUE(
        CheckExactColours(FrameOf(std::vector(kPicturePixels, GameColour(0))), GamePalette, Avoid{}.set(0), &why));
}

// Floyd-Steinberg written out plainly, one pixel at a time over a whole frame of carried error:
// even rows left to right, odd rows right to left; the pixel in linear light plus its error, held
// to [0, 1], rounded to 8-bit sRGB and matched over all 256 entries; the error to the chosen
// entry's colour goes 7/16 to the next pixel of the row, 3/16 below the previous one, 5/16 below
// and 1/16 below the next. The report compares each chosen entry with the pixel itself.
MappedFrame SlowDither(const std::vector<Colour>& pixels, MatchRule rule) {
    const auto distance = [&](Colour a, Colour b) -> double {
        if (rule == MatchRule::Rgb)
            return std::abs(a.Red - b.Red) + std::abs(a.Green - b.Green) + std::abs(a.Blue - b.Blue);
        const Oklab p = OklabFromSrgb(a), q = OklabFromSrgb(b);
        const float dl = p.L - q.L, da = p.A - q.A, db = p.B - q.B;
        return dl * dl + da * da + db * db;
    };
    const auto nearest = [&](Colour c) {
        int best = rule == MatchRule::Rgb ? 255 : 0;
        double bestDistance = rule == MatchRule::Rgb ? 765 : distance(c, GameColour(0));
        for (int k = 0; k < 256; ++k)
            if (distance(c, GameColour(k)) < bestDistance) best = k, bestDistance = distance(c, GameColour(k));
        return best;
    };
    std::vector<std::array<float, 3>> error(pixels.size() + 2 * 96 + 2);  // a spare row below
    const auto carry = [&](int x, int y, int c, float amount) {
        if (x >= 0 && x < 96 && y < 96) error[std::size_t(y * 96 + x)][std::size_t(c)] += amount;
    };
    const auto reportDistance = [&](Colour pixel, Colour entry) {
        if (rule == MatchRule::Rgb) return distance(pixel, entry);
        const Oklab p = OklabFromSrgb(pixel), q = OklabFromSrgb(entry);
        const double dl = double{p.L} - q.L, da = double{p.A} - q.A, db = double{p.B} - q.B;
        return std::sqrt(dl * dl + da * da + db * db);
    };
    MappedFrame mapped;
    mapped.Report.Rule = rule;
    for (int y = 0; y < 96; ++y) {
        const int dx = y % 2 == 0 ? 1 : -1;
        for (int n = 0; n < 96; ++n) {
            const int x = dx == 1 ? n : 95 - n;
            const Colour pixel = pixels[std::size_t(y * 96 + x)];
            const uint8_t samples[3] = {pixel.Red, pixel.Green, pixel.Blue};
            float wanted[3];
            uint8_t asked[3];
            for (int c = 0; c < 3; ++c) {
                wanted[c] =
                    std::clamp(ToLinear(samples[c]) + error[std::size_t(y * 96 + x)][std::size_t(c)], 0.0f, 1.0f);
                asked[c] = ToSrgb8(wanted[c]);
            }
            const int index = nearest({asked[0], asked[1], asked[2]});
            mapped.Indices[std::size_t(y * 96 + x)] = uint8_t(index);
            const Colour got = GameColour(index);
            const uint8_t chosen[3] = {got.Red, got.Green, got.Blue};
            for (int c = 0; c < 3; ++c) {
                const float e = wanted[c] - ToLinear(chosen[c]);
                carry(x + dx, y, c, e * (7.0f / 16.0f));
                carry(x - dx, y + 1, c, e * (3.0f / 16.0f));
                carry(x, y + 1, c, e * (5.0f / 16.0f));
                carry(x + dx, y + 1, c, e * (1.0f / 16.0f));
            }
            const double d = reportDistance(pixel, got);
            mapped.Report.ExactPixels += d == 0;
            mapped.Report.MeanError += d;
            mapped.Report.LargestError = std::max(mapped.Report.LargestError, d);
        }
    }
    mapped.Report.MeanError /= kPicturePixels;
    return mapped;
}

// A picture no palette holds well: saturated corners whose error runs past the colour cube, a
// slow gradient, and a different picture on every row so that the scan order shows.
TEST(MapToPalette, DitheringGivesExactlyTheIndicesOfSerpentineFloydSteinberg) {
    std::vector<Colour> pixels;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x)
            pixels.push_back(y < 24 ? Colour{255, uint8_t(250 - x), uint8_t(x < 48 ? 3 : 252)}
                                    : Colour{uint8_t(x * 255 / 95), uint8_t(60 + y + (x * y) % 7), uint8_t(200 - x)});
    for (MatchRule rule : {MatchRule::Rgb, MatchRule::Perceptual}) {
        const MappedFrame want = SlowDither(pixels, rule);
        const MappedFrame got = MapToPalette(FrameOf(pixels), GamePalette, rule, DitherMode::FloydSteinberg, {});
        int wrong = 0;
        for (int i = 0; i < kPicturePixels; ++i)
            if (got.Indices[std::size_t(i)] != want.Indices[std::size_t(i)] && ++wrong <= 3)
                ADD_FAILURE() << MatchRuleName(rule) << " pixel " << i % 96 << "," << i / 96 << ": "
                              << int(got.Indices[std::size_t(i)]) << ", not " << int(want.Indices[std::size_t(i)]);
        EXPECT_EQ(wrong, 0) << MatchRuleName(rule);
        EXPECT_EQ(got.Report.ExactPixels, want.Report.ExactPixels) << MatchRuleName(rule);
        EXPECT_NEAR(got.Report.MeanError, want.Report.MeanError, 1e-12) << MatchRuleName(rule);
        EXPECT_NEAR(got.Report.LargestError, want.Report.LargestError, 1e-12) << MatchRuleName(rule);
    }
    // Avoided indices are never chosen, dithered or not.
    Avoid avoid;
    for (int k = 240; k < 256; ++k) avoid.set(std::size_t(k));
    avoid.set(0);
    for (DitherMode dither : {DitherMode::None, DitherMode::FloydSteinberg})
        for (uint8_t index : MapToPalette(FrameOf(pixels), GamePalette, MatchRule::Rgb, dither, avoid).Indices)
            ASSERT_FALSE(avoid[index]);
}

}  // namespace
