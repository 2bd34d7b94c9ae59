#include <gtest/gtest.h>

#include <vector>

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

}  // namespace
