#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "picture/Effects.h"
#include "picture/classUnitGAF.h"
#include "PictureTestUtil.h"

namespace {

using picturetest::At;
using picturetest::CountOf;
using picturetest::Uniform;

Picture CrossOnWhite(int16_t size) {
    Picture pic = Uniform(255);
    DrawCross(pic, size);
    return pic;
}

// Lighter: black (51, 51, 51) is 24 from both 59 and 92, the lower index wins; white stays.
// Grey: the median component, then the nearest game colour: pure red 249 -> 0, yellow 251 ->
// 255, index 100 (123, 151, 255) -> grey 151 -> 86 (155, 155, 155); the greys 80 to 95 stay.
TEST(MakePicLighterAndGrey, WholeSlotRemaps) {
    struct Case {
        bool lighter;
        uint8_t from, to;
    };
    std::vector<Case> cases{{true, 0, 59}, {true, 255, 255}, {false, 249, 0}, {false, 251, 255}, {false, 100, 86}};
    for (uint8_t g = 80; g <= 95; ++g) cases.push_back({false, g, g});
    for (const Case& c : cases) {
        classUnitGAF set;
        set.ResetToBackground(1, c.from);
        c.lighter ? set.MakePicLighter(1) : set.MakePicGrey(1);
        EXPECT_EQ(CountOf(*set.Slot(1), c.to), std::size_t{kPicturePixels})
            << (c.lighter ? "lighter " : "grey ") << int(c.from) << " -> " << int(c.to);
    }
}

// reach = size / 2 rounded half to even in float, strokes 2 x reach + 1 wide along the flat
// index, so they carry over row ends; sizes up to 1 give one-pixel lines.
TEST(DrawCross, PixelCountsStrokesAndRowEndCarry) {
    const struct {
        int16_t size;
        std::size_t black;
    } cases[] = {{-32768, 192}, {-1, 192}, {0, 192}, {1, 192}, {2, 568}, {3, 936},
                 {4, 936},      {5, 936},  {6, 1296}, {7, 1648}, {9300, 9216}, {32767, 9216}};
    for (const auto& c : cases) EXPECT_EQ(CountOf(CrossOnWhite(c.size), 0), c.black) << "size " << c.size;
    EXPECT_EQ(CrossOnWhite(0), CrossOnWhite(1));
    EXPECT_EQ(CrossOnWhite(4), CrossOnWhite(5));  // reach 2 both
    const Picture one = CrossOnWhite(1);
    for (int x = 0; x < 96; ++x) EXPECT_TRUE(At(one, x, x) == 0 && At(one, 95 - x, x) == 0) << x;

    // Row y holds black at columns [0, last) and [first, 95], nothing between.
    const auto expectRow = [](const Picture& pic, int y, int last, int first) {
        for (int x = 0; x < 96; ++x) EXPECT_EQ(At(pic, x, y) == 0, x < last || x >= first) << x << "," << y;
    };
    const Picture two = CrossOnWhite(2);
    expectRow(two, 0, 2, 94);
    expectRow(two, 1, 3, 93);
    // Reach 3: the strokes around (95, 0) and (94, 1) run on into the start of the next row.
    for (int y = 0; y < 3; ++y) expectRow(CrossOnWhite(6), y, 4 + y, 92 - y);

    classUnitGAF set;
    set.AddBlackCross(0);  // default size 2
    EXPECT_EQ(*set.Slot(0), two);
}

TEST(ResetToBackground, FillsWithStorableColoursOnly) {
    classUnitGAF set;
    set.ResetToBackground(0, 0);
    EXPECT_EQ(CountOf(*set.Slot(0), 0), std::size_t{kPicturePixels});
    set.ResetToBackground(0);
    EXPECT_EQ(CountOf(*set.Slot(0), 255), std::size_t{kPicturePixels});
    set.ResetToBackground(1, 9);
    for (int16_t outside : {int16_t{256}, int16_t{-1}, int16_t{32767}}) set.ResetToBackground(1, outside);
    EXPECT_EQ(CountOf(*set.Slot(1), 9), std::size_t{kPicturePixels});
}

// The border on background 20 as the four bands leave it: bottom rows 96-b..95 0 over left
// columns 0..b 91 over top rows 0..b-1 255 over right columns 96-max(b,1)..95 87. Negative b
// leaves the right column alone; from 96 on the bottom band covers everything.
int ExpectedBorderPixel(int b, int x, int y) {
    if (y >= 96 - b) return 0;
    if (x <= b) return 91;
    if (y < b) return 255;
    if (x >= 96 - std::max(b, 1)) return 87;
    return 20;
}

// Every 16-bit size stays inside the picture (from 342 on, 96 x b leaves the 16-bit range).
TEST(DrawBorder, BandsAndCornersForAnySize) {
    for (int16_t b : {-32768, -5, 0, 1, 2, 3, 95, 96, 341, 342, 32767}) {
        Picture pic = Uniform(20);
        DrawBorder(pic, b);
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 96; ++x)
                ASSERT_EQ(At(pic, x, y), ExpectedBorderPixel(b, x, y)) << "b " << b << " at " << x << "," << y;
        Picture twice = pic;
        DrawBorder(twice, b);
        EXPECT_EQ(twice, pic) << "b " << b << " applied twice";
    }
    classUnitGAF set;
    set.AddCavedogLikeBorder(0);  // default size 1
    Picture one = Uniform(255);
    DrawBorder(one, 1);
    EXPECT_EQ(*set.Slot(0), one);
}

// Down to 80 x 80 and back leaves index-100 lines at 3, 9, ..., 93; black 15 collapses to 0.
TEST(AddGrid, UniformSlotsGetIndex100Lines) {
    for (uint8_t colour : {uint8_t{0}, uint8_t{255}, uint8_t{15}}) {
        classUnitGAF set;
        set.ResetToBackground(1, colour);
        set.AddGrid(1);
        const uint8_t rest = colour == 15 ? 0 : colour;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 96; ++x)
                ASSERT_EQ(At(*set.Slot(1), x, y), x % 6 == 3 || y % 6 == 3 ? kEmptyIndex : rest)
                    << int(colour) << " at " << x << "," << y;
    }
}

// An effect changes its own slot and nothing else; outside 0 to 2 it changes nothing at all.
TEST(Effects, TouchOnlyTheirOwnSlot) {
    const std::vector<std::function<void(classUnitGAF&, int32_t)>> effects{
        [](classUnitGAF& s, int32_t t) { s.MakePicLighter(t); },
        [](classUnitGAF& s, int32_t t) { s.MakePicGrey(t); },
        [](classUnitGAF& s, int32_t t) { s.AddBlackCross(t, 6); },
        [](classUnitGAF& s, int32_t t) { s.ResetToBackground(t, 4); },
        [](classUnitGAF& s, int32_t t) { s.AddCavedogLikeBorder(t, 2); },
        [](classUnitGAF& s, int32_t t) { s.AddGrid(t); },
    };
    for (std::size_t e = 0; e < effects.size(); ++e) {
        for (int32_t tapic : {3, -1, 1000, 1}) {
            classUnitGAF set;
            picturetest::FillSlotsDistinctly(set);
            auto expected = picturetest::Slots(set);
            effects[e](set, tapic);
            const auto after = picturetest::Slots(set);
            if (tapic == 1) {
                EXPECT_NE(after[1], expected[1]) << "effect " << e;
                expected[1] = after[1];
            }
            EXPECT_EQ(after, expected) << "effect " << e << " TAPic " << tapic;
        }
    }
}

}  // namespace
