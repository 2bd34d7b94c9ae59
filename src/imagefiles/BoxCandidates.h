#pragma once
// The nearest-colour grid's rule: which palette entries can be nearest to some colour of one
// box of the colour cube. It runs at build time for the game palette (MakeGameGrid writes the
// table GameGrid.cpp holds) and at run time, box by box, for any other palette.
//
// The colour cube is divided into boxes of Side^3 colours. Each box keeps, in index order,
// every palette entry that can be at the smallest distance from some colour inside the box; a
// query runs the plain rule (start at 255 / 765, strictly nearer wins) over its box's list
// only, so it gets the plain answer whenever the list holds every entry that is nearest, or
// tied for nearest, for that colour.
//
// Why a list holds them: let T = min over all entries e of maxDist(e, B), the farthest any
// colour of the box B can be from e. For a colour q in B and an entry n nearest to it,
// d(q, n) <= d(q, e) <= T for that e, and minDist(n, B) <= d(q, n). So
// {e : minDist(e, B) <= T} holds every nearest entry (all tied ones included) of every colour
// in B.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "imagefiles/PaletteEntry.h"

namespace modPalettes {

// For each index, whether a lower index holds the same colour. Such an entry is never strictly
// nearer than that one, so it can never win; leaving it out keeps lists short for palettes full
// of repeats.
inline std::array<bool, 256> RepeatedColours(const Palette& palette) {
    std::array<uint32_t, 256> keys{};  // colour, then index: equal colours sort by index
    for (std::size_t k = 0; k < palette.size(); ++k)
        keys[k] = (static_cast<uint32_t>(palette[k].Red) << 24) | (static_cast<uint32_t>(palette[k].Green) << 16) |
                  (static_cast<uint32_t>(palette[k].Blue) << 8) | static_cast<uint32_t>(k);
    std::sort(keys.begin(), keys.end());
    std::array<bool, 256> repeated{};
    for (std::size_t i = 1; i < keys.size(); ++i)
        if (keys[i] >> 8 == keys[i - 1] >> 8) repeated[keys[i] & 0xFF] = true;
    return repeated;
}

struct BoxCandidates {
    std::array<uint8_t, 256> Indices{};  // increasing
    std::size_t Count = 0;
};

// A grid of 2^BoxBits boxes per axis. Smaller boxes keep shorter lists, so a question costs
// less, but there are more boxes to make.
template <int BoxBits>
struct BoxGrid {
    static constexpr int kSide = 256 >> BoxBits;
    static constexpr std::size_t kCount = std::size_t{1} << (3 * BoxBits);

    static std::size_t BoxOf(int red, int green, int blue) {
        const int shift = 8 - BoxBits;
        return (static_cast<std::size_t>(red >> shift) << (2 * BoxBits)) |
               (static_cast<std::size_t>(green >> shift) << BoxBits) | static_cast<std::size_t>(blue >> shift);
    }

    // The entries of palette, repeats left out, that can be nearest to some colour of the box.
    static BoxCandidates CandidatesOfBox(const Palette& palette, const std::array<bool, 256>& repeated,
                                         std::size_t box) {
        const int mask = (1 << BoxBits) - 1;
        const int lowRed = static_cast<int>(box >> (2 * BoxBits)) * kSide;
        const int lowGreen = (static_cast<int>(box >> BoxBits) & mask) * kSide;
        const int lowBlue = (static_cast<int>(box) & mask) * kSide;
        int bound = 3 * 255;
        for (const PaletteEntry& e : palette)
            bound = std::min(
                bound, AxisFarthest(e.Red, lowRed) + AxisFarthest(e.Green, lowGreen) + AxisFarthest(e.Blue, lowBlue));
        BoxCandidates kept;
        for (std::size_t k = 0; k < palette.size(); ++k) {
            const PaletteEntry& e = palette[k];
            if (!repeated[k] &&
                AxisNearest(e.Red, lowRed) + AxisNearest(e.Green, lowGreen) + AxisNearest(e.Blue, lowBlue) <= bound)
                kept.Indices[kept.Count++] = static_cast<uint8_t>(k);
        }
        return kept;
    }

private:
    // How far a component can be from the range low .. low + kSide - 1, and how near it comes.
    static int AxisFarthest(int value, int low) { return std::max(value - low, low + kSide - 1 - value); }
    static int AxisNearest(int value, int low) {
        return std::max(low - value, 0) + std::max(value - (low + kSide - 1), 0);
    }
};

// The grid built at run time, box by box, for palettes other than the game's: few boxes, each
// made the first time a colour in it is asked for.
using LazyGrid = BoxGrid<3>;
// The game palette's grid, made at build time: many small boxes, since they cost nothing to make.
using GameGridBoxes = BoxGrid<4>;

}  // namespace modPalettes
