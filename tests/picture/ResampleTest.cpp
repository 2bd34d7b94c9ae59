#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "imagefiles/modPalettes.h"
#include "picture/ResamplePicture.h"
#include "PictureTestUtil.h"

namespace {

using picturetest::Uniform;
using Frame64 = std::array<uint8_t, 64 * 64>;

const Palette& Game() { return modPalettes::GamePalette; }

Frame64 Reduce(const Picture& source, const Palette& palette = modPalettes::GamePalette) {
    Frame64 frame{};
    ResamplePicture(source, 96, 96, frame, 64, 64, palette, 0);
    return frame;
}

// Where each source column lands, found by resampling a lone pixel on the diagonal: it must
// reach exactly one destination pixel, on the diagonal.
std::vector<int> TraceDiagonal(int sourceSide, int destSide) {
    std::vector<int> landed;
    for (int s = 0; s < sourceSide; ++s) {
        std::vector<uint8_t> source(static_cast<std::size_t>(sourceSide * sourceSide), kEmptyIndex);
        source[static_cast<std::size_t>(s * sourceSide + s)] = 0;
        std::vector<uint8_t> dest(static_cast<std::size_t>(destSide * destSide), 7);
        ResamplePicture(source, sourceSide, sourceSide, dest, destSide, destSide, Game(), 0);
        int found = -1, reached = 0;
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

// The ratio is a 32-bit float and the quotient is rounded half to even in double: 96 to 80 puts
// 6k + 3 on 5k + 2 (just below the half), and 80 to 96 never reaches 6k + 3.
TEST(ResamplePicture, ColumnAndRowMaps) {
    const struct {
        int from, to, period;
        std::vector<int> steps;  // destinations of one period of source columns, relative
    } maps[] = {{96, 64, 3, {0, 1, 1}}, {96, 80, 6, {0, 1, 2, 2, 3, 4}}, {80, 96, 5, {0, 1, 2, 4, 5}}};
    for (const auto& m : maps) {
        const int destPeriod = m.period * m.to / m.from;
        std::vector<int> expected;
        for (int s = 0; s < m.from; ++s)
            expected.push_back(destPeriod * (s / m.period) + m.steps[static_cast<std::size_t>(s % m.period)]);
        EXPECT_EQ(TraceDiagonal(m.from, m.to), expected) << m.from << " to " << m.to;
    }
}

TEST(ResamplePicture, AveragesRoundHalfToEven) {
    // Entry k is the colour (k, 0, 0), so the averaged red is the index that comes out.
    Palette reds{};
    for (std::size_t k = 0; k < 256; ++k) reds[k] = PaletteEntry{0, 0, static_cast<uint8_t>(k), 0};
    Picture source = Uniform(kEmptyIndex);
    source[1] = 10, source[2] = 11;  // frame column 1 takes slot columns 1 and 2: 10.5 -> 10
    source[4] = 11, source[5] = 12;  // frame column 3 takes 4 and 5: 11.5 -> 12
    // Frame cell (5, 1) takes slot pixels (7..8, 1..2): 83 / 4 = 20.75 -> 21.
    source[96 + 7] = 20, source[96 + 8] = 21, source[2 * 96 + 7] = 21, source[2 * 96 + 8] = 21;
    const Frame64 frame = Reduce(source, reds);
    EXPECT_EQ(frame[1], 10);
    EXPECT_EQ(frame[3], 12);
    EXPECT_EQ(frame[64 + 5], 21);
    EXPECT_EQ(frame[0], kEmptyIndex);
}

// Every palette colour goes through the whole reduction to the plain rule's index (the lowest
// index of its colour: black 15 gives 0), with two palettes taking turns: answers remembered
// for one palette must never serve the other.
TEST(ResamplePicture, UniformSourcesGiveThePlainRulesIndexWhateverThePalette) {
    Palette shuffled{};
    for (std::size_t k = 0; k < 256; ++k) shuffled[k] = Game()[(k * 11 + 5) % 256];
    const Palette* const palettes[] = {&Game(), &shuffled};
    for (int c = 0; c < 256; ++c) {
        if (c == kEmptyIndex) continue;
        for (const Palette* palette : palettes) {
            const PaletteEntry& colour = (*palette)[static_cast<std::size_t>(c)];
            const uint8_t nearest = modPalettes::NearestIndexPlain(*palette, colour.Red, colour.Green, colour.Blue);
            const Frame64 frame = Reduce(Uniform(static_cast<uint8_t>(c)), *palette);
            ASSERT_EQ(std::count(frame.begin(), frame.end(), nearest), 4096)
                << "index " << c << (palette == &shuffled ? " shuffled" : " game");
        }
    }
    EXPECT_EQ(Reduce(Uniform(15))[0], 0);
}

// Hostile arguments: sizes that are not positive or arrays too short for them change nothing.
TEST(ResamplePicture, UnusableArgumentsLeaveTheDestinationAlone) {
    const Picture source = Uniform(3);
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

TEST(ResamplePicture, MarginsAndALargerDestination) {
    // 3 x 3 to 3 x 3 maps each pixel onto itself.
    std::vector<uint8_t> source(9, 0), dest(9, 7);
    ResamplePicture(source, 3, 3, dest, 3, 3, Game(), 1);  // only the centre is visited
    EXPECT_EQ(dest, (std::vector<uint8_t>{100, 100, 100, 100, 0, 100, 100, 100, 100}));
    source[5] = kEmptyIndex;  // the centre's right neighbour is empty: the centre is skipped
    ResamplePicture(source, 3, 3, dest, 3, 3, Game(), 1);
    EXPECT_EQ(dest, std::vector<uint8_t>(9, 100));
    // A negative margin visits every pixel; neighbours outside the picture are not empty.
    source.assign(9, 0);
    source[0] = kEmptyIndex;
    ResamplePicture(source, 3, 3, dest, 3, 3, Game(), -1);
    EXPECT_EQ(dest, (std::vector<uint8_t>{100, 100, 0, 100, 0, 0, 0, 0, 0}));
    ResamplePicture(source, 3, 3, dest, 3, 3, Game(), 32767);  // larger than the picture
    EXPECT_EQ(dest, std::vector<uint8_t>(9, 100));

    // Every element of a destination larger than the picture is rewritten.
    std::vector<uint8_t> larger(6, 7);
    ResamplePicture(std::vector<uint8_t>(4, 0), 2, 2, larger, 2, 2, Game(), 0);
    EXPECT_EQ(larger, (std::vector<uint8_t>{0, 0, 0, 0, 100, 100}));
}

}  // namespace
