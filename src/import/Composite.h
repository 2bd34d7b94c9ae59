#pragma once
// The fitted picture over its background, in 8-bit sRGB, per channel:
//     out = (c x a + b x (255 - a) + 127) / 255   (integer division)
// so alpha 255 keeps the picture's colour and alpha 0 shows the background's.

#include <cstdint>

#include "imagefiles/RgbaPicture.h"
#include "import/ImportSettings.h"

namespace import {

uint8_t CompositeSample(uint8_t colour, uint8_t alpha, uint8_t background);

// A 96 x 96 opaque frame of one colour.
imagefiles::RgbaPicture SolidFrame(Colour colour);

// A picture made ready to show behind imports: fitted with cover, then over black. The picture
// must have at least one pixel.
imagefiles::RgbaPicture MakeBackgroundFrame(const imagefiles::RgbaPicture& picture);

// Fitted (96 x 96) over background (96 x 96, opaque): a 96 x 96 opaque frame.
imagefiles::RgbaPicture CompositeOver(const imagefiles::RgbaPicture& fitted, const imagefiles::RgbaPicture& background);

}  // namespace import
