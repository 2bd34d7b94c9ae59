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
// LighterAndGreyOfEveryGameIndex below.)
TEST(Effects, NothingOutsideTheSlotsAndTheIndices) {
    classUnitGAF set;
    set.ResetToBackground(1, 100), set.ResetToBackground(1, 256), set.ResetToBackground(1, -1);
    const std::array before{*set.Slot(0), *set.Slot(1), *set.Slot(2)};
    EXPECT_EQ(CountOf(before[1], 100), kPicturePixels);
    set.MakePicLighter(3), set.MakePicGrey(3), set.AddBlackCross(3);
    set.ResetToBackground(3, 4), set.AddCavedogLikeBorder(3), set.AddGrid(3);
    EXPECT_EQ((std::array{*set.Slot(0), *set.Slot(1), *set.Slot(2)}), before);
}

// Lighter and grey for every one of the 256 game indices, by the rules of their remaps:
// lighter is the game colour nearest to the colour moved a fifth of the way to white,
// (4c + 255) / 5 rounded to nearest; grey the game colour nearest to (m, m, m), m the median of
// the components. Checks by hand: 0 (000000) lightens to 333333, 24 from 59 (3B3323) and from 92
// (3B3B3B), so 59; 109 (071763) lightens to 394582, 47 from both 118 and 137, so 118 (truncating
// instead of rounding gives 384582, one nearer to 137); 255 stays. Grey: red 249 -> 0, yellow 251
// -> 255, the greys 80 to 95 stay.
// clang-format off
constexpr std::array<uint8_t, 256> kLighter = {
     59,  24, 165, 180, 107, 149, 134,  86,  83, 101,  59,  59,  59,  59,  59,  59,  // 0-15
     16,  17,  18,  18,  19,  20,  20,  21,  21,  22,  22,  22,  91,  57,  57,  92,  // 16-31
     32,  32,  33,  34,  35,  36,  36,  53,  37,  54,  54, 119,  91,  91,  92,  92,  // 32-47
     96,  49, 113,  84,  51,  52,   7,   7,  69,  69,  54,  55,  56,  91,  92,  92,  // 48-63
     64,  65,  83,  66,  67,  68,   7,  69,  54,  55,  71,  57,  57,  57,  92,  92,  // 64-79
     80,  81,  82,  82,  83,  84,  85, 247,  86,  87,  88,  89,  90,  90,  91,  92,  // 80-95
     96, 128,  97,  98,  99, 100, 100, 101, 102, 103, 103, 134, 135, 118, 119, 120,  // 96-111
     96,  49,  50, 114, 115, 116, 117, 117, 118, 118, 118,  91, 119,  91,  91,  92,  // 112-127
     48,  97, 113, 130, 131, 132, 133, 133, 134, 117, 118, 118, 118, 119, 120,  92,  // 128-143
    144, 145, 145, 146, 147, 148, 149, 149, 150, 220, 151, 152, 221, 153,  92,  92,  // 144-159
    160, 161, 161, 162, 163, 163,  54,  54,  54,  54,  56,  56,  71,  71,  92,  92,  // 160-175
    176, 177, 177, 178, 179, 180,  69,  70,  70,  56,  56,  71,  57,  57,  57,  58,  // 176-191
    192, 192, 193, 194, 195, 196, 196, 198, 199, 200, 200,  22,  22,  22,  23,  24,  // 192-207
    208, 196, 196, 210, 200,  22,  23,  24, 216, 146, 147, 148, 149, 150,  90,  91,  // 208-223
    224,  99, 101, 226, 104, 104, 137, 119, 232, 232, 233, 164, 165, 165,  71,  92,  // 224-239
     59,  59,  59,  59,  59,  59, 246,  84,  86, 211, 234, 208, 104, 253, 254, 255,  // 240-255
};
constexpr std::array<uint8_t, 256> kGrey = {
      0,   0,   0,   7,   0,   7,   7,   7,  84,  90,   0,   0,   0,   0,   0,   0,  // 0-15
     16,  82,  84,  86,   7,  89,  91,  91,  92,  59,  93,  93,  94,  62,  95,  63,  // 16-31
     82,  84, 247,   7,  89,  91,  92,  92,  93,  93,  93,  94,  94,  62,  95,  63,  // 32-47
     81,  82,  83,  85,   7,  89,  90,  90,  90,  91,  92,  59,  93,  94,  62,  63,  // 48-63
     80,  82,  83,  85,  86,  88,  89,  90,  91,  59,  94,  94,  62,  62,  95,  63,  // 64-79
     80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,  // 80-95
     16,  81,  83,  84,  86,   7,  89,  90,  91,  92,  93,  93,  94,  62,  95,  63,  // 96-111
     80,  82,  84,  85,  87,  88,  90,  91,  92,  92,  93,  93,  94,  94,  62,  95,  // 112-127
     81,  81,  83,  84, 247,  87,  88,  89,  90,  91,  92,  59,  93,  94,  62,  63,  // 128-143
    255,  81,  82,  84,  85,  87,  88,  89,  91,  91,  92,  93,  94,  62,  63,  63,  // 144-159
     82,  85,   7,  89,  91,  91,  92,  93,  93,  94,  94,  94,  62,  95,  63,  63,  // 160-175
     81,  83,  85,  86,   7,  89,  90,  91,  92,  59,  93,  94,  94,  62,  95,  63,  // 176-191
    255,  16,  81,  82,  84,  85,  87,  88,  91,  94,  94,  94,  62,  62,  62,  95,  // 192-207
    255,  84,   7,  91,  93,  62,  63,   0,  82,  84,  86,   7,  89,  91,  59,  94,  // 208-223
     82, 247,  89,  91,  93,  62,  63,   0,  88,  90,  59,  94,  94,  62,  62,  63,  // 224-239
      0,   0,   0,   0,   0,   0,  80, 247,   7,   0,   0, 255,   0, 255, 255, 255,  // 240-255
};
// clang-format on

TEST(Effects, LighterAndGreyOfEveryGameIndex) {
    classUnitGAF set;
    for (int k = 0; k < 256; ++k) {
        set.ResetToBackground(kHighlightedPic, int16_t(k));
        set.MakePicLighter(kHighlightedPic);
        set.ResetToBackground(kDisabledPic, int16_t(k));
        set.MakePicGrey(kDisabledPic);
        EXPECT_EQ(CountOf(*set.Slot(kHighlightedPic), kLighter[std::size_t(k)]), kPicturePixels) << "lighter " << k;
        EXPECT_EQ(CountOf(*set.Slot(kDisabledPic), kGrey[std::size_t(k)]), kPicturePixels) << "grey " << k;
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
