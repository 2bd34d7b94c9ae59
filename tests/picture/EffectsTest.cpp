#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "picture/CrossSizeText.h"
#include "picture/Effects.h"
#include "picture/classUnitGAF.h"

namespace {

uint8_t At(const Picture& pic, int x, int y) { return pic[static_cast<std::size_t>(y * kPictureSide + x)]; }
int CountOf(const Picture& pic, uint8_t index) { return static_cast<int>(std::count(pic.begin(), pic.end(), index)); }
Picture Drawn(int16_t size, void (*draw)(Picture&, int16_t), uint8_t background = 255) {
    Picture pic;
    pic.fill(background);
    draw(pic, size);
    return pic;
}

// Fills outside 0 to 255, and any effect on slot 3, change nothing. (The effects on whole slots:
// LighterAndGreyRemapEveryPixelOfTheSlot below.)
TEST(Effects, NothingOutsideTheSlotsAndTheIndices) {
    classUnitGAF set;
    set.ResetToBackground(1, 100), set.ResetToBackground(1, 256), set.ResetToBackground(1, -1);
    const std::array before{*set.Slot(0), *set.Slot(1), *set.Slot(2)};
    EXPECT_EQ(CountOf(before[1], 100), kPicturePixels);
    set.MakePicLighter(3), set.MakePicGrey(3), set.AddBlackCross(3);
    set.ResetToBackground(3, 4), set.AddCavedogLikeBorder(3), set.AddGrid(3);
    EXPECT_EQ((std::array{*set.Slot(0), *set.Slot(1), *set.Slot(2)}), before);
}

// Lighter is the game colour nearest to the colour moved a fifth of the way to white,
// (4c + 255) / 5 rounded to nearest; grey the game colour nearest to (m, m, m), m the median of
// the components. By hand: 0 (000000) lightens to 333333, 24 from 59 (3B3323) and from 92
// (3B3B3B), so the lower 59; 109 (071763) lightens to 394582, 47 from both 118 and 137, so 118
// (truncating instead of rounding gives 384582, one nearer to 137); white stays. Grey: red 249 ->
// 0, yellow 251 -> 255, a grey stays.
TEST(Effects, LighterAndGreyRemapEveryPixelOfTheSlot) {
    const int lighter[][2] = {{0, 59}, {109, 118}, {255, 255}};
    const int grey[][2] = {{249, 0}, {251, 255}, {80, 80}, {95, 95}};
    classUnitGAF set;
    for (const auto& [index, want] : lighter) {
        set.ResetToBackground(kHighlightedPic, int16_t(index));
        set.MakePicLighter(kHighlightedPic);
        EXPECT_EQ(CountOf(*set.Slot(kHighlightedPic), uint8_t(want)), kPicturePixels) << "lighter " << index;
    }
    for (const auto& [index, want] : grey) {
        set.ResetToBackground(kDisabledPic, int16_t(index));
        set.MakePicGrey(kDisabledPic);
        EXPECT_EQ(CountOf(*set.Slot(kDisabledPic), uint8_t(want)), kPicturePixels) << "grey " << index;
    }
}

// reach = size / 2 rounded half to even, strokes 2 x reach + 1 wide along the flat index, so they
// carry over row ends; sizes up to 1 give one-pixel lines. AddBlackCross draws it on its own slot.
TEST(DrawCross, PixelCountsStrokesAndRowEndCarry) {
    const int black[][2] = {{1, 192}, {2, 568}, {6, 1296}, {32767, 9216}};
    for (const auto& [size, count] : black) EXPECT_EQ(CountOf(Drawn(int16_t(size), DrawCross), 0), count) << size;
    EXPECT_EQ(Drawn(4, DrawCross), Drawn(5, DrawCross));
    // Row y holds black at columns [0, last) and [first, 95], nothing between.
    const auto expectRow = [](const Picture& pic, int y, int last, int first) {
        for (int x = 0; x < 96; ++x) EXPECT_EQ(At(pic, x, y) == 0, x < last || x >= first) << x << "," << y;
    };
    for (int y = 0; y < 2; ++y) expectRow(Drawn(2, DrawCross), y, 2 + y, 94 - y);
    // Reach 3: the strokes around (95, 0) and (94, 1) run on into the start of the next row.
    for (int y = 0; y < 3; ++y) expectRow(Drawn(6, DrawCross), y, 4 + y, 92 - y);
    classUnitGAF set;
    set.AddBlackCross(2);
    EXPECT_EQ(CountOf(*set.Slot(1), 255), kPicturePixels);
    EXPECT_EQ(*set.Slot(2), Drawn(2, DrawCross));
}

// Bands on background 20 in drawing order: bottom rows 96-b..95 0 over left columns 0..b 91 over
// top rows 0..b-1 255 over right columns 96-max(b,1)..95 87; any 16-bit size stays inside.
TEST(DrawBorder, BandsAndCornersAndTwiceIsOnce) {
    for (int b : {-5, 1, 3, 32767}) {
        Picture pic = Drawn(int16_t(b), DrawBorder, 20);
        for (int pass = 1; pass <= 2; ++pass, DrawBorder(pic, int16_t(b)))  // pass 2 checks it drawn twice
            for (int y = 0; y < 96; ++y)
                for (int x = 0; x < 96; ++x)
                    ASSERT_EQ(At(pic, x, y), y >= 96 - b                ? 0
                                             : x <= b                   ? 91
                                             : y < b                    ? 255
                                             : x >= 96 - std::max(b, 1) ? 87
                                                                        : 20)
                        << "b " << b << " pass " << pass << " at " << x << "," << y;
    }
}

// Down to 80 x 80 and back leaves index-100 lines at 3, 9, ..., 93; black 15 collapses to 0.
TEST(AddGrid, Index100LinesOnAUniformSlot) {
    classUnitGAF set;
    set.ResetToBackground(1, 15);
    set.AddGrid(1);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x)
            ASSERT_EQ(At(*set.Slot(1), x, y), x % 6 == 3 || y % 6 == 3 ? 100 : 0) << x << "," << y;
}

// The typed cross size: blanks and a sign allowed, halves to the even neighbour, 16-bit range.
TEST(ParseCrossSize, VerdictsAndRounding) {
    using enum CrossSizeVerdict;
    const std::tuple<const char*, CrossSizeVerdict, int> cases[] = {{" 2.5 ", Accepted, 2},
                                                                    {"3.5", Accepted, 4},
                                                                    {"-2.5", Accepted, -2},
                                                                    {"", Empty, 0},
                                                                    {"2.50000000000000000001", Accepted, 3},
                                                                    {"1e2", Accepted, 100},
                                                                    {"-32768", Accepted, -32768},
                                                                    {"   ", NotANumber, 0},
                                                                    {"40000", OutOfRange, 0},
                                                                    {"32767.5", OutOfRange, 0}};
    for (const auto& [text, verdict, size] : cases) {
        const CrossSizeAnswer answer = ParseCrossSize(text);
        EXPECT_EQ(answer.Verdict, verdict) << '"' << text << '"';
        if (verdict == Accepted) {
            EXPECT_EQ(answer.Size, size) << '"' << text << '"';
        }
    }
}

}  // namespace
