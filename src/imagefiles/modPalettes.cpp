#include "imagefiles/modPalettes.h"

#include "imagefiles/GameColours.h"

namespace modPalettes {

namespace {

// Zero until InitGamePalette fills it; everything else sees it only through the const
// reference below.
Palette gamePaletteStorage{};

}  // namespace

const Palette& GamePalette = gamePaletteStorage;

void InitGamePalette() { gamePaletteStorage = GameColoursAsPalette(); }

}  // namespace modPalettes
