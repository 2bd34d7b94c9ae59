// The game palette, the nearest-colour rule that maps pictures onto it, and the fast search that
// must give exactly the plain rule's index.

#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <span>
#include <thread>
#include "imagefiles/modPalettes.h"

using namespace modPalettes;

namespace {
PaletteEntry Rgb(uint32_t rgb) { return {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 0}; }

// RemapToPalette's answer for one colour: the colour as entry 0 of a source palette.
uint8_t Remapped(const Palette& target, int r, int g, int b) {
    Palette source{};
    source[0] = PaletteEntry{uint8_t(b), uint8_t(g), uint8_t(r), 0};
    std::vector<uint8_t> pixel{0};
    RemapToPalette(pixel, source, target);
    return pixel[0];
}

// Compares the fast search and the remap with the plain rule on every palette colour with its
// neighbours within 2 on each axis, on count seeded random colours, and on every colour whose
// components lie at or next to an edge of the game palette grid's 16-wide boxes (where a table
// laid out wrongly or a box missing a candidate shows). The remap answers 256 colours at a time,
// as a source palette.
void ExpectSearchMatchesPlainRule(const Palette& palette, int count, uint32_t seed, bool boxEdges = false) {
    const NearestColourSearch search(palette);
    std::vector<PaletteEntry> colours;
    std::vector<uint32_t> edges;
    for (uint32_t v = 0; v < 256 && boxEdges; ++v)
        if (v % 16 <= 1 || v % 16 >= 14) edges.push_back(v);
    for (uint32_t r : edges)
        for (uint32_t g : edges)
            for (uint32_t b : edges) colours.push_back(Rgb(r << 16 | g << 8 | b));
    for (const PaletteEntry& e : palette)
        for (int d = 0; d < 125; ++d)
            colours.push_back(Rgb(uint32_t(std::clamp(e.Red + d % 5 - 2, 0, 255)) << 16 |
                                  uint32_t(std::clamp(e.Green + d / 5 % 5 - 2, 0, 255)) << 8 |
                                  uint32_t(std::clamp(e.Blue + d / 25 - 2, 0, 255))));
    std::mt19937 random(seed);
    for (int i = 0; i < count; ++i) colours.push_back(Rgb(random() & 0xFFFFFF));
    int mismatches = 0;
    for (std::size_t first = 0; first < colours.size(); first += 256) {
        Palette source{};
        std::vector<uint8_t> pixels(256);
        std::iota(pixels.begin(), pixels.end(), 0);
        std::copy_n(colours.begin() + long(first), std::min<std::size_t>(256, colours.size() - first), source.begin());
        RemapToPalette(pixels, source, palette);
        for (std::size_t i = 0; i < 256 && first + i < colours.size(); ++i) {
            const PaletteEntry& c = source[i];
            const uint8_t plain = NearestIndexPlain(palette, c.Red, c.Green, c.Blue);
            if (search.Nearest(c.Red, c.Green, c.Blue) != plain && ++mismatches <= 3)
                ADD_FAILURE() << "search " << int(c.Red) << "," << int(c.Green) << "," << int(c.Blue);
            if (pixels[i] != plain && ++mismatches <= 3)
                ADD_FAILURE() << "remap " << int(c.Red) << "," << int(c.Green) << "," << int(c.Blue);
        }
    }
}
}  // namespace

// The 1,024 bytes as the game's own palette file holds them (FNV-1a of the checked table), and
// three entries spelt out for their byte order.
TEST(GamePalette, EveryEntryHoldsItsColourAsBlueGreenRedAndAZeroByte) {
    uint64_t hash = 0xcbf29ce484222325u;
    for (const uint8_t byte : std::span(reinterpret_cast<const uint8_t*>(GamePalette.data()), 1024))
        hash = (hash ^ byte) * 0x100000001b3u;
    EXPECT_EQ(hash, 0x579cb54d9c596c6au);
    for (const auto& [index, rgb] : {std::pair{1, 0x800000u}, {84, 0xBBBBBBu}, {249, 0xFF0000u}}) {
        const uint8_t bytes[] = {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 0};  // blue, green, red, 0
        EXPECT_EQ(0, std::memcmp(&GamePalette[std::size_t(index)], bytes, 4)) << index;
    }
}

