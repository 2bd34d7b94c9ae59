// The fast search must give exactly the plain rule's index for every colour: the same smallest
// distance, the lowest index among ties, and 255 when nothing is nearer than 765.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "imagefiles/modPalettes.h"

using modPalettes::GamePalette;
using modPalettes::NearestColourSearch;
using modPalettes::NearestIndexPlain;

namespace {

// Compares the fast search with the plain rule; reports the first few disagreements only.
class Comparison {
public:
    Comparison(const Palette& target, std::string name) : target_(target), search_(target), name_(std::move(name)) {}
    ~Comparison() { EXPECT_EQ(mismatches_, 0) << name_ << ": mismatches among " << checked_ << " colours"; }

    void Check(int r, int g, int b) {
        ++checked_;
        const int plain = NearestIndexPlain(target_, r, g, b);
        const int fast = search_.Nearest(r, g, b);
        if (plain != fast && ++mismatches_ <= 5)
            ADD_FAILURE() << name_ << " (" << r << "," << g << "," << b << "): plain " << plain << ", fast " << fast;
    }
    // Every palette colour and the colours within 2 of it on each axis.
    void CheckPaletteNeighbourhoods() {
        for (const PaletteEntry& e : target_)
            for (int d = 0; d < 125; ++d)
                Check(std::clamp(e.Red + d % 5 - 2, 0, 255), std::clamp(e.Green + d / 5 % 5 - 2, 0, 255),
                      std::clamp(e.Blue + d / 25 - 2, 0, 255));
    }
    void CheckRandom(int count, uint32_t seed) {
        std::mt19937 random(seed);
        for (int i = 0; i < count; ++i) {
            const uint32_t bits = random();
            Check(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
        }
    }

private:
    const Palette& target_;
    NearestColourSearch search_;
    std::string name_;
    int mismatches_ = 0;
    int checked_ = 0;
};

// distinctColours colours with components below range, repeated at random indices.
Palette RandomPalette(uint32_t seed, int distinctColours, int range) {
    std::mt19937 random(seed);
    std::vector<PaletteEntry> pool;
    for (int i = 0; i < distinctColours; ++i)
        pool.push_back(PaletteEntry{static_cast<uint8_t>(random() % range), static_cast<uint8_t>(random() % range),
                                    static_cast<uint8_t>(random() % range), 0});
    Palette palette{};
    for (auto& e : palette) e = pool[random() % pool.size()];
    return palette;
}

}  // namespace

TEST(NearestColourSearch, MatchesThePlainRuleOnTheGamePalette) {
    Comparison comparison(GamePalette, "game palette");
    comparison.CheckPaletteNeighbourhoods();
    comparison.CheckRandom(200000, 20240607u);
    // Both ends of every 8-colour step on each axis (the search's cell borders, the cube's
    // corners among them), and the grey diagonal.
    for (int cell = 0; cell < 32 * 32 * 32; ++cell)
        for (int corner = 0; corner < 8; ++corner)
            comparison.Check((cell & 31) * 8 + (corner & 1) * 7, (cell >> 5 & 31) * 8 + (corner >> 1 & 1) * 7,
                             (cell >> 10) * 8 + (corner >> 2) * 7);
    for (int v = 0; v < 256; ++v) comparison.Check(v, v, v);
}

TEST(NearestColourSearch, MatchesThePlainRuleOnPalettesFullOfTiesAndRepeats) {
    // Few colours repeated at random indices, some in a narrow range where equal distances are
    // common, and a palette whose entries all share one component sum.
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        const Palette palette = RandomPalette(seed, static_cast<int>(seed * 3), seed % 2 ? 8 : 256);
        Comparison comparison(palette, "palette seed " + std::to_string(seed));
        comparison.CheckPaletteNeighbourhoods();
        comparison.CheckRandom(20000, seed * 7919u);
    }
    Palette sameSum{};
    for (std::size_t i = 0; i < 256; ++i)
        sameSum[i] = PaletteEntry{static_cast<uint8_t>(i % 128), static_cast<uint8_t>(127 - i % 128), 128, 0};
    Comparison(sameSum, "same sum").CheckRandom(20000, 99u);
}

TEST(NearestColourSearch, SearchesOverMorePalettesThanAreKeptStayApart) {
    for (int round = 0; round < 3; ++round)
        for (uint32_t seed = 100; seed < 108; ++seed)
            Comparison(RandomPalette(seed, 40, 256), "seed " + std::to_string(seed) + " round " + std::to_string(round))
                .CheckRandom(500, seed + static_cast<uint32_t>(round));
}
