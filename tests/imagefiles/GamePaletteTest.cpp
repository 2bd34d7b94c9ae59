// The game palette, the nearest-colour rule that maps pictures onto it, and the fast search that
// must give exactly the plain rule's index.

#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <thread>
#include "imagefiles/modPalettes.h"

using namespace modPalettes;

namespace {
// The game's colours as RRGGBB, typed independently of the program's own table.
const char* const kTable =  // 32 entries a line
    "000000800000008000808000000080800080008080808080C0DCC05454FC000000000000000000000000000000000000FFEBF3EBC7D3D7A3B3"
    "C38797AF6F7F9B5B638B474F7B3B476F333B632B3357232B4B1B273B171F2F0F17230B0F17070B"
    "73FFDF57E7BF43CF9F2FB7831F9F67138B4F0F773F0B6B37075F2F07532B004727003F2300331B002717001B0F00130BE3EFFFC7DFE7AFCFCB"
    "93B7A77F9F836B87675F6F535F63475B573B534333473B2B3B33232F2B1B231F1317130F0B0B07"
    "FBFBD7DFDFB7C3C39BABAB8393936F77775763634353533343432333331723230F1B1B071717071313000F0F000B0B00FBFBFBEBEBEBDBDBDB"
    "CBCBCBBBBBBBABABAB9B9B9B8B8B8B7B7B7B6B6B6B5B5B5B4B4B4B3B3B3B2B2B2B1F1F1F0F0F0F"
    "EBF3FFCBE3FFAFCFFF97B3FF7B97FF677FFF536BEF3F5BE3334BD7233BCB172FAF0F2797071F7B071763000F47000B2FE3F7FFBFDBE79FBFCF"
    "83A7B76B8FA353778B3F5F732F4B5F273F5723374F1F2F471B273F171F37131B2F0F13270B0F1F"
    "D7EFFFBBE3EF9BCBDF83B7CF6BA3C3538FB33F7BA32F6B97235B871B4B77133F670B3357072747001B37001327000B1BFFE7FFE7C7EBD3ABD7"
    "BB93C3A77BB38F639F774B8F633B7F4F2B6F431F633717572B0F471F073B13002B0B001F070013"
    "D7FFA7ABE77F83D35B67BF3F4BAB2B43972B3787272F771B2B6713235B0F1F4F0B1B43071733000F27000B1B00070F00FFE39FE3C773CBAF53"
    "B3973F9B832F836F236B5B1753470F4B3B0B4333073B2B073723002F1B002713001F0F001B0B00"
    "FFFFA3FBF383F7E367F3D34FEFBB33EFA71BEB8F13E77B0FDF4F07D72300BF1F00A71B009317007B13006313004F0F00FFFF00FFBF00FF8300"
    "FF4700D32B00AB17007F0700570000DFCBFFBB9FDF9B77BF7F579F673B7F4B235F33133F1B071F"
    "D3DBFF879FF7436FEF1747E70B2BBB07178F0007630000377BFF7753DF4F33BF2B1B9F131B7F0B175F07133F000B1F00000000000000000000"
    "000000000000000000FFFBF0A0A0A4808080FF000000FF00FFFF000000FFFF00FF00FFFFFFFFFF";

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

TEST(GamePalette, EveryEntryHoldsItsColourAsBlueGreenRedAndAZeroByte) {
    for (std::size_t i = 0; i < 256; ++i) {
        const auto rgb = std::stoul(std::string(kTable + 6 * i, 6), nullptr, 16);
        const uint8_t bytes[] = {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 0};  // blue, green, red, 0
        EXPECT_EQ(0, std::memcmp(&GamePalette[i], bytes, 4))
            << "entry " << i << " should be " << std::string(kTable + 6 * i, 6);
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
