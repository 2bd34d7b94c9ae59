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
    pic.fill(background), draw(pic, size);
    return pic;
}

// Lighter: black (51, 51, 51) is 24 from both 59 and 92, the lower index wins; white stays. Grey:
// the median component, then the nearest game colour: red 249 -> 0, yellow 251 -> 255, index 100
// (123, 151, 255) -> grey 151 -> 86. Fills outside 0 to 255, and any effect on slot 3, change nothing.
TEST(Effects, WholeSlotRemapsAndNothingOutsideTheSlots) {
    const int cases[][3] = {{1, 0, 59}, {1, 255, 255}, {0, 249, 0}, {0, 251, 255}, {0, 100, 86}};  // lighter?, from, to
    classUnitGAF set;
    for (const auto& [lighter, from, to] : cases) {
        set.ResetToBackground(1, int16_t(from));
        lighter ? set.MakePicLighter(1) : set.MakePicGrey(1);
        EXPECT_EQ(CountOf(*set.Slot(1), uint8_t(to)), kPicturePixels) << lighter << " from " << from;
    }
    set.ResetToBackground(1, 256), set.ResetToBackground(1, -1);
    const std::array before{*set.Slot(0), *set.Slot(1), *set.Slot(2)};
    EXPECT_EQ(CountOf(before[1], 86), kPicturePixels);
    set.MakePicLighter(3), set.MakePicGrey(3), set.AddBlackCross(3), set.ResetToBackground(3, 4);
    set.AddCavedogLikeBorder(3), set.AddGrid(3);
    EXPECT_EQ((std::array{*set.Slot(0), *set.Slot(1), *set.Slot(2)}), before);
}

// reach = size / 2 rounded half to even, strokes 2 x reach + 1 wide along the flat index, so they
// carry over row ends; sizes up to 1 give one-pixel lines. AddBlackCross draws it on its own slot.
TEST(DrawCross, PixelCountsStrokesAndRowEndCarry) {
    const int black[][2] = {{-1, 192}, {0, 192}, {1, 192}, {2, 568}, {4, 936}, {6, 1296}, {7, 1648}, {32767, 9216}};
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
    EXPECT_TRUE(CountOf(*set.Slot(1), 255) == kPicturePixels && *set.Slot(2) == Drawn(2, DrawCross));
}

// Bands on background 20 in drawing order: bottom rows 96-b..95 0 over left columns 0..b 91 over
// top rows 0..b-1 255 over right columns 96-max(b,1)..95 87; any 16-bit size stays inside.
TEST(DrawBorder, BandsAndCornersAndTwiceIsOnce) {
    for (int b : {-5, 1, 3, 32767}) {
        Picture pic = Drawn(int16_t(b), DrawBorder, 20);
        for (int pass = 1; pass <= 2; ++pass, DrawBorder(pic, int16_t(b)))  // pass 2 checks it drawn twice
            for (int y = 0; y < 96; ++y)
                for (int x = 0; x < 96; ++x)
                    ASSERT_EQ(At(pic, x, y),
                              y >= 96 - b ? 0 : x <= b ? 91 : y < b ? 255 : x >= 96 - std::max(b, 1) ? 87 : 20)
                        << "b " << b << " pass " << pass << " at " << x << "," << y;
    }
}

// Down to 80 x 80 and back leaves index-100 lines at 3, 9, ..., 93; black 15 collapses to 0.
TEST(AddGrid, Index100LinesOnAUniformSlot) {
    classUnitGAF set;
    set.ResetToBackground(1, 15), set.AddGrid(1);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x)
            ASSERT_EQ(At(*set.Slot(1), x, y), x % 6 == 3 || y % 6 == 3 ? 100 : 0) << x << "," << y;
}

// The typed cross size: blanks and a sign allowed, halves to the even neighbour, 16-bit range.
TEST(ParseCrossSize, VerdictsAndRounding) {
    using enum CrossSizeVerdict;
    const std::tuple<const char*, CrossSizeVerdict, int> cases[] = {
        {"2", Accepted, 2}, {" 2.5 ", Accepted, 2}, {"3.5", Accepted, 4}, {"-2.5", Accepted, -2}, {"", Empty, 0},
        {"2.50000000000000000001", Accepted, 3}, {"1e2", Accepted, 100}, {"-32768", Accepted, -32768},
        {"   ", NotANumber, 0}, {"abc", NotANumber, 0}, {"40000", OutOfRange, 0}, {"32767.5", OutOfRange, 0}};
    for (const auto& [text, verdict, size] : cases) {
        const CrossSizeAnswer answer = ParseCrossSize(text);
        EXPECT_TRUE(answer.Verdict == verdict && (verdict != Accepted || answer.Size == size)) << '"' << text << '"';
    }
}

}  // namespace
