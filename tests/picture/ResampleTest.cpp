#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "imagefiles/modPalettes.h"
#include "picture/ResamplePicture.h"
#include "PictureTestUtil.h"

namespace {

const Palette& Game() { return modPalettes::GamePalette; }

using Frame64 = std::array<uint8_t, 64 * 64>;

Frame64 Reduce(const Picture& source, const Palette& palette = modPalettes::GamePalette) {
    Frame64 frame{};
    ResamplePicture(source, 96, 96, frame, 64, 64, palette, 0);
    return frame;
}

// The destination position a lone source pixel lands on along one axis, found by tracing it
// through a whole resample.
std::vector<int> TraceDiagonal(int sourceSide, int destSide) {
    std::vector<int> landed;
    for (int s = 0; s < sourceSide; ++s) {
        std::vector<uint8_t> source(static_cast<std::size_t>(sourceSide * sourceSide), kEmptyIndex);
        source[static_cast<std::size_t>(s * sourceSide + s)] = 0;
        std::vector<uint8_t> dest(static_cast<std::size_t>(destSide * destSide), 7);
        ResamplePicture(source, sourceSide, sourceSide, dest, destSide, destSide, Game(), 0);
        int found = -1;
        int reached = 0;
        for (int i = 0; i < destSide * destSide; ++i) {
            if (dest[static_cast<std::size_t>(i)] == kEmptyIndex) continue;
            ++reached;
            EXPECT_EQ(i / destSide, i % destSide) << "source " << s << " left the diagonal";
            found = i % destSide;
        }
        EXPECT_EQ(reached, 1) << "source " << s;
        landed.push_back(found);
    }
    return landed;
}

TEST(ResamplePicture, EmptyAndUniformSources) {
    const Frame64 empty = Reduce(picturetest::Uniform(kEmptyIndex));
    EXPECT_EQ(std::count(empty.begin(), empty.end(), kEmptyIndex), 4096);

    // Index 15 is black, which the game palette holds first at index 0.
    const Frame64 black = Reduce(picturetest::Uniform(15));
    EXPECT_EQ(std::count(black.begin(), black.end(), 0), 4096);
    const Frame64 white = Reduce(picturetest::Uniform(255));
    EXPECT_EQ(std::count(white.begin(), white.end(), 255), 4096);
}

TEST(ResamplePicture, LonePixelKeepsItsCell) {
    Picture source = picturetest::Uniform(kEmptyIndex);
    source[1 * 96 + 1] = 243;  // another black
    const Frame64 frame = Reduce(source);
    for (int i = 0; i < 4096; ++i) EXPECT_EQ(frame[static_cast<std::size_t>(i)], i == 65 ? 0 : kEmptyIndex) << i;
}

TEST(ResamplePicture, AveragesRoundHalfToEven) {
    // Entry k is the colour (k, 0, 0), so the averaged red is the index that comes out.
    Palette reds{};
    for (std::size_t k = 0; k < 256; ++k) reds[k] = PaletteEntry{0, 0, static_cast<uint8_t>(k), 0};

    Picture source = picturetest::Uniform(kEmptyIndex);
    // Frame column 1 takes slot columns 1 and 2; frame column 3 takes 4 and 5.
    source[1] = 10;
    source[2] = 11;
    source[4] = 11;
    source[5] = 12;
    // Frame cell (5, 1) takes the four slot pixels (7..8, 1..2): 20 + 21 + 21 + 21 = 83 -> 20.75.
    source[1 * 96 + 7] = 20;
    source[1 * 96 + 8] = 21;
    source[2 * 96 + 7] = 21;
    source[2 * 96 + 8] = 21;
    const Frame64 frame = Reduce(source, reds);
    EXPECT_EQ(frame[1], 10);  // 10.5 -> 10
    EXPECT_EQ(frame[3], 12);  // 11.5 -> 12
    EXPECT_EQ(frame[64 + 5], 21);
    EXPECT_EQ(frame[0], kEmptyIndex);
    EXPECT_EQ(frame[2], kEmptyIndex);
}

TEST(ResamplePicture, ColumnAndRowMaps) {
    std::vector<int> expected96To64;
    for (int s = 0; s < 96; ++s) expected96To64.push_back(s % 3 == 0 ? 2 * (s / 3) : 2 * (s / 3) + 1);
    EXPECT_EQ(TraceDiagonal(96, 64), expected96To64);

    // 6k + 2 and 6k + 3 share 5k + 2; the others have a column each.
    const std::array<int, 6> step96To80{0, 1, 2, 2, 3, 4};
    std::vector<int> expected96To80;
    for (int s = 0; s < 96; ++s) expected96To80.push_back(5 * (s / 6) + step96To80[static_cast<std::size_t>(s % 6)]);
    EXPECT_EQ(TraceDiagonal(96, 80), expected96To80);

    // 5k + 3 skips to 6k + 4, leaving 6k + 3 unreached.
    const std::array<int, 5> step80To96{0, 1, 2, 4, 5};
    std::vector<int> expected80To96;
    for (int s = 0; s < 80; ++s) expected80To96.push_back(6 * (s / 5) + step80To96[static_cast<std::size_t>(s % 5)]);
    EXPECT_EQ(TraceDiagonal(80, 96), expected80To96);
}

// The reduction worked out from the column map alone: frame column 2k takes slot column 3k,
// 2k + 1 takes 3k + 1 and 3k + 2 (rows alike), the average rounded half to even, then the plain
// nearest-colour search.
Frame64 ReduceByTheMap(const Picture& source, const Palette& palette) {
    const auto sourceColumns = [](int d) {
        return d % 2 == 0 ? std::vector<int>{3 * (d / 2)} : std::vector<int>{3 * (d / 2) + 1, 3 * (d / 2) + 2};
    };
    Frame64 frame{};
    for (int dy = 0; dy < 64; ++dy)
        for (int dx = 0; dx < 64; ++dx) {
            int count = 0, red = 0, green = 0, blue = 0;
            for (int sy : sourceColumns(dy))
                for (int sx : sourceColumns(dx)) {
                    const uint8_t p = source[static_cast<std::size_t>(sy * 96 + sx)];
                    if (p == kEmptyIndex) continue;
                    ++count;
                    red += palette[p].Red;
                    green += palette[p].Green;
                    blue += palette[p].Blue;
                }
            const auto average = [count](int sum) { return static_cast<int>(std::nearbyint(double(sum) / count)); };
            frame[static_cast<std::size_t>(dy * 64 + dx)] =
                count == 0 ? kEmptyIndex
                           : modPalettes::NearestIndexPlain(palette, average(red), average(green), average(blue));
        }
    return frame;
}

TEST(ResamplePicture, ReductionMatchesThePlainRuleEveryTime) {
    // Another palette in between must not be answered from what was found for the first.
    Palette shuffled{};
    for (std::size_t k = 0; k < 256; ++k) shuffled[k] = modPalettes::GamePalette[(k * 11 + 5) % 256];
    Picture source = picturetest::ManyColours();
    for (std::size_t i = 0; i < source.size(); i += 13) source[i] = kEmptyIndex;
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(Reduce(source), ReduceByTheMap(source, Game())) << "round " << round;
        EXPECT_EQ(Reduce(source, shuffled), ReduceByTheMap(source, shuffled)) << "round " << round;
    }
}

