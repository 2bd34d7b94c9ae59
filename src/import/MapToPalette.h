#pragma once
// A 96 x 96 opaque truecolour frame onto a 256-colour palette: by the nearest-entry rule alone, or
// with Floyd-Steinberg error diffusion, and how far the result is from the frame.

#include <bitset>
#include <optional>

#include "imagefiles/FileFailure.h"
#include "imagefiles/PaletteEntry.h"
#include "imagefiles/RgbaPicture.h"
#include "import/ImportSettings.h"

namespace import {

struct MappedFrame {
    Picture Indices{};
    ConversionReport Report;
};

// Whether every pixel of frame is exactly the colour of an entry that is not avoided. If not, Why
// names the first pixel that is not, row by row from the top left: "pixel x,y is #RRGGBB".
bool CheckExactColours(const imagefiles::RgbaPicture& frame, const Palette& palette, const std::bitset<256>& avoid,
                       imagefiles::FileFailure* Why);

// Maps frame (96 x 96; alpha is ignored) onto palette. At least one entry must be allowed.
//
// Dithering diffuses each pixel's error in linear light, 7/16 ahead, 3/16, 5/16 and 1/16 to the row
// below, over serpentine rows (left to right on even rows, right to left on odd ones); the colour
// asked of the rule is the pixel plus its diffused error, held to the colour cube and rounded to
// 8-bit sRGB. Error that would leave the frame is dropped. A pixel that is exactly an allowed entry's
// colour, with no error reaching it, keeps its colour, so a frame of game colours comes through
// unchanged. The report compares each chosen entry with the frame's own pixel.
MappedFrame MapToPalette(const imagefiles::RgbaPicture& frame, const Palette& palette, MatchRule rule,
                         DitherMode dither, const std::bitset<256>& avoid);

}  // namespace import
