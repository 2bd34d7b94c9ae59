// Fitting into the 96 x 96 frame: placement in every mode, pass-through, exact area averages in
// linear light, enlargement, trim, and compositing over the background.

#include <gtest/gtest.h>

#include <cmath>

#include "ImportTestSupport.h"
#include "imagefiles/modPalettes.h"
#include "import/Composite.h"
#include "import/FitPicture.h"
#include "import/ImportPicture.h"
#include "import/LinearLight.h"

namespace {

using namespace import;
using importtest::MakePicture;
using importtest::PixelOf;
using importtest::Solid;

TEST(LinearLight, EveryEightBitValueSurvivesTheRoundTripAndOutOfRangeValuesAreHeld) {
    for (int v = 0; v < 256; ++v) EXPECT_EQ(ToSrgb8(ToLinear(static_cast<uint8_t>(v))), v);
    // Known points of the sRGB curve: 188 is 0.5029 linear; 10 is on the straight part, 10 / 255 / 12.92.
    EXPECT_NEAR(ToLinear(188), 0.5029, 1e-4);
    EXPECT_NEAR(ToLinear(10), 0.003035, 1e-6);
    EXPECT_EQ(ToSrgb8(0.21404f), 127);  // 127.5 decodes to 0.214041...
    EXPECT_EQ(ToSrgb8(0.21405f), 128);
    EXPECT_EQ(ToSrgb8(-0.5f), 0);
    EXPECT_EQ(ToSrgb8(1.5f), 255);
    EXPECT_EQ(ToSrgb8(std::nanf("")), 0);
}

TEST(PlacePicture, SizesByRoundingHalvesToEvenAndCentresWithTheSpareHalfRoundedDown) {
    struct Case {
        int64_t w, h;
        FitMode fit;
        Placement want;
    };
    const Case cases[] = {
        {100, 200, FitMode::Contain, {48, 96, 24, 0}},
        {192, 97, FitMode::Contain, {96, 48, 0, 24}},  // 48.5 rounds to the even 48
        {192, 99, FitMode::Contain, {96, 50, 0, 23}},  // 49.5 rounds to the even 50
        {100, 35, FitMode::Contain, {96, 34, 0, 31}},  // 33.6; spare 62
        {5000, 1, FitMode::Contain, {96, 1, 0, 47}},   // never thinner than one pixel
        {97, 96, FitMode::Cover, {97, 96, -1, 0}},     // spare -1: the extra column goes on the left
        {10, 1000, FitMode::Cover, {96, 9600, 0, -4752}},
        {30, 7, FitMode::Stretch, {96, 96, 0, 0}},
        {31, 20, FitMode::None, {31, 20, 32, 38}},  // spare 65 and 76
    };
    for (const Case& c : cases) {
        const Placement p = PlacePicture(c.w, c.h, c.fit);
        EXPECT_EQ(std::tuple(p.Width, p.Height, p.Left, p.Top),
                  std::tuple(c.want.Width, c.want.Height, c.want.Left, c.want.Top))
            << c.w << " x " << c.h << " mode " << static_cast<int>(c.fit);
    }
}

TEST(FitToFrame, PicturesThatNeedNoScalingPassThroughByteForByte) {
    const auto square = MakePicture(96, 96, 5, false);
    for (FitMode fit : {FitMode::Contain, FitMode::Cover, FitMode::Stretch, FitMode::None})
        EXPECT_EQ(FitToFrame(square, fit).Pixels, square.Pixels);
    // None crops 101 x 98 to its middle: 3 columns off the left, 2 off the right, 1 row off the top.
    const auto large = MakePicture(101, 98, 7, false);
    const auto cropped = FitToFrame(large, FitMode::None);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) ASSERT_EQ(PixelOf(cropped, x, y), PixelOf(large, x + 3, y + 1));
}

TEST(FitToFrame, ReductionAveragesExactAreasInLinearLightWithPremultipliedAlpha) {
    // 144 x 144 to 96 x 96: each output pixel covers 1.5 source pixels per axis. Columns alternate
    // black and white; output column 0 covers column 0 (black, weight 1) and half of column 1
    // (white, weight 0.5): linear 1/3, which is sRGB 156. Column 1 covers half of column 1 and
    // column 2 (black): linear 1/3 again.
    importtest::RgbaPicture stripes{144, 144, {}}, pairs{192, 192, {}};
    for (int i = 0; i < 144 * 144; ++i)
        stripes.Pixels.insert(stripes.Pixels.end(), 3, i % 2 ? 255 : 0), stripes.Pixels.push_back(255);
    const auto fitted = FitToFrame(stripes, FitMode::Contain);
    EXPECT_EQ(ToSrgb8(1.0f / 3.0f), 156);
    EXPECT_EQ(PixelOf(fitted, 0, 0), (std::array<uint8_t, 4>{156, 156, 156, 255}));
    EXPECT_EQ(PixelOf(fitted, 1, 50), (std::array<uint8_t, 4>{156, 156, 156, 255}));
    // Premultiplied: a transparent pixel's colour does not bleed in. Half red opaque, half
    // transparent green gives red at half alpha; enlarged (Catmull-Rom), before the first centre
    // the edge sample.
    for (int i = 0; i < 192 * 192; ++i)
        pairs.Pixels.insert(pairs.Pixels.end(),
                            {uint8_t(i % 2 ? 0 : 255), uint8_t(i % 2 ? 255 : 0), 0, uint8_t(i % 2 ? 0 : 255)});
    EXPECT_EQ(PixelOf(FitToFrame(pairs, FitMode::Contain), 10, 10), (std::array<uint8_t, 4>{255, 0, 0, 128}));
    const auto one = FitToFrame(importtest::RgbaPicture{2, 1, {255, 0, 0, 255, 0, 255, 0, 0}}, FitMode::Stretch);
    EXPECT_EQ(PixelOf(one, 0, 0), (std::array<uint8_t, 4>{255, 0, 0, 255}));
    EXPECT_EQ(PixelOf(one, 95, 95)[3], 0);
}

