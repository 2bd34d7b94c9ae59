#pragma once
// Palette entries held as columns of 16-bit components, in index order, so that a search over
// them runs on vector registers. Every fast search of the nearest-colour rule ends here: the
// grids' boxes, the remap of a palette and the import's match over the entries it may choose.
// The plain search in NearestIndexPlain stays the definition.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "imagefiles/PaletteEntry.h"

namespace modPalettes {

// Entries are taken in groups of kColumnLanes; a last group that is not full is filled with
// padding entries so far outside the colour cube that no colour is nearer to them than to a
// real entry, and that no box of the grid keeps them.
inline constexpr std::size_t kColumnLanes = 8;
inline constexpr int16_t kColumnPadding = -2048;

// Columns held elsewhere: Groups x kColumnLanes values each, padding included.
struct ColumnsView {
    const int16_t* Red = nullptr;
    const int16_t* Green = nullptr;
    const int16_t* Blue = nullptr;
    const int16_t* Index = nullptr;
    std::size_t Groups = 0;
    // Whether index 255 answers when no entry is nearer than 765, as in the plain rule. Without
    // it (255 is not to be chosen) the lowest index among the farthest answers.
    bool FallsBackTo255 = true;

    // The plain rule over these entries for a colour with components 0 to 255: the lowest
    // index at the smallest sum of absolute differences, or 255 when no entry is nearer than
    // 765. Gives NearestIndexPlain's answer whenever the entries hold every entry nearest to
    // the colour.
    uint8_t Nearest(int red, int green, int blue) const;
};

class PaletteColumns {
public:
    static constexpr std::size_t kLanes = kColumnLanes;

    // The entries of Target with the given indices: at most 256, in increasing index order.
    PaletteColumns(const Palette& Target, std::span<const uint8_t> Indices, bool FallsBackTo255 = true);

    ColumnsView View() const;
    uint8_t Nearest(int red, int green, int blue) const { return View().Nearest(red, green, blue); }

private:
    std::size_t Count() const { return groups_ * kLanes; }

    std::size_t groups_ = 0;
    bool fallsBackTo255_ = true;
    std::vector<int16_t> values_;  // the red, green, blue and index columns one after another
};

}  // namespace modPalettes
