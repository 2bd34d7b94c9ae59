#pragma once
// Fitting a truecolour picture of any size into the 96 x 96 frame.
//
// Reduction averages each output pixel's exact area of the source (a box filter with fractional
// edge weights); enlargement interpolates with Catmull-Rom (a cubic through the samples, clamped
// at the edges). Both work in linear light on colour premultiplied by alpha, one axis at a time.
// An axis whose scaled length equals the source's is copied, and a picture that needs no scaling
// at all passes through byte for byte.

#include <cstdint>

#include "imagefiles/RgbaPicture.h"
#include "import/ImportSettings.h"

namespace import {

// Where the scaled picture lies in the frame: its size and the frame position of its top-left
// pixel, which is negative where the picture is cropped. Centring puts floor(spare / 2) pixels
// (spare = 96 - scaled length, possibly negative) on the left and at the top.
struct Placement {
    int64_t Width = 0;
    int64_t Height = 0;
    int64_t Left = 0;
    int64_t Top = 0;
};

// Contain scales the longer side (cover: the shorter) to exactly 96 and the other side by the
// same factor, rounded to the nearest whole pixel with halves to even, and at least 1. Stretch
// gives 96 x 96, None the picture's own size. Width and height must be positive.
Placement PlacePicture(int64_t width, int64_t height, FitMode fit);

// The picture without its edge rows and columns in which every pixel has alpha 0; an empty
// picture (0 x 0) when no pixel is visible.
imagefiles::RgbaPicture TrimTransparentEdges(const imagefiles::RgbaPicture& picture);

bool HasVisiblePixel(const imagefiles::RgbaPicture& picture);

// The picture scaled and placed as PlacePicture says: a 96 x 96 picture, alpha 0 wherever the
// picture does not reach. The source must have at least one pixel.
imagefiles::RgbaPicture FitToFrame(const imagefiles::RgbaPicture& source, FitMode fit);

}  // namespace import
