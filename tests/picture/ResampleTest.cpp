#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "imagefiles/modPalettes.h"
#include "picture/ResamplePicture.h"

namespace {

// Entry k is the colour (k, 0, 0), so the averaged red is the index that comes out. 96 to 64: frame
// column 1 takes slot columns 1, 2 (10, 11 -> 10), column 3 takes 4, 5 (11, 12 -> 12), cell (5, 1) takes
// (7..8, 1..2) (83 / 4 -> 21); a lone pixel stays alone at (1, 1), cells nothing reaches become 100.
TEST(ResamplePicture, AveragesRoundHalfToEvenAndBadSizesChangeNothing) {
    Palette reds{};
    for (std::size_t k = 0; k < 256; ++k) reds[k] = PaletteEntry{0, 0, static_cast<uint8_t>(k), 0};
    std::vector<uint8_t> source(9216, 100), frame(4096, 42), expected(4096, 100);
    source[1] = 10;
    source[2] = 11;
    source[4] = 11;
    source[5] = 12;
    source[96 + 1] = 0;
    source[96 + 7] = 20;
    source[96 + 8] = 21;
    source[2 * 96 + 7] = 21;
    source[2 * 96 + 8] = 21;
    const int bad[][4] = {{0, 96, 64, 64}, {96, -96, 64, 64}, {96, 97, 64, 64}, {96, 96, 65, 64}, {96, 96, 64, 0}};
    for (const auto& s : bad) ResamplePicture(source, s[0], s[1], frame, s[2], s[3], reds, 0);
    EXPECT_EQ(frame, std::vector<uint8_t>(4096, 42));
    ResamplePicture(source, 96, 96, frame, 64, 64, reds, 0);
    expected[1] = 10;
    expected[3] = 12;
    expected[64 + 1] = 0;
    expected[64 + 5] = 21;
    EXPECT_EQ(frame, expected);
}

// Entry k of reds is (k, 0, 0) again. 5 x 2 to 2 x 2: the columns go 0 0 1 1 2, and column 2 is
// the next row's first cell, so source (4, 0) = 50 joins (0, 1) and (1, 1): (50 + 60 + 70) / 3 = 60.
// (4, 1) lands in cell 4, past the frame: kept only where the destination is longer.
// 4 x 4 onto itself with one empty pixel at flat 6: a margin of 1 drops the border and every pixel
// whose flat neighbour 1 or 4 away is empty; a margin of -1 keeps the border.
TEST(ResamplePicture, AColumnPastTheLastCarriesIntoTheNextRowAndMarginsDropPixelsBesideEmptyOnes) {
    Palette reds{};
    for (std::size_t k = 0; k < 256; ++k) reds[k] = PaletteEntry{0, 0, static_cast<uint8_t>(k), 0};
    const std::vector<uint8_t> rows{10, 20, 30, 40, 50, 60, 70, 80, 90, 110};
    std::vector<uint8_t> frame(4), longer(5);
    ResamplePicture(rows, 5, 2, frame, 2, 2, reds, 0);
    ResamplePicture(rows, 5, 2, longer, 2, 2, reds, 0);
    EXPECT_EQ(frame, (std::vector<uint8_t>{15, 35, 60, 85}));
    EXPECT_EQ(longer, (std::vector<uint8_t>{15, 35, 60, 85, 110}));

    std::vector<uint8_t> source(16, 40);
    source[6] = 100;
    const std::pair<int, std::vector<int>> emptied[] = {
        {0, {6}}, {1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15}}, {-1, {2, 5, 6, 7, 10}}};
    for (const auto& [margin, empty] : emptied) {
        std::vector<uint8_t> expected(16, 40), out(16, 7);
        for (int flat : empty) expected[std::size_t(flat)] = 100;
        ResamplePicture(source, 4, 4, out, 4, 4, reds, int16_t(margin));
        EXPECT_EQ(out, expected) << "margin " << margin;
    }
}

}  // namespace
