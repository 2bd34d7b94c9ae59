#pragma once
// OKLab (Björn Ottosson, 2020): linear sRGB -> LMS -> cube root -> Lab. Euclidean distance in it
// follows perceived colour difference far better than distance in RGB.

#include "import/ImportSettings.h"

namespace import {

struct Oklab {
    float L = 0;
    float A = 0;
    float B = 0;
};

Oklab OklabFromLinear(float red, float green, float blue);
Oklab OklabFromSrgb(Colour colour);

}  // namespace import
