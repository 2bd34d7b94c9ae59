#pragma once
// The game's fixed 256-colour palette and the nearest-colour rule that maps pictures onto it.

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "imagefiles/PaletteEntry.h"

namespace modPalettes {

// The game palette. All zero until InitGamePalette has run; read-only afterwards.
extern const Palette& GamePalette;

// Fills GamePalette with the game's 256 colours. Called once at start-up, before the first
// picture set is created.
void InitGamePalette();

// Index of the Target entry nearest to (red, green, blue) by the sum of the absolute
// component differences. Of several entries at the same smallest distance the lowest index
// wins; index 255 is kept only when no entry is closer than 765. This is the plain search
// over all 256 entries that defines the rule.
uint8_t NearestIndexPlain(const Palette& Target, int red, int green, int blue);

// The same rule as NearestIndexPlain, answered faster for many queries against one palette.
// Gives exactly the same index for every colour. Cheap to create: the game palette's grid is
// built in, and any other palette's is shared by every search over it and grows box by box as
// colours are asked for.
class NearestColourSearch {
public:
    explicit NearestColourSearch(const Palette& Target);
    uint8_t Nearest(int red, int green, int blue) const;

private:
    // For a palette other than the game's: the colour cube divided into boxes, with, for each
    // box asked about so far, the few entries that can be nearest to some colour inside it
    // (BoxCandidates.h says why a box's list is enough). Empty for the game palette.
    struct CellIndex;
    std::shared_ptr<const CellIndex> index_;
};

// Rewrites Pixels (indices into SourcePalette) as indices into TargetPalette by the nearest
// colour rule above.
void RemapToPalette(std::span<uint8_t> Pixels, const Palette& SourcePalette, const Palette& TargetPalette);

}  // namespace modPalettes