TEST(ResamplePicture, EnlargingLeavesGridLinesEmpty) {
    std::vector<uint8_t> source(80 * 80);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i % 97);  // never 100
    Picture dest = picturetest::Uniform(1);
    ResamplePicture(source, 80, 80, dest, 96, 96, Game(), 0);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) {
            const bool line = x % 6 == 3 || y % 6 == 3;
            EXPECT_EQ(picturetest::At(dest, x, y) == kEmptyIndex, line) << x << "," << y;
        }
}

TEST(ResamplePicture, UnusableArgumentsLeaveTheDestinationAlone) {
    const Picture source = picturetest::ManyColours();
    Frame64 dest{};
    dest.fill(42);
    const Frame64 before = dest;
    ResamplePicture(source, 0, 96, dest, 64, 64, Game(), 0);
    ResamplePicture(source, 96, -96, dest, 64, 64, Game(), 0);
    ResamplePicture(source, 96, 96, dest, 64, 0, Game(), 0);
    ResamplePicture(source, 96, 97, dest, 64, 64, Game(), 0);  // source too short
    ResamplePicture(source, 96, 96, dest, 65, 64, Game(), 0);  // destination too short
    ResamplePicture(std::span<const uint8_t>{}, 96, 96, dest, 64, 64, Game(), 0);
    EXPECT_EQ(dest, before);
}

TEST(ResamplePicture, MarginSkipsPixelsNextToEmptyOnes) {
    // 3 x 3 to 3 x 3 maps each pixel onto itself.
    std::vector<uint8_t> source(9, 0);
    std::vector<uint8_t> dest(9, 7);
    ResamplePicture(source, 3, 3, dest, 3, 3, Game(), 1);
    // Only the centre is visited with margin 1; its neighbours are all black.
    EXPECT_EQ(dest, (std::vector<uint8_t>{100, 100, 100, 100, 0, 100, 100, 100, 100}));

    source[5] = kEmptyIndex;  // the centre's right neighbour
    ResamplePicture(source, 3, 3, dest, 3, 3, Game(), 1);
    EXPECT_EQ(dest, std::vector<uint8_t>(9, 100));

    // A negative margin visits every pixel, its neighbours read at flat distance 1 and one row;
    // the ones outside the picture count as not empty.
    source.assign(9, 0);
    source[0] = kEmptyIndex;
    ResamplePicture(source, 3, 3, dest, 3, 3, Game(), -1);
    EXPECT_EQ(dest, (std::vector<uint8_t>{100, 100, 0, 100, 0, 0, 0, 0, 0}));

    // A margin larger than the picture visits nothing.
    ResamplePicture(source, 3, 3, dest, 3, 3, Game(), 32767);
    EXPECT_EQ(dest, std::vector<uint8_t>(9, 100));
}

TEST(ResamplePicture, ALargerDestinationIsRewrittenWhole) {
    const std::vector<uint8_t> source(4, 0);
    std::vector<uint8_t> dest(6, 7);
    ResamplePicture(source, 2, 2, dest, 2, 2, Game(), 0);
    EXPECT_EQ(dest, (std::vector<uint8_t>{0, 0, 0, 0, 100, 100}));
}

}  // namespace