// Ties go to the lowest index, nothing nearer than 765 keeps 255, and the game palette's own
// colours: repeated ones map to their lowest index. Each answer from the plain rule, the fast
// search and the remap.
TEST(NearestColourRule, TiesGoToTheLowestIndexAndNothingNearerThan765Keeps255) {
    Palette ties, farTie, white, black{};  // in ties, 9, 4 and 6 are all 10 from 646464
    ties.fill(Rgb(0xFF00FF));
    farTie.fill(Rgb(0xFFFFFF));
    white.fill(Rgb(0xFFFFFF));
    ties[9] = Rgb(0x6E6464), ties[4] = Rgb(0x5A6464), ties[6] = Rgb(0x64695F);
    Palette lowerAbove = ties, nearlyWhite = white;
    lowerAbove[2] = Rgb(0x64646E);
    nearlyWhite[3] = Rgb(0xFEFFFF);
    farTie[0] = Rgb(0x1C0707), farTie[1] = Rgb(0x000000);  // both 21 from 070707
    // 202020 is a corner of the grid box 20..3F on each axis: 30 is 48 from its farthest corner,
    // and 10, just as far from 202020, lies exactly 48 outside the box; the box must keep it.
    Palette boxEdge = white;
    boxEdge[0] = Rgb(0x101010), boxEdge[1] = Rgb(0x303030);
    const Palette& game = GamePalette;  // C0C0C0 is 15 from 84 (BBBBBB), 28 from C0DCC0
    const std::tuple<const Palette&, uint32_t, int> cases[] = {
        {ties, 0x646464, 4},  {lowerAbove, 0x646464, 2}, {farTie, 0x070707, 0}, {white, 0, 255},
        {nearlyWhite, 0, 3},  {black, 0xFFFFFF, 255},    {black, 0xFEFFFF, 0},  {boxEdge, 0x202020, 0},
        {game, 0xC0C0C0, 84}, {game, 0x808080, 7}};
    for (const auto& [palette, rgb, expected] : cases) {
        EXPECT_EQ(NearestIndexPlain(palette, rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF), expected) << std::hex << rgb;
        EXPECT_EQ(NearestColourSearch(palette).Nearest(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF), expected)
            << std::hex << rgb;
        EXPECT_EQ(Remapped(palette, rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF), expected) << std::hex << rgb;
    }
    std::vector<uint8_t> game256(256);
    std::iota(game256.begin(), game256.end(), 0);
    RemapToPalette(game256, GamePalette, GamePalette);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(game256[i], (i >= 10 && i <= 15) || (i >= 240 && i <= 245) ? 0
                              : i == 248                                     ? 7
                              : i == 251                                     ? 208
                                                                             : i)
            << i;
}

// The one comparison of the fast search with the plain rule: the game palette's built-in grid,
// and palettes full of ties whose grids are made box by box, each by two threads at once; two
// rounds over more palettes than the search keeps prepared.
TEST(NearestColourSearch, MatchesThePlainRuleOnTheGamePaletteAndOnPalettesFullOfTies) {
    ExpectSearchMatchesPlainRule(GamePalette, 200000, 20240607u, true);
    for (uint32_t seed = 0; seed < 12; ++seed) {
        std::mt19937 random(seed % 6);
        std::vector<PaletteEntry> pool(seed % 6 * 3 + 2);
        for (auto& e : pool) e = Rgb(seed % 2 ? random() & 0x070707 : random());
        Palette palette;
        for (auto& e : palette) e = pool[random() % pool.size()];
        std::thread other([&] { ExpectSearchMatchesPlainRule(palette, 5000, seed); });
        ExpectSearchMatchesPlainRule(palette, 5000, seed + 100);
        other.join();
    }
}