TEST(FitToFrame, EnlargementInterpolatesWithCatmullRom) {
    // 2 x 1 black and white stretched: output column u samples the source at (u + 0.5) / 48 - 0.5.
    // Column 47 sits at t = 0.48958 between the two: Catmull-Rom gives white the weight 0.48698
    // (linear), sRGB 185; a linear blend would give 0.48958, sRGB 186. The edges take the samples.
    const auto ramp = FitToFrame(importtest::RgbaPicture{2, 1, {0, 0, 0, 255, 255, 255, 255, 255}}, FitMode::Stretch);
    EXPECT_EQ(PixelOf(ramp, 47, 0), (std::array<uint8_t, 4>{185, 185, 185, 255}));
    EXPECT_EQ(PixelOf(ramp, 0, 95), (std::array<uint8_t, 4>{0, 0, 0, 255}));
    EXPECT_EQ(PixelOf(ramp, 95, 0), (std::array<uint8_t, 4>{255, 255, 255, 255}));
}

TEST(TrimTransparentEdges, CropsOnlyFullyTransparentEdgeRowsAndColumns) {
    importtest::RgbaPicture p = Solid(9, 7, {1, 2, 3, 0});
    const auto set = [&](int x, int y, uint8_t a) { p.Pixels[static_cast<std::size_t>((y * 9 + x) * 4 + 3)] = a; };
    set(2, 1, 1), set(6, 4, 255), set(4, 2, 0);
    const auto trimmed = TrimTransparentEdges(p);
    EXPECT_EQ(std::tuple(trimmed.Width, trimmed.Height), std::tuple(5, 4));
    EXPECT_EQ(PixelOf(trimmed, 0, 0)[3], 1);
    EXPECT_EQ(PixelOf(trimmed, 4, 3)[3], 255);
    EXPECT_EQ(TrimTransparentEdges(Solid(3, 3, {9, 9, 9, 0})).Width, 0);
    ImportSettings settings;
    settings.Trim = true;
    imagefiles::FileFailure why;
    EXPECT_FALSE(PrepareFrames(Solid(40, 40, {255, 255, 255, 0}), settings, &why));
    EXPECT_EQ(why.Kind, imagefiles::FailureKind::FullyTransparent);
    EXPECT_EQ(why.Detail, "the picture is fully transparent");
}

TEST(Composite, RoundedIntegerBlendAndTheBackgroundWhereThePictureDoesNotReach) {
    EXPECT_EQ(CompositeSample(1, 128, 0), 1);  // 128 / 255 = 0.502: rounds up
    EXPECT_EQ(CompositeSample(1, 127, 0), 0);
    EXPECT_EQ(CompositeSample(200, 100, 50), 109);  // (20,000 + 7,750) / 255 = 108.8
    EXPECT_EQ(CompositeSample(9, 255, 200), 9);
    EXPECT_EQ(CompositeSample(9, 0, 200), 200);

    ImportSettings settings;
    settings.Background = {0x20, 0x28, 0x30};
    auto frames = PrepareFrames(Solid(96, 48, {250, 0, 0, 128}), settings, nullptr);
    ASSERT_TRUE(frames);
    EXPECT_EQ(PixelOf(frames->Composited, 5, 23), (std::array<uint8_t, 4>{0x20, 0x28, 0x30, 255}));
    EXPECT_EQ(PixelOf(frames->Composited, 5, 24), (std::array<uint8_t, 4>{141, 20, 24, 255}));
    // A picture background: fitted with cover over black, behind the picture.
    auto background = Solid(300, 100, {100, 100, 100, 255});
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 150; ++x) background.Pixels[static_cast<std::size_t>((y * 300 + x) * 4 + 3)] = 0;
    settings.BackgroundFrame = std::make_shared<const imagefiles::RgbaPicture>(MakeBackgroundFrame(background));
    frames = PrepareFrames(Solid(96, 48, {250, 0, 0, 255}), settings, nullptr);
    ASSERT_TRUE(frames);
    EXPECT_EQ(PixelOf(frames->Composited, 10, 0),
              (std::array<uint8_t, 4>{0, 0, 0, 255}));  // transparent half over black
    EXPECT_EQ(PixelOf(frames->Composited, 90, 95), (std::array<uint8_t, 4>{100, 100, 100, 255}));  // opaque half
    EXPECT_EQ(PixelOf(frames->Composited, 90, 50), (std::array<uint8_t, 4>{250, 0, 0, 255}));
}

}  // namespace
