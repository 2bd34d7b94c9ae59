#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "imagefiles/modPalettes.h"
#include "import/RoundHalfEven.h"
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

// The resampler keeps the sums of one row span at a time. A model that sums the whole frame at
// once, in the words of the rule (a source pixel goes to flat cell W x row(y) + column(x), which
// carries over a row's end; empty pixels and pixels with an empty neighbour at Margin add
// nothing; the average rounds half to even; the plain nearest-colour search), must agree on every
// size, margin and picture, including reductions of 2 and more, where a row's last column
// carries into the next row, and destinations longer than the frame.
std::vector<uint8_t> ModelResample(const std::vector<uint8_t>& source, int sw, int sh, std::size_t destSize, int dw,
                                   int dh, const Palette& palette, int margin) {
    const auto axis = [](int from, int to, int s) {
        const auto ratio = static_cast<float>(static_cast<double>(from) / to);
        return static_cast<long>(RoundHalfEven(static_cast<double>(s) / static_cast<double>(ratio)));
    };
    const auto emptyAt = [&](long flat) { return flat >= 0 && flat < long(source.size()) && source[flat] == 100; };
    std::vector<std::array<long, 4>> sums(destSize);
    const int first = margin > 0 ? margin : 0;
    for (int y = first; y <= (margin > 0 ? sh - 1 - margin : sh - 1); ++y)
        for (int x = first; x <= (margin > 0 ? sw - 1 - margin : sw - 1); ++x) {
            const long flat = long(y) * sw + x;
            if (source[flat] == 100) continue;
            if (margin != 0 && (emptyAt(flat - margin) || emptyAt(flat + margin) || emptyAt(flat - long(margin) * sw) ||
                                emptyAt(flat + long(margin) * sw)))
                continue;
            const long cell = long(dw) * axis(sh, dh, y) + axis(sw, dw, x);
            if (cell >= long(destSize)) continue;
            const PaletteEntry& e = palette[source[flat]];
            sums[cell] = {sums[cell][0] + 1, sums[cell][1] + e.Red, sums[cell][2] + e.Green, sums[cell][3] + e.Blue};
        }
    std::vector<uint8_t> out(destSize, 100);
    const auto average = [](long sum, long count) { return int(RoundHalfEven(double(sum) / double(count))); };
    for (std::size_t i = 0; i < destSize; ++i)
        if (sums[i][0] > 0)
            out[i] = modPalettes::NearestIndexPlain(palette, average(sums[i][1], sums[i][0]),
                                                    average(sums[i][2], sums[i][0]), average(sums[i][3], sums[i][0]));
    return out;
}

TEST(ResamplePicture, AgreesWithTheWholeFrameModelOnRandomSizesMarginsAndPictures) {
    std::mt19937 random(2026);
    Palette other{};
    for (PaletteEntry& e : other) e = PaletteEntry{uint8_t(random()), uint8_t(random()), uint8_t(random()), 0};
    for (int round = 0; round < 1500; ++round) {
        const int sw = 1 + int(random() % 110), sh = 1 + int(random() % 110);
        const int dw = round % 3 ? 1 + int(random() % 110) : 64, dh = round % 3 ? 1 + int(random() % 110) : 64;
        const int margin = random() % 2 ? 0 : int(random() % 9) - 3;
        std::vector<uint8_t> source(std::size_t(sw) * sh);
        for (uint8_t& p : source) p = random() % 4 ? uint8_t(random()) : 100;
        const std::size_t destSize = std::size_t(dw) * dh + (random() % 4 ? 0 : random() % 150);
        const Palette& palette = round % 4 ? modPalettes::GamePalette : other;
        std::vector<uint8_t> frame(destSize, 7);
        ResamplePicture(source, sw, sh, frame, dw, dh, palette, int16_t(margin));
        ASSERT_EQ(frame, ModelResample(source, sw, sh, destSize, dw, dh, palette, margin))
            << sw << "x" << sh << " -> " << dw << "x" << dh << " margin " << margin << " destination " << destSize;
    }
}

}  // namespace
