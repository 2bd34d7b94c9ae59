// The fast search must give exactly the plain rule's index for every colour: the same
// smallest distance, the lowest index among ties, and 255 when nothing is nearer than 765.

#include <gtest/gtest.h>

#include <random>

#include "imagefiles/modPalettes.h"

using modPalettes::GamePalette;
using modPalettes::NearestColourSearch;
using modPalettes::NearestIndexPlain;

namespace {

// Counts disagreements and reports the first few, so one failure does not flood the log.
class Comparison {
public:
    explicit Comparison(const Palette& target) : target_(target), search_(target) {}

    void Check(int r, int g, int b) {
        ++checked_;
        const int plain = NearestIndexPlain(target_, r, g, b);
        const int fast = search_.Nearest(r, g, b);
        if (plain != fast && ++mismatches_ <= 5)
            ADD_FAILURE() << "colour (" << r << "," << g << "," << b << "): plain " << plain << ", fast " << fast;
    }
    int mismatches() const { return mismatches_; }
    int checked() const { return checked_; }

private:
    const Palette& target_;
    NearestColourSearch search_;
    int mismatches_ = 0;
    int checked_ = 0;
};

int Clamp(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

void CheckPaletteColoursAndNeighbours(const Palette& target, Comparison& comparison) {
    for (const PaletteEntry& e : target)
        for (int dr = -2; dr <= 2; ++dr)
            for (int dg = -2; dg <= 2; ++dg)
                for (int db = -2; db <= 2; ++db)
                    comparison.Check(Clamp(e.Red + dr), Clamp(e.Green + dg), Clamp(e.Blue + db));
}

void CheckRandomColours(int count, uint32_t seed, Comparison& comparison) {
    std::mt19937 random(seed);
    for (int i = 0; i < count; ++i) {
        const uint32_t bits = random();
        comparison.Check(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
    }
}

Palette RandomPalette(uint32_t seed, int distinctColours, int componentRange) {
    std::mt19937 random(seed);
    std::vector<PaletteEntry> pool;
    for (int i = 0; i < distinctColours; ++i)
        pool.push_back(PaletteEntry{static_cast<uint8_t>(random() % componentRange),
                                    static_cast<uint8_t>(random() % componentRange),
                                    static_cast<uint8_t>(random() % componentRange), 0});
    Palette palette{};
    for (auto& e : palette) e = pool[random() % pool.size()];
    return palette;
}

}  // namespace

TEST(NearestColourSearch, MatchesThePlainRuleOnTheGamePalette) {
    Comparison comparison(GamePalette);
    CheckPaletteColoursAndNeighbours(GamePalette, comparison);
    CheckRandomColours(200000, 20240607u, comparison);
    // A lattice that includes both ends of every 8-colour step, where distances to entries
    // on either side tie most often.
    for (int r = 0; r < 256; r += 8)
        for (int g = 0; g < 256; g += 8)
            for (int b = 0; b < 256; b += 8)
                for (int corner = 0; corner < 8; ++corner)
                    comparison.Check(r + (corner & 1 ? 7 : 0), g + (corner & 2 ? 7 : 0), b + (corner & 4 ? 7 : 0));
    // Corners and the grey diagonal.
    for (int v = 0; v < 256; ++v) comparison.Check(v, v, v);
    for (int corner = 0; corner < 8; ++corner)
        comparison.Check(corner & 1 ? 255 : 0, corner & 2 ? 255 : 0, corner & 4 ? 255 : 0);
    EXPECT_EQ(comparison.mismatches(), 0) << "of " << comparison.checked();
}

TEST(NearestColourSearch, MatchesThePlainRuleOnPalettesFullOfTiesAndDuplicates) {
    // Few distinct colours repeated at random indices, in a narrow range so that equal
    // distances are common; and a palette whose entries all share one sum.
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        const Palette palette = RandomPalette(seed, static_cast<int>(seed * 3), seed % 2 ? 8 : 256);
        Comparison comparison(palette);
        CheckPaletteColoursAndNeighbours(palette, comparison);
        CheckRandomColours(20000, seed * 7919u, comparison);
        EXPECT_EQ(comparison.mismatches(), 0) << "palette seed " << seed;
    }
    Palette sameSum{};
    for (std::size_t i = 0; i < 256; ++i)
        sameSum[i] = PaletteEntry{static_cast<uint8_t>(i % 128), static_cast<uint8_t>(127 - i % 128), 128, 0};
    Comparison comparison(sameSum);
    CheckRandomColours(20000, 99u, comparison);
    EXPECT_EQ(comparison.mismatches(), 0);
}

TEST(NearestColourSearch, KeepsTheLowestIndexAmongEqualDistancesOnBothSidesOfTheSum) {
    Palette target{};
    for (auto& e : target) e = PaletteEntry{255, 0, 255, 0};
    target[9] = PaletteEntry{100, 100, 110, 0};  // sum above the query's
    target[4] = PaletteEntry{100, 100, 90, 0};   // sum below
    target[6] = PaletteEntry{95, 105, 100, 0};   // equal sum
    const NearestColourSearch search(target);
    EXPECT_EQ(search.Nearest(100, 100, 100), 4);
    target[2] = PaletteEntry{110, 100, 100, 0};  // a lower index above the sum
    EXPECT_EQ(NearestColourSearch(target).Nearest(100, 100, 100), 2);
}

TEST(NearestColourSearch, FindsALowerIndexThatTiesFromOutsideTheQuerysNeighbourhood) {
    Palette target{};
    for (auto& e : target) e = PaletteEntry{255, 255, 255, 0};
    target[0] = PaletteEntry{7, 7, 28, 0};  // (28,7,7): 21 from (7,7,7)
    target[1] = PaletteEntry{0, 0, 0, 0};   // 21 from (7,7,7) as well
    EXPECT_EQ(NearestColourSearch(target).Nearest(7, 7, 7), 0);
    EXPECT_EQ(NearestColourSearch(target).Nearest(6, 7, 7), 1);
}

TEST(NearestColourSearch, SearchesOverDifferentPalettesStayApart) {
    // More palettes in turn than any cache of built searches would keep.
    for (int round = 0; round < 3; ++round) {
        for (uint32_t seed = 100; seed < 108; ++seed) {
            const Palette palette = RandomPalette(seed, 40, 256);
            Comparison comparison(palette);
            CheckRandomColours(500, seed + static_cast<uint32_t>(round), comparison);
            EXPECT_EQ(comparison.mismatches(), 0) << "palette seed " << seed << ", round " << round;
        }
    }
}

TEST(NearestColourSearch, Keeps255WhenNothingIsNearerThan765) {
    Palette white{};
    for (auto& e : white) e = PaletteEntry{255, 255, 255, 0};
    EXPECT_EQ(NearestColourSearch(white).Nearest(0, 0, 0), 255);
    EXPECT_EQ(NearestColourSearch(white).Nearest(255, 255, 255), 0);
    white[3] = PaletteEntry{255, 255, 254, 0};
    EXPECT_EQ(NearestColourSearch(white).Nearest(0, 0, 0), 3);
    Palette black{};
    EXPECT_EQ(NearestColourSearch(black).Nearest(255, 255, 255), 255);
    EXPECT_EQ(NearestColourSearch(black).Nearest(254, 255, 255), 0);
}
