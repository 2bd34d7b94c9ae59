#pragma once
// The nearest-colour grid of the game palette, made at build time, so that a program's first
// question about a game colour costs no more than its thousandth.

#include "imagefiles/PaletteColumns.h"

namespace modPalettes {

// The candidates of the box (see BoxCandidates.h) holding the colour; components 0 to 255.
ColumnsView GameGridBox(int red, int green, int blue);

}  // namespace modPalettes
